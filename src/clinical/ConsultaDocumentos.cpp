#include "ConsultaDocumentos.h"
#include "DocumentModel.h"
#include "core/CodeTexts.h"
#include "core/ErrorTranslator.h"
#include "core/Services.h"
#include "core/Session.h"
#include "core/U_dm.h"
#include "core/db/BrFormat.h"
#include "core/db/Dataset.h"
#include "core/db/Engine.h"
#include <QComboBox>
#include <QPushButton>
#include <QRegularExpression>

namespace {

QString text(const dv::Cursor& c, int column) {
    const QByteArrayView v = c.utf8(column);
    return QString::fromUtf8(v.data(), v.size()).trimmed();
}

QString joined(const QStringList& parts, const QString& separator) {
    QStringList kept;
    for (const QString& p : parts)
        if (!p.trimmed().isEmpty()) kept << p.trimmed();
    return kept.join(separator);
}

QString punctuatedCpf(const QString& cpf) {
    if (cpf.size() != 11 || !cpf.contains(QRegularExpression(QStringLiteral("^[0-9]{11}$")))) return cpf;
    return cpf.left(3) + QLatin1Char('.') + cpf.mid(3, 3) + QLatin1Char('.') + cpf.mid(6, 3) +
           QLatin1Char('-') + cpf.right(2);
}

} // namespace

ConsultaDocumentos::ConsultaDocumentos(dv::Dataset* documents, std::function<dv::Dataset*()> consultation,
                                       QComboBox* models, QPushButton* add, QObject* parent)
    : QObject(parent), m_documents(documents), m_consultation(std::move(consultation)), m_models(models) {
    setObjectName(QStringLiteral("ConsultaDocumentos"));
    connect(add, &QPushButton::clicked, this, [this] { dv::guarded([this] { addFromModel(); }); });
    loadModels();
}

void ConsultaDocumentos::loadModels() {
    m_models->clear();
    auto c = dm().ADOConexao()->query(
        QStringLiteral("select modelo_id, modelo_nome from documento_modelo order by modelo_nome"));
    while (c->next())
        m_models->addItem(text(*c, 1), c->integer(0));
}

QHash<QString, QString> ConsultaDocumentos::values() const {
    QHash<QString, QString> v;
    dv::Connection& db = *dm().ADOConexao();
    dv::Dataset* consultation = m_consultation();
    auto field = [consultation](const char* name) {
        const dv::Field* f = consultation && consultation->isActive() && !consultation->isEmpty()
                                 ? consultation->findField(QLatin1String(name))
                                 : nullptr;
        return f ? f->asVariant() : QVariant();
    };
    const QDateTime now = dv::services().clock().now();
    v[QStringLiteral("data")] = now.date().toString(QStringLiteral("dd/MM/yyyy"));
    v[QStringLiteral("hora")] = now.time().toString(QStringLiteral("hh:mm"));

    auto patient =
        db.query(QStringLiteral("select paciente_nome, paciente_cpf, paciente_rg, paciente_endereco, "
                                "paciente_numero, paciente_bairro, paciente_cidade, uf_id from paciente "
                                "where paciente_id = :id"),
                 {{QStringLiteral("id"), dv::ParamType::Integer, field("paciente_id")}});
    if (patient->next()) {
        v[QStringLiteral("paciente")] = text(*patient, 0);
        v[QStringLiteral("cpf")] = punctuatedCpf(text(*patient, 1));
        v[QStringLiteral("rg")] = text(*patient, 2);
        v[QStringLiteral("endereco_paciente")] =
            joined({joined({text(*patient, 3), text(*patient, 4)}, QStringLiteral(", ")), text(*patient, 5),
                    joined({text(*patient, 6), text(*patient, 7)}, QStringLiteral("/"))},
                   QStringLiteral(" - "));
    }
    auto dentist =
        db.query(QStringLiteral("select dentista_nome, dentista_cro from dentista where dentista_id = :id"),
                 {{QStringLiteral("id"), dv::ParamType::Integer, field("dentista_id")}});
    if (dentist->next()) {
        v[QStringLiteral("dentista")] = text(*dentist, 0);
        v[QStringLiteral("cro")] = text(*dentist, 1);
    }
    if (dv::Dataset* company = dm().SQL_Empresa; company && company->isActive() && !company->isEmpty()) {
        auto c = [company](const char* name) {
            return company->fieldByName(QLatin1String(name))->asString();
        };
        v[QStringLiteral("clinica")] = c("empresa_nome").trimmed();
        v[QStringLiteral("cidade")] = c("empresa_cidade").trimmed();
        v[QStringLiteral("endereco")] =
            joined({joined({c("empresa_endereco"), c("empresa_numero")}, QStringLiteral(", ")),
                    c("empresa_bairro"), joined({c("empresa_cidade"), c("empresa_uf")}, QStringLiteral("/"))},
                   QStringLiteral(" - "));
    }
    const QVariant total = field("consulta_valor");
    v[QStringLiteral("total")] = dv::br::formatMoney(
        total.isValid() && !total.isNull() ? total.value<dv::Currency>() : dv::Currency());

    QStringList plan;
    auto installments = db.query(
        QStringLiteral("select parcela_numero, parcela_vencimento, parcela_valor_liquido from parcela where "
                       "consulta_id = :id order by parcela_numero"),
        {{QStringLiteral("id"), dv::ParamType::Integer, field("consulta_id")}});
    while (installments->next()) {
        const QDate due = installments->isNull(1) ? QDate() : installments->dateTime(1).date();
        plan << QStringLiteral("%1ª parcela de %2")
                        .arg(installments->integer(0))
                        .arg(dv::br::formatMoney(installments->currency(2))) +
                    (due.isValid() ? QStringLiteral(" em ") + due.toString(QStringLiteral("dd/MM/yyyy"))
                                   : QString());
    }
    v[QStringLiteral("parcelas")] =
        plan.isEmpty() ? QStringLiteral("pagamento à vista") : plan.join(QStringLiteral("; "));
    return v;
}

void ConsultaDocumentos::addFromModel() {
    if (m_models->currentIndex() < 0) {
        dv::services().dialogs().information(dv::text("Escolha o modelo do documento."));
        return;
    }
    auto model = dm().ADOConexao()->query(
        QStringLiteral("select modelo_nome, modelo_texto from documento_modelo where modelo_id = :id"),
        {{QStringLiteral("id"), dv::ParamType::Integer, m_models->currentData()}});
    if (!model->next()) {
        loadModels();
        dv::services().dialogs().information(dv::text("O modelo escolhido não existe mais."));
        return;
    }
    const QString name = text(*model, 0),
                  body = QString::fromUtf8(model->utf8(1).data(), model->utf8(1).size());
    m_documents->checkBrowseMode();
    m_documents->append();
    m_documents->fieldByName(QStringLiteral("doc_nome"))->setAsString(name.left(50));
    m_documents->fieldByName(QStringLiteral("doc_texto"))->setAsString(fillDocumentModel(body, values()));
    if (dv::Field* user = m_documents->findField(QStringLiteral("doc_usuario")))
        user->setAsString(dv::session().userLogin().left(30));
}

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
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextCursor>

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

ConsultaDocumentos::ConsultaDocumentos(dv::Dataset* documents, std::function<DocumentSubject()> subject,
                                       QWidget* page, QObject* parent)
    : QObject(parent), m_documents(documents), m_subject(std::move(subject)),
      m_models(page->findChild<QComboBox*>(QStringLiteral("cmbModelo"))),
      m_medicines(page->findChild<QComboBox*>(QStringLiteral("cmbMedicamento"))),
      m_cid(page->findChild<QLineEdit*>(QStringLiteral("edtCid"))),
      m_cidConsent(page->findChild<QCheckBox*>(QStringLiteral("chkCid"))),
      m_text(page->findChild<QPlainTextEdit*>(QStringLiteral("DBMemoDocTexto"))) {
    setObjectName(QStringLiteral("ConsultaDocumentos"));
    connect(page->findChild<QPushButton*>(QStringLiteral("btnModelo")), &QPushButton::clicked, this,
            [this] { dv::guarded([this] { addFromModel(); }); });
    connect(page->findChild<QPushButton*>(QStringLiteral("btnMedicamento")), &QPushButton::clicked, this,
            [this] { dv::guarded([this] { addMedicine(); }); });
    loadModels();
}

void ConsultaDocumentos::loadModels() {
    m_models->clear();
    auto c = dm().ADOConexao()->query(
        QStringLiteral("select modelo_id, modelo_nome from documento_modelo order by modelo_nome"));
    while (c->next())
        m_models->addItem(text(*c, 1), c->integer(0));
    m_medicines->clear();
    auto m = dm().ADOConexao()->query(
        QStringLiteral("select medicamento_id, medicamento_nome, medicamento_dosagem from medicamento order "
                       "by medicamento_nome"));
    while (m->next())
        m_medicines->addItem(joined({text(*m, 1), text(*m, 2)}, QStringLiteral(" - ")), m->integer(0));
}

QHash<QString, QString> ConsultaDocumentos::values() const {
    QHash<QString, QString> v;
    dv::Connection& db = *dm().ADOConexao();
    const DocumentSubject subject = m_subject();
    const QDateTime now = dv::services().clock().now();
    v[QStringLiteral("data")] = now.date().toString(QStringLiteral("dd/MM/yyyy"));
    v[QStringLiteral("hora")] = now.time().toString(QStringLiteral("hh:mm"));
    v[QStringLiteral("medicamentos")] = QString(); // picked one by one, where the first one stood

    auto patient =
        db.query(QStringLiteral("select paciente_nome, paciente_cpf, paciente_rg, paciente_endereco, "
                                "paciente_numero, paciente_bairro, paciente_cidade, uf_id from paciente "
                                "where paciente_id = :id"),
                 {{QStringLiteral("id"), dv::ParamType::Integer, subject.patient}});
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
                 {{QStringLiteral("id"), dv::ParamType::Integer, subject.dentist}});
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
    const QVariant total = subject.total;
    v[QStringLiteral("total")] = dv::br::formatMoney(
        total.isValid() && !total.isNull() ? total.value<dv::Currency>() : dv::Currency());

    QStringList plan;
    auto installments = db.query(
        QStringLiteral("select parcela_numero, parcela_vencimento, parcela_valor_liquido from parcela where "
                       "consulta_id = :id order by parcela_numero"),
        {{QStringLiteral("id"), dv::ParamType::Integer, subject.consultation}});
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
    QString name = text(*model, 0);
    QString body = QString::fromUtf8(model->utf8(1).data(), model->utf8(1).size());
    QHash<QString, QString> v = values();
    // The disease code goes on paper only with the patient's consent; without it what
    // would carry it (and the title that announces it) is left out of the stored text.
    const QString cid = m_cid->text().trimmed().toUpper();
    if (m_cidConsent->isChecked())
        v[QStringLiteral("cid")] = cid.isEmpty() ? QStringLiteral("______") : cid;
    else if (body.contains(QStringLiteral("{cid}"), Qt::CaseInsensitive)) {
        body = withoutFieldParagraphs(body, QStringLiteral("cid"));
        name.remove(QRegularExpression(QStringLiteral("\\s+com\\s+CID\\b"),
                                       QRegularExpression::CaseInsensitiveOption));
    }
    const FilledDocument filled = fillDocumentModelAt(body, v);
    m_documents->checkBrowseMode();
    m_documents->append();
    m_documents->fieldByName(QStringLiteral("doc_nome"))->setAsString(name.left(50));
    m_documents->fieldByName(QStringLiteral("doc_texto"))->setAsString(filled.text);
    QTextCursor at = m_text->textCursor();
    at.setPosition(filled.medicinesAt >= 0 ? int(filled.medicinesAt) : int(m_text->toPlainText().size()));
    m_text->setTextCursor(at);
    m_text->setFocus(); // ready to type where the prescription goes
}

void ConsultaDocumentos::addMedicine() {
    if (m_medicines->currentIndex() < 0) {
        dv::services().dialogs().information(dv::text("Escolha o medicamento."));
        return;
    }
    if (!m_documents->isActive() || (m_documents->isEmpty() && !m_documents->isEditing())) {
        dv::services().dialogs().information(
            dv::text("Crie primeiro a receita: escolha o modelo e clique em \"Novo do modelo\"."));
        return;
    }
    auto m = dm().ADOConexao()->query(
        QStringLiteral("select medicamento_nome, medicamento_dosagem, medicamento_posologia from medicamento "
                       "where medicamento_id = :id"),
        {{QStringLiteral("id"), dv::ParamType::Integer, m_medicines->currentData()}});
    if (!m->next()) {
        loadModels();
        dv::services().dialogs().information(dv::text("O medicamento escolhido não existe mais."));
        return;
    }
    QTextCursor at = m_text->textCursor();
    // A memo never clicked into has its cursor at the start: add below what is written.
    if (at.position() == 0 && !m_text->toPlainText().isEmpty()) at.movePosition(QTextCursor::End);
    if (at.position() > 0 && m_text->toPlainText().at(at.position() - 1) != QLatin1Char('\n'))
        at.insertText(QStringLiteral("\n"));
    at.insertText(prescriptionLine(nextPrescriptionNumber(m_text->toPlainText()), text(*m, 0), text(*m, 1),
                                   text(*m, 2)));
    m_text->setTextCursor(at);
    m_text->setFocus();
}

#include "PatientDataExport.h"
#include "PatientDataSummary.h"
#include "core/CodeTexts.h"
#include "core/Services.h"
#include "core/Session.h"
#include "core/U_dm.h"
#include "core/db/DbErrors.h"
#include "core/db/Engine.h"
#include "reporting/PdfFileReportOutput.h"
#include "reporting/ReportError.h"
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

namespace dv {

namespace {

struct Source {
    const char* name;              // the key in the export: the table's name
    const char* sql;               // every row of it about :paciente_id
    const char* picture = nullptr; // a picture column written as a file
};

// Each table that holds something about a patient, by its own column or its consultation's.
const Source kSources[] = {
    {"paciente", "select * from paciente where paciente_id = :paciente_id", "paciente_foto"},
    {"anamnese_paciente",
     "select anamnese_paciente.*, anamnese.anamnese_nome from anamnese_paciente left join anamnese on "
     "anamnese.anamnese_id = anamnese_paciente.anamnese_id where anamnese_paciente.paciente_id = "
     ":paciente_id "
     "order by anamnese.anamnese_ordem, anamnese_paciente.anamnese_id"},
    {"foto", "select * from foto where paciente_id = :paciente_id order by foto_id", "foto_img"},
    {"consulta", "select * from consulta where paciente_id = :paciente_id order by consulta_id"},
    {"item_consulta",
     "select item_consulta.* from item_consulta inner join consulta on consulta.consulta_id = "
     "item_consulta.consulta_id where consulta.paciente_id = :paciente_id order by "
     "item_consulta.item_consulta_id"},
    {"documento",
     "select * from documento where paciente_id = :paciente_id or consulta_id in (select consulta_id from "
     "consulta where paciente_id = :paciente_id) order by doc_id"},
    {"parcela",
     "select * from parcela where paciente_id = :paciente_id or consulta_id in (select consulta_id from "
     "consulta where paciente_id = :paciente_id) order by parcela_id"},
    {"agenda", "select * from agenda where paciente_id = :paciente_id order by agenda_id"},
    {"retorno_tentativa",
     "select * from retorno_tentativa where paciente_id = :paciente_id order by tentativa_id"},
    {"paciente_consentimento",
     "select * from paciente_consentimento where paciente_id = :paciente_id order by consentimento_id"},
    {"paciente_exportacao",
     "select * from paciente_exportacao where paciente_id = :paciente_id order by exportacao_id"},
    {"auditoria",
     "select auditoria_id, auditoria_data, auditoria_estacao, auditoria_usuario, auditoria_tabela, "
     "auditoria_chave, auditoria_acao, auditoria_antes, auditoria_depois from auditoria where "
     "auditoria_paciente = :paciente_id order by auditoria_id"},
};

QString pictureFile(const QString& table, qint64 key) {
    return QStringLiteral("fotos/%1_%2.jpg").arg(table).arg(key);
}

QJsonValue jsonValue(Cursor& c, int i, FieldType type) {
    if (c.isNull(i)) return QJsonValue::Null;
    switch (type) {
    case FieldType::Integer:
    case FieldType::AutoInc:
    case FieldType::LargeInt:
        return QJsonValue(c.integer(i));
    case FieldType::Float:
        return QJsonValue(c.real(i));
    case FieldType::Currency:
        return QJsonValue(c.currency(i).toPlainString());
    case FieldType::DateTime:
        return QJsonValue(c.dateTime(i).toString(Qt::ISODate));
    default:
        return QJsonValue(QString::fromUtf8(c.utf8(i)));
    }
}

// The rows of one source; the pictures go to `pictures` (file name -> bytes).
QJsonArray rowsOf(const Source& s, qint64 patient, QMap<QString, QByteArray>* pictures) {
    auto cur = dm().ADOConexao()->query(QString::fromLatin1(s.sql),
                                        {{QStringLiteral("paciente_id"), ParamType::Integer, patient}});
    const QList<ColumnInfo> columns = cur->columns();
    QJsonArray rows;
    while (cur->next()) {
        QJsonObject row;
        for (int i = 0; i < columns.size(); ++i) {
            const QString name = columns[i].name.toLower();
            if (s.picture && name == QLatin1String(s.picture)) {
                if (cur->isNull(i)) {
                    row.insert(name, QJsonValue::Null);
                    continue;
                }
                const QString file = pictureFile(QString::fromLatin1(s.name), cur->integer(0));
                if (pictures) pictures->insert(file, cur->blob(i));
                row.insert(name, file);
                continue;
            }
            row.insert(name, jsonValue(*cur, i, columns[i].type));
        }
        rows.append(row);
    }
    return rows;
}

QJsonObject collect(qint64 patient, QMap<QString, QByteArray>* pictures) {
    QJsonObject tables;
    for (const Source& s : kSources)
        tables.insert(QString::fromLatin1(s.name), rowsOf(s, patient, pictures));
    QJsonObject out;
    out.insert(QStringLiteral("formato"), QStringLiteral("Dentrivale - dados do paciente"));
    out.insert(QStringLiteral("paciente_id"), patient);
    out.insert(QStringLiteral("gerado_em"), services().clock().now().toString(Qt::ISODate));
    out.insert(QStringLiteral("tabelas"), tables);
    return out;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw PlainError(QStringLiteral("Não foi possível gravar o arquivo %1: %2")
                             .arg(QDir::toNativeSeparators(path), file.errorString()));
}

} // namespace

QJsonObject patientDataJson(qint64 patient) {
    return collect(patient, nullptr);
}

QString exportPatientData(qint64 patient, const QString& folder) {
    QMap<QString, QByteArray> pictures;
    const QJsonObject data = collect(patient, &pictures);
    const QJsonArray record =
        data.value(QStringLiteral("tabelas")).toObject().value(QStringLiteral("paciente")).toArray();
    if (record.isEmpty()) throw PlainError(QStringLiteral("Paciente %1 não encontrado.").arg(patient));

    const QDir base(folder);
    const QString name = QStringLiteral("Paciente_%1_%2")
                             .arg(patient)
                             .arg(services().clock().now().toString(QStringLiteral("yyyyMMdd_HHmmss")));
    if (folder.trimmed().isEmpty() || !base.exists() || !base.mkpath(name + QStringLiteral("/fotos")))
        throw PlainError(
            QStringLiteral("Não foi possível criar a pasta %1. Escolha uma pasta onde você possa "
                           "gravar.")
                .arg(QDir::toNativeSeparators(base.filePath(name))));
    const QString target = base.filePath(name);
    try {
        writeFile(target + QStringLiteral("/dados.json"),
                  QJsonDocument(data).toJson(QJsonDocument::Indented));
        for (auto it = pictures.cbegin(); it != pictures.cend(); ++it)
            writeFile(target + QLatin1Char('/') + it.key(), it.value());
        try {
            PdfFileReportOutput::write(patientDataSummary(data), target + QStringLiteral("/resumo.pdf"));
        } catch (const ReportError& e) {
            throw PlainError(e.message());
        }
        // Who exported whom, and when: the trail's triggers record this row.
        dm().ADOConexao()->execute(
            QStringLiteral(
                "insert into paciente_exportacao (paciente_id, exportacao_data, exportacao_usuario, "
                "exportacao_pasta) values (:paciente_id, :data, :usuario, :pasta)"),
            {{QStringLiteral("paciente_id"), ParamType::Integer, patient},
             {QStringLiteral("data"), ParamType::DateTime, services().clock().now()},
             {QStringLiteral("usuario"), ParamType::Text, session().userLogin().left(30)},
             {QStringLiteral("pasta"), ParamType::Text, QDir::toNativeSeparators(target).right(255)}});
    } catch (...) {
        QDir(target).removeRecursively();
        throw;
    }
    return target;
}

bool exportPatientDataAsked(qint64 patient) {
    FileDialogRequest request;
    request.caption = dv::text("Exportar dados do paciente");
    const QString folder = services().fileDialogs().chooseFolder(request);
    if (folder.isEmpty()) return false;
    try {
        const QString target = exportPatientData(patient, folder);
        services().dialogs().information(
            dv::text("Dados do paciente exportados para %1").arg(QDir::toNativeSeparators(target)));
        return true;
    } catch (const PlainError& e) {
        services().dialogs().warning(e.message());
        return false;
    }
}

} // namespace dv

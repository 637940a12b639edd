#pragma once
// The data module on a fresh application folder, with helpers to put patients and
// consultations into its database, make the datasets the screens would register,
// and read back the PDF a report was written to.
#include "AppFolder.h"
#include "ScriptedServices.h"
#include "core/Session.h"
#include "core/U_dm.h"
#include "core/db/Dataset.h"
#include "reporting/PdfFileReportOutput.h"
#include "reporting/ReportConnections.h"
#include "reporting/ReportDocument.h"
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace dv::test {

struct PatientRow {
    QString name;
    QString city = QStringLiteral("Taubaté");
    QDate birth = QDate(1980, 5, 20);
    QString active = QStringLiteral("S");
    QString cpf = QStringLiteral("12345678909");
};

class ReportFixture {
public:
    ReportFixture() {
        session().reset();
        m_dm = std::make_unique<Tdm>(m_folder.path());
        reportConnections().clear();
    }
    ~ReportFixture() {
        reportConnections().clear();
        m_dm.reset();
    }

    Connection& db() { return *dm().ADOConexao(); }
    const AppFolder& folder() const { return m_folder; }
    QString pdfPath(const QString& name = QStringLiteral("report.pdf")) const { return m_out.filePath(name); }

    void clearClinic() {
        db().execute(QStringLiteral("delete from item_consulta"));
        db().execute(QStringLiteral("delete from parcela"));
        db().execute(QStringLiteral("delete from documento"));
        db().execute(QStringLiteral("delete from consulta"));
        db().execute(QStringLiteral("delete from anamnese_paciente"));
        db().execute(QStringLiteral("delete from foto"));
        db().execute(QStringLiteral("delete from paciente"));
    }

    qint64 addPatient(const PatientRow& p) {
        return db().insert(
            QStringLiteral(
                "insert into paciente (paciente_nome, paciente_cidade, uf_id, paciente_data_nascimento, "
                "paciente_ativo, paciente_cpf, paciente_endereco, paciente_numero, paciente_bairro, "
                "paciente_cep, paciente_fone) values (:n, :c, 'SP', :b, :a, :cpf, 'Rua das Flores', "
                "'12', 'Centro', '12020000', '(12)3621-0000')"),
            {{QStringLiteral("n"), ParamType::Text, p.name},
             {QStringLiteral("c"), ParamType::Text, p.city},
             {QStringLiteral("b"), ParamType::DateTime,
              p.birth.isValid() ? QVariant(QDateTime(p.birth, QTime(0, 0))) : QVariant()},
             {QStringLiteral("a"), ParamType::Text, p.active},
             {QStringLiteral("cpf"), ParamType::Text, p.cpf}},
            QStringLiteral("paciente_id"));
    }

    // A screen's dataset, owned by the fixture's screen stand-in.
    Dataset* dataset(const QString& name, const QString& sql) {
        auto* d = new Dataset(dm().ADOConexao(), name, m_screen.get());
        d->setSql(sql);
        return d;
    }
    QObject* screen() const { return m_screen.get(); }
    // Destroys the stand-in screen with its datasets.
    void closeScreen() { m_screen = std::make_unique<QObject>(); }

    static QString pdfText(const QString& file, bool layout = false) {
        QProcess p;
        QStringList args;
        if (layout) args << QStringLiteral("-layout");
        args << file << QStringLiteral("-");
        p.start(QStringLiteral("pdftotext"), args);
        p.waitForFinished(30000);
        return QString::fromUtf8(p.readAllStandardOutput());
    }
    // The object number of each picture drawn, page after page: a picture drawn twice
    // from one object shows its number twice.
    static QStringList pdfImageObjects(const QString& file) {
        QProcess p;
        p.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), file});
        p.waitForFinished(30000);
        QStringList lines =
            QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QStringList objects;
        for (const QString& line : lines.mid(2))
            objects << line.split(QLatin1Char(' '), Qt::SkipEmptyParts).value(10);
        return objects;
    }
    // Every text the layout placed, sheet after sheet.
    static QStringList texts(const ReportDocument& doc) {
        QStringList out;
        for (int i = 0; i < doc.pageCount(); ++i)
            for (const ReportDocument::Op& op : doc.sheet(i).ops)
                if (op.kind == ReportDocument::Op::Text) out.append(op.text);
        return out;
    }

    ScriptedServices services;

private:
    AppFolder m_folder;
    QTemporaryDir m_out;
    std::unique_ptr<Tdm> m_dm;
    std::unique_ptr<QObject> m_screen = std::make_unique<QObject>();
};

} // namespace dv::test

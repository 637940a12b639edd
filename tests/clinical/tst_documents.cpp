// The clinic's documents: the models the administrator keeps, the medicines picked into
// prescriptions, the two copies of a "controle especial" prescription, the certificate's
// CID only with consent, and documents from the patient record, printed again as first.
#include "../reporting/ReportFixture.h"
#include "ClinicalFixture.h"
#include "clinical/DocumentModel.h"
#include "clinical/U_frmConsulta.h"
#include "clinical/U_frmConsulta_Manut.h"
#include "clinical/U_frmDocumentoModelo.h"
#include "clinical/U_frmDocumentoModelo_Manut.h"
#include "clinical/U_frmPaciente_Documentos.h"
#include "framework/U_frmRelatorio.h"
#include "reporting/PdfFileReportOutput.h"
#include "reporting/ReportOutput.h"
#include "toolkit/DBMemo.h"
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

using namespace dv;
using namespace dv::test;

namespace {

// Maria, seen by Dra. Helena in a consultation; Dr. Rui is the logged user's own record.
const QStringList kClinic = {
    "insert into dentista (dentista_id, dentista_nome, dentista_cro, dentista_ativo) "
    "values (901, 'Dra. Helena Prado', 'SP-45678', 'S')",
    "insert into dentista (dentista_id, dentista_nome, dentista_cro, dentista_ativo) "
    "values (902, 'Dr. Rui Campos', 'SP-11223', 'S')",
    "insert into paciente (paciente_id, paciente_nome, paciente_cpf, convenio_id, paciente_ativo) "
    "values (801, 'Maria da Conceição', '12345678909', 1, 'S')",
    "insert into consulta (consulta_id, paciente_id, dentista_id, consulta_data, consulta_aprovado, "
    "forma_pagamento_id, consulta_valor) values (7101, 801, 901, '2026-01-05 00:00:00', 'S', 1, 10000000)",
};

LoggedIn& clinic() {
    return sharedApp(QStringLiteral("documents"), clinicalOptions, kClinic);
}

QString clinicName(LoggedIn& app) {
    return scalar(app, QStringLiteral("select empresa_nome from empresa")).toString().trimmed();
}

// Pages of a PDF's text.
QStringList pages(const QString& pdf) {
    QStringList out = ReportFixture::pdfText(pdf, true).split(QLatin1Char('\f'));
    while (!out.isEmpty() && out.last().trimmed().isEmpty())
        out.removeLast();
    return out;
}

void choose(QComboBox* box, const QString& text) {
    const int at = box->findText(text, Qt::MatchStartsWith);
    QVERIFY2(at >= 0, qPrintable(text));
    box->setCurrentIndex(at);
}

template <class T> T* child(QWidget* w, const char* name) {
    return w->findChild<T*>(QLatin1String(name));
}

// Runs the work on the documents tab of the consultation.
bool withConsultationDocuments(LoggedIn& app, const std::function<void(TfrmConsulta_Manut*)>& work) {
    app.opener().open(QStringLiteral("frmConsulta"), {{QStringLiteral("paciente_id"), 801}});
    auto* list = qobject_cast<TfrmConsulta*>(app.opener().openScreen(QStringLiteral("frmConsulta")));
    if (!list || !list->SQL_Consulta->locate(QStringLiteral("consulta_id"), 7101)) return false;
    return inModal<TfrmConsulta_Manut>([list] { list->btnEditarClick(); },
                                       [&](TfrmConsulta_Manut* r) {
                                           r->PageControl1->setCurrentWidget(r->TabSheet4);
                                           work(r);
                                       });
}

bool withPatientDocuments(LoggedIn& app, const std::function<void(TfrmPaciente_Documentos*)>& work) {
    return inModal<TfrmPaciente_Documentos>(
        [&app] {
            app.opener().open(QStringLiteral("frmPaciente_Documentos"),
                              {{QStringLiteral("paciente_id"), 801}});
        },
        work);
}

struct PdfOut {
    QTemporaryDir dir;
    PdfFileReportOutput pdf{dir.filePath(QStringLiteral("documento.pdf"))};
    PdfOut() { setReportOutput(&pdf); }
    ~PdfOut() { setReportOutput(nullptr); }
    QString file() const { return pdf.fileName(); }
};

} // namespace

class TestDocuments : public QObject {
    Q_OBJECT

private slots:
    void cleanupTestCase() { stopSharedApp(); }

    void modelFields() {
        QCOMPARE(unknownDocumentFields(QStringLiteral("{Paciente} {pacinete} {cid}{x} {x} {medicamentos}")),
                 (QStringList{"{pacinete}", "{x}"}));
        QCOMPARE(withoutFieldParagraphs(QStringLiteral("a\n\nCID: {cid} ok\nAssinatura\n \nb\nc"),
                                        QStringLiteral("cid")),
                 QStringLiteral("a\n\nb\nc"));
        const FilledDocument filled =
            fillDocumentModelAt(QStringLiteral("{paciente}:\n{medicamentos}\nfim {paciente}"),
                                {{QStringLiteral("paciente"), QStringLiteral("Maria")}});
        QCOMPARE(filled.text, QStringLiteral("Maria:\n\nfim Maria"));
        QCOMPARE(filled.medicinesAt, 7);
        QCOMPARE(nextPrescriptionNumber(QStringLiteral("Uso oral:\n1. A\n   x\n2. B\n")), 3);
    }

    // A misspelt field is refused on saving and nothing is stored; a field from the list
    // beside the text is taken.
    void modelScreenRefusesAnUnknownField() {
        LoggedIn& app = clinic();
        const QString before = scalar(app, QStringLiteral("select modelo_texto from documento_modelo "
                                                          "where modelo_nome = 'Atestado'"))
                                   .toString();
        app.opener().open(QStringLiteral("frmDocumentoModelo"));
        auto* list =
            qobject_cast<TfrmDocumentoModelo*>(app.opener().openScreen(QStringLiteral("frmDocumentoModelo")));
        QVERIFY(list);
        QVERIFY(list->SQL_Consulta->locate(QStringLiteral("modelo_nome"), QStringLiteral("Atestado")));
        app.s.dialogs.clearMessages();
        QVERIFY(inModal<TfrmDocumentoModelo_Manut>([list] { list->btnEditarClick(); },
                                                   [&](TfrmDocumentoModelo_Manut* m) {
                                                       QVERIFY(m->lstCampos->count() >= 13);
                                                       m->DBMemo1->moveCursor(QTextCursor::End);
                                                       m->DBMemo1->insertPlainText(
                                                           QStringLiteral(" {pacinete}"));
                                                       QTest::mouseClick(m->BitBtn1, Qt::LeftButton);
                                                       QVERIFY(m->isVisible());
                                                       app.s.dialogs.queueQuestion(DialogService::Answer::No);
                                                   }));
        const QStringList warnings = app.s.dialogs.texts(ScriptedDialogs::Kind::Warning);
        QCOMPARE(warnings.size(), 1);
        QVERIFY2(warnings.first().contains(QStringLiteral("{pacinete}")), qPrintable(warnings.first()));
        QCOMPARE(scalar(app, QStringLiteral(
                                 "select modelo_texto from documento_modelo where modelo_nome = 'Atestado'"))
                     .toString(),
                 before);

        QVERIFY(list->SQL_Consulta->locate(QStringLiteral("modelo_nome"), QStringLiteral("Atestado")));
        QVERIFY(inModal<TfrmDocumentoModelo_Manut>(
            [list] { list->btnEditarClick(); },
            [&](TfrmDocumentoModelo_Manut* m) {
                m->DBMemo1->moveCursor(QTextCursor::End);
                m->DBMemo1->insertPlainText(QStringLiteral("\nCID: "));
                m->lstCampos->setCurrentItem(
                    m->lstCampos->findItems(QStringLiteral("{cid}"), Qt::MatchExactly).value(0));
                QTest::mouseClick(m->btnCampo, Qt::LeftButton);
                app.s.dialogs.queueConfirmation(true);

                QTest::mouseClick(m->BitBtn1, Qt::LeftButton);
            }));
        QCOMPARE(scalar(app, QStringLiteral(
                                 "select modelo_texto from documento_modelo where modelo_nome = 'Atestado'"))
                     .toString(),
                 before + QStringLiteral("\nCID: {cid}"));
        app.db().execute(
            QStringLiteral("update documento_modelo set modelo_texto = :t where modelo_nome = 'Atestado'"),
            {{QStringLiteral("t"), ParamType::Text, before}});
        list->close();
    }

    // What a field writes is told in the interface language, not in Portuguese.
    void modelFieldsAreDescribedInTheInterfaceLanguage() {
        LoggedIn& app = clinic();
        app.opener().open(QStringLiteral("frmDocumentoModelo"));
        auto* list =
            qobject_cast<TfrmDocumentoModelo*>(app.opener().openScreen(QStringLiteral("frmDocumentoModelo")));
        QVERIFY(list);
        session().setLanguage(QStringLiteral("es"));
        auto back = qScopeGuard([] { session().setLanguage(QStringLiteral("pt_BR")); });
        QStringList described;
        QVERIFY(inModal<TfrmDocumentoModelo_Manut>(
            [list] { list->btnEditarClick(); },
            [&](TfrmDocumentoModelo_Manut* m) {
                for (const char* field : {"{paciente}", "{cid}"}) {
                    const auto items = m->lstCampos->findItems(QLatin1String(field), Qt::MatchExactly);
                    described << (items.isEmpty() ? QStringLiteral("no ") + QLatin1String(field)
                                                  : items.first()->toolTip());
                }
            }));
        QCOMPARE(described, (QStringList{QStringLiteral("Nombre del paciente"),
                                         QStringLiteral("CIE del certificado (el párrafo solo sale con la "
                                                        "autorización del paciente)")}));
        list->close();
    }

    // The special-control prescription with a medicine of the clinic's list prints two
    // pages, one a copy, each with the medicine.
    void specialControlPrescriptionPrintsTwoCopies() {
        LoggedIn& app = clinic();
        PdfOut out;
        QVERIFY(withConsultationDocuments(app, [&](TfrmConsulta_Manut* r) {
            choose(child<QComboBox>(r->TabSheet4, "cmbModelo"),
                   QStringLiteral("Receituário de controle especial"));
            QTest::mouseClick(child<QPushButton>(r->TabSheet4, "btnModelo"), Qt::LeftButton);
            choose(child<QComboBox>(r->TabSheet4, "cmbMedicamento"), QStringLiteral("Amoxicilina"));
            QTest::mouseClick(child<QPushButton>(r->TabSheet4, "btnMedicamento"), Qt::LeftButton);
            choose(child<QComboBox>(r->TabSheet4, "cmbMedicamento"), QStringLiteral("Ibuprofeno"));
            QTest::mouseClick(child<QPushButton>(r->TabSheet4, "btnMedicamento"), Qt::LeftButton);
            const QString text = r->SQL_Doc->fieldByName(QStringLiteral("doc_texto"))->asString();
            QVERIFY2(text.contains(QStringLiteral("Prescrição:\n1. Amoxicilina - 500 mg - 21 cápsulas\n"
                                                  "   Tomar 1 cápsula de 8 em 8 horas por 7 dias.\n"
                                                  "2. Ibuprofeno - 600 mg")),
                     qPrintable(text));
            QVERIFY(!text.contains(QLatin1Char('{')));
            r->SQL_Doc->post();
            QVERIFY(printFromPicker(QStringLiteral("Documento da Consulta"), [r] { r->btnReceitaClick(); }));
        }));
        const QStringList printed = pages(out.file());
        QCOMPARE(printed.size(), 2);
        for (int i = 0; i < 2; ++i) {
            const QString page = printed[i].simplified();
            QVERIFY2(page.contains(i == 0 ? QStringLiteral("1ª via - farmácia")
                                          : QStringLiteral("2ª via - paciente")),
                     qPrintable(page));
            QVERIFY(!page.contains(i == 0 ? QStringLiteral("2ª via") : QStringLiteral("1ª via")));
            for (const char* expected : {"RECEITUÁRIO DE CONTROLE ESPECIAL", "Maria da Conceição",
                                         "1. Amoxicilina - 500 mg", "Dra. Helena Prado", "CRO SP-45678"})
                QVERIFY2(page.contains(QString::fromUtf8(expected)), expected);
        }
        app.db().execute(QStringLiteral("delete from documento"));
    }

    // From the patient record: the logged user's own dentist signs; the CID goes on the
    // certificate only with the patient's consent, and a document prints again as first.
    void certificateFromThePatientRecord() {
        LoggedIn& app = clinic();
        app.db().execute(QStringLiteral(
            "update usuario set usuario_nome = 'DR. RUI CAMPOS' where usuario_login = 'admin'"));
        app.s.clock.set(QDateTime(QDate(2026, 3, 9), QTime(14, 30)));
        PdfOut out;
        QString first, again, consented;
        auto newCertificate = [](TfrmPaciente_Documentos* s, bool consent) {
            choose(child<QComboBox>(s->TabSheet4, "cmbModelo"), QStringLiteral("Atestado com CID"));
            child<QLineEdit>(s->TabSheet4, "edtCid")->setText(QStringLiteral("k04.7"));
            child<QCheckBox>(s->TabSheet4, "chkCid")->setChecked(consent);
            QTest::mouseClick(child<QPushButton>(s->TabSheet4, "btnModelo"), Qt::LeftButton);
            s->SQL_Doc->post();
        };
        QVERIFY(withPatientDocuments(app, [&](TfrmPaciente_Documentos* s) {
            QCOMPARE(s->lblPaciente->text(), QStringLiteral("Maria da Conceição"));
            QCOMPARE(s->cbDentista->currentText(), QStringLiteral("Dr. Rui Campos"));
            newCertificate(s, false);
            QTest::mouseClick(s->btnReceita, Qt::LeftButton);
            first = ReportFixture::pdfText(out.file(), true);
            newCertificate(s, true);
            QTest::mouseClick(s->btnReceita, Qt::LeftButton);
            consented = ReportFixture::pdfText(out.file(), true);
        }));
        const QStringList texts =
            column(app, QStringLiteral("select doc_texto from documento where paciente_id = 801 "
                                       "and consulta_id is null order by doc_id"));
        QCOMPARE(texts.size(), 2);
        QVERIFY2(!texts[0].contains(QStringLiteral("K04.7")) && !texts[0].contains(QStringLiteral("CID")),
                 qPrintable(texts[0]));
        QVERIFY(!texts[0].contains(QStringLiteral("Assinatura do(a) paciente")));
        QCOMPARE(column(app, QStringLiteral(
                                 "select doc_nome from documento where paciente_id = 801 order by doc_id")),
                 (QStringList{"Atestado", "Atestado com CID"}));
        QVERIFY(texts[1].contains(QStringLiteral("CID: K04.7 (informado")));
        QVERIFY2(!first.contains(QStringLiteral("K04.7")), qPrintable(first));
        QVERIFY(consented.contains(QStringLiteral("K04.7")));
        for (const QString& expected :
             {clinicName(app), QStringLiteral("Maria da Conceição"), QStringLiteral("CPF 123.456.789-09"),
              QStringLiteral("Dr. Rui Campos"), QStringLiteral("CRO SP-11223"), QStringLiteral("09/03/2026")})
            QVERIFY2(first.contains(expected), qPrintable(expected));
        QCOMPARE(
            scalar(app, QStringLiteral("select count(*) from documento where dentista_id = 902")).toInt(), 2);

        // Printed again after the patient's record changed: the same paper.
        app.db().execute(
            QStringLiteral("update paciente set paciente_cpf = '98765432100' where paciente_id = 801"));
        QVERIFY(withPatientDocuments(app, [&](TfrmPaciente_Documentos* s) {
            QVERIFY(s->SQL_Doc->locate(QStringLiteral("doc_texto"), texts[0]));
            QTest::mouseClick(s->btnReceita, Qt::LeftButton);
            again = ReportFixture::pdfText(out.file(), true);
        }));
        QCOMPARE(again, first);
        app.db().execute(QStringLiteral("delete from documento"));
        app.db().execute(
            QStringLiteral("update paciente set paciente_cpf = '12345678909' where paciente_id = 801"));
    }

    // A prescription typed and picked from the patient record, left unsaved: closing asks.
    void unsavedPrescriptionIsNotLostOnClosing() {
        LoggedIn& app = clinic();
        app.s.dialogs.queueQuestion(DialogService::Answer::Yes);
        QVERIFY(withPatientDocuments(app, [&](TfrmPaciente_Documentos* s) {
            choose(child<QComboBox>(s->TabSheet4, "cmbModelo"), QStringLiteral("Receituário"));
            QTest::mouseClick(child<QPushButton>(s->TabSheet4, "btnModelo"), Qt::LeftButton);
            auto* memo = child<DBMemo>(s->TabSheet4, "DBMemoDocTexto");
            memo->setFocus();
            QTest::keyClicks(memo, QStringLiteral("Bochechar com agua morna."));
            choose(child<QComboBox>(s->TabSheet4, "cmbMedicamento"), QStringLiteral("Dipirona"));
            QTest::mouseClick(child<QPushButton>(s->TabSheet4, "btnMedicamento"), Qt::LeftButton);
        }));
        const QString text =
            scalar(app, QStringLiteral("select doc_texto from documento where paciente_id = 801")).toString();
        QVERIFY2(text.contains(QStringLiteral("Uso interno / oral:\n\nBochechar com agua morna.\n"
                                              "1. Dipirona sódica - 500 mg")),
                 qPrintable(text));
        QCOMPARE(scalar(app, QStringLiteral("select doc_usuario from documento where paciente_id = 801")),
                 QVariant(QStringLiteral("admin")));
        app.db().execute(QStringLiteral("delete from documento"));
    }
};

QTEST_MAIN(TestDocuments)
#include "tst_documents.moc"

#include "ReportFixture.h"
#include "clinical/DocumentPrint.h"
#include "core/db/DbErrors.h"
#include "reporting/ReportError.h"
#include "reporting/ReportProject.h"
#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QtTest>

using namespace dv;

// The reports of the application's report project, run the way their screens run
// them: the screens' datasets registered under their connection names, the
// installation's company row, the output written to a PDF and read back.
class TestShippedReports : public QObject {
    Q_OBJECT

    std::unique_ptr<test::ReportFixture> f;
    std::unique_ptr<PdfFileReportOutput> m_pdf;

    QString runToPdf(const QString& report) {
        ReportProject project;
        project.open();
        project.execute(report);
        return test::ReportFixture::pdfText(m_pdf->fileName());
    }

private slots:
    void initTestCase() {
        f = std::make_unique<test::ReportFixture>();
        m_pdf = std::make_unique<PdfFileReportOutput>(f->pdfPath());
        setReportOutput(m_pdf.get());
        if (qEnvironmentVariableIsSet("DV_REPORT_SAMPLES"))
            QDir().mkpath(qEnvironmentVariable("DV_REPORT_SAMPLES"));
    }
    void cleanupTestCase() {
        setReportOutput(nullptr);
        f.reset();
    }
    void init() {
        f->clearClinic();
        f->closeScreen();
        reportConnections().clear();
    }
    void cleanup() {
        // DV_REPORT_SAMPLES=<folder> keeps each test's PDF to look at.
        const QString keep = qEnvironmentVariable("DV_REPORT_SAMPLES");
        if (!keep.isEmpty() && QFile::exists(m_pdf->fileName())) {
            const QString to = keep + QLatin1Char('/') + QLatin1String(QTest::currentTestFunction()) +
                               QStringLiteral(".pdf");
            QFile::remove(to);
            QFile::copy(m_pdf->fileName(), to);
        }
        QFile::remove(m_pdf->fileName());
    }

    void projectHoldsEveryRegisteredReport() {
        ReportProject project;
        project.open();
        QCOMPARE(project.fileName(),
                 QFileInfo(f->folder().path() + "relatorio/Dentrivale.rav").absoluteFilePath());
        const QStringList names = project.reportNames();
        // Every Relatorio row of the installation names a report of the project.
        auto rows = f->db().query(QStringLiteral("select relat_nome, form_nome from relatorio"));
        QStringList registered;
        while (rows->next()) {
            const QString name = QString::fromUtf8(rows->utf8(0).toByteArray());
            QVERIFY2(project.hasReport(name), qPrintable(name));
            QVERIFY2(!project.description(name).isEmpty(), qPrintable(name));
            registered << QString::fromUtf8(rows->utf8(1).toByteArray()) + QLatin1Char(':') + name;
        }
        registered.sort();
        QCOMPARE(
            registered,
            QStringList({"frmConsulta:Relat_Consultas", "frmConsulta_Manut:Relat_Carne",
                         "frmConsulta_Manut:Relat_Documento", "frmConsulta_Manut:Relat_Odontograma",
                         "frmConsulta_Manut:Relat_Orcamento", "frmConsulta_Manut:Relat_Parcelas",
                         "frmConsulta_Manut:Relat_Recibo", "frmContasPagar:Relat_ContasPagar",
                         "frmContato:Relat_Contatos", "frmConvenio:Relat_Convenios",
                         "frmPaciente:Relat_Aniversariantes", "frmPaciente:Relat_Etiquetas",
                         "frmPaciente:Relat_Pacientes", "frmSelecaoContasReceber:Relat_ContasReceber",
                         "frmSelecaoContasRecebidas:Relat_ContasRecebidas", "frmServico:Relat_Servicos"}));
        QVERIFY(project.selectReport(QStringLiteral("Relat_Pacientes")));
        QVERIFY(project.description().startsWith(QStringLiteral("Relação de pacientes")));
        // The picker's box wraps the text itself: the file's line breaks are gone.
        QVERIFY(!project.description().contains(QLatin1Char('\n')));
        QVERIFY(!project.selectReport(QStringLiteral("Relat_Inexistente")));
        QVERIFY(project.selectedReport().isEmpty());
    }

    // The list as the screen shows it: its filter and its order, the company on top.
    void patientListFollowsTheScreen() {
        for (const char* n : {"Bruna Almeida", "Carlos Souza", "Ana Lima", "Davi Rocha"})
            f->addPatient({QString::fromUtf8(n)});
        f->addPatient({QStringLiteral("Elisa Inativa"), QStringLiteral("Jacareí"), QDate(1990, 1, 2), "N"});
        Dataset* list = f->dataset("SQL_Consulta", "select * from paciente order by paciente_nome");
        list->open();
        list->setSort(QStringLiteral("paciente_nome DESC"));
        list->setFilter(QStringLiteral("paciente_ativo = 'S'"));
        list->setFiltered(true);
        list->moveTo(2);
        reportConnections().add(QStringLiteral("RV_Paciente"), list, f->screen());

        const QString text = runToPdf(QStringLiteral("Relat_Pacientes"));
        QCOMPARE(m_pdf->lastPageCount(), 1);
        QVERIFY(text.contains(QStringLiteral("Clínica Odontológica Sorriso do Vale Ltda")));
        QVERIFY(text.contains(QStringLiteral("CNPJ 23.456.789/0001-95")));
        QVERIFY(text.contains(
            QStringLiteral("Avenida Nove de Julho, 1250 - Jardim Apolo - São José dos Campos/SP - "
                           "CEP 12243-000")));
        QVERIFY(text.contains(QStringLiteral("Relação de Pacientes")));
        QVERIFY(!text.contains(QStringLiteral("Elisa Inativa")));
        const qsizetype davi = text.indexOf(QStringLiteral("Davi Rocha")),
                        carlos = text.indexOf("Carlos Souza"), bruna = text.indexOf("Bruna Almeida"),
                        ana = text.indexOf("Ana Lima");
        QVERIFY(davi >= 0 && davi < carlos && carlos < bruna && bruna < ana);
        QVERIFY(text.contains(QStringLiteral("123.456.789-09")));
        QVERIFY(text.contains(QStringLiteral("20/05/1980")));
        QVERIFY(text.contains(QStringLiteral("Taubaté/SP")));
        QVERIFY(text.contains(QStringLiteral("Total de pacientes: 4")));
        QVERIFY(text.contains(QStringLiteral("Página 1 de 1")));
        QVERIFY(text.contains(QStringLiteral("Impresso em 16/03/2026 às 09:30")));
        // Read, not moved.
        QCOMPARE(list->recNo(), 3);
        QCOMPARE(list->fieldByName("paciente_nome")->asString(), QStringLiteral("Bruna Almeida"));
        QVERIFY(list->isFiltered());
    }

    void birthdayListOfTheMonth() {
        f->addPatient({QStringLiteral("Marta Dias"), QStringLiteral("Taubaté"), QDate(1975, 4, 9)});
        f->addPatient({QStringLiteral("Pedro Reis"), QStringLiteral("Caçapava"), QDate(2001, 4, 28)});
        f->addPatient({QStringLiteral("Rui Maio"), QStringLiteral("Caçapava"), QDate(2001, 5, 28)});
        Dataset* birthdays = f->dataset("SQL_Aniversario",
                                        "select * from paciente where month(paciente_data_nascimento) =:mes");
        reportConnections().add(QStringLiteral("Rv_Aniversario"), birthdays, f->screen());

        // A query the screen has not opened yet, or a month without birthdays.
        const QString closed = runToPdf(QStringLiteral("Relat_Aniversariantes"));
        QVERIFY(closed.contains(QStringLiteral("Nenhum paciente faz aniversário neste mês.")));
        QVERIFY(closed.contains(QStringLiteral("Total de aniversariantes: 0")));
        birthdays->setParam(QStringLiteral("mes"), ParamType::Integer, 12);
        birthdays->open();
        QVERIFY(runToPdf(QStringLiteral("Relat_Aniversariantes"))
                    .contains(QStringLiteral("Nenhum paciente faz aniversário neste mês.")));

        birthdays->close();
        birthdays->setParam(QStringLiteral("mes"), ParamType::Integer, 4);
        birthdays->open();
        const QString text = runToPdf(QStringLiteral("Relat_Aniversariantes"));
        QVERIFY(text.contains(QStringLiteral("Aniversariantes do Mês")));
        QVERIFY(text.contains(QStringLiteral("Abril")));
        QVERIFY(text.contains(QStringLiteral("09/04")));
        QVERIFY(text.contains(QStringLiteral("Marta Dias")));
        QVERIFY(text.contains(QStringLiteral("28/04/2001")));
        QVERIFY(!text.contains(QStringLiteral("Rui Maio")));
        QVERIFY(text.contains(QStringLiteral("Total de aniversariantes: 2")));
    }

    // Values of the longest shapes the screens store are printed whole in every patient
    // report: a phone as its mask stores it, a long e-mail, a long city name.
    void patientReportsPrintLongValuesWhole_data() {
        QTest::addColumn<QString>("report");
        QTest::addColumn<QStringList>("shown");
        const QString phone = QStringLiteral("12(012)99741-2200"), cell = QStringLiteral("12(012)98877-6655");
        const QString mail = QStringLiteral("maria.aparecida.conceicao@clinicasorrisodovale.com.br");
        const QString city = QStringLiteral("São José dos Campos");
        QTest::newRow("patient list") << "Relat_Pacientes" << QStringList{phone, cell, mail, city + "/SP"};
        QTest::newRow("birthdays") << "Relat_Aniversariantes" << QStringList{phone, cell, city};
        QTest::newRow("labels") << "Relat_Etiquetas" << QStringList{city + " - SP"};
    }
    void patientReportsPrintLongValuesWhole() {
        QFETCH(QString, report);
        QFETCH(QStringList, shown);
        const qint64 id = f->addPatient({QStringLiteral("Maria Aparecida da Conceição Albuquerque"),
                                         QStringLiteral("São José dos Campos"), QDate(1975, 4, 9)});
        f->db().execute(
            QStringLiteral("update paciente set paciente_fone = '12(012)99741-2200', paciente_celular "
                           "= '12(012)98877-6655', paciente_email = "
                           "'maria.aparecida.conceicao@clinicasorrisodovale.com.br' where "
                           "paciente_id = :id"),
            {{QStringLiteral("id"), ParamType::Integer, id}});
        Dataset* list = f->dataset("SQL_Consulta", "select * from paciente");
        list->open();
        reportConnections().add(QStringLiteral("RV_Paciente"), list, f->screen());
        Dataset* birthdays = f->dataset("SQL_Aniversario",
                                        "select * from paciente where month(paciente_data_nascimento) =:mes");
        birthdays->setParam(QStringLiteral("mes"), ParamType::Integer, 4);
        birthdays->open();
        reportConnections().add(QStringLiteral("Rv_Aniversario"), birthdays, f->screen());
        const QString text = runToPdf(report);
        for (const QString& value : shown)
            QVERIFY2(text.contains(value), qPrintable(value + QStringLiteral(" in:\n") + text));
        QVERIFY(!text.contains(QChar(0x2026))); // nothing cut short with "…"
    }

    // The birthday list runs by the day of the month, whatever the year or the order the
    // screen read the rows in; the same day by name.
    void birthdayListSortsByDay() {
        for (const auto& [name, birth] :
             {std::pair{"Zeca Moura", QDate(1990, 4, 25)}, std::pair{"Caio Prado", QDate(1980, 4, 3)},
              std::pair{"Bia Souto", QDate(1960, 4, 17)}, std::pair{"Ana Reis", QDate(2005, 4, 3)}})
            f->addPatient({QString::fromUtf8(name), QStringLiteral("Taubaté"), birth});
        Dataset* birthdays = f->dataset("SQL_Aniversario",
                                        "select * from paciente where month(paciente_data_nascimento) =:mes");
        birthdays->setParam(QStringLiteral("mes"), ParamType::Integer, 4);
        birthdays->open();
        reportConnections().add(QStringLiteral("Rv_Aniversario"), birthdays, f->screen());
        const QString text = runToPdf(QStringLiteral("Relat_Aniversariantes"));
        QList<qsizetype> at;
        for (const char* name : {"Ana Reis", "Caio Prado", "Bia Souto", "Zeca Moura"})
            at << text.indexOf(QString::fromUtf8(name));
        QVERIFY2(at[0] >= 0 && at[0] < at[1] && at[1] < at[2] && at[2] < at[3], qPrintable(text));
        // The screen's rows stay where they were.
        QCOMPARE(birthdays->fieldByName("paciente_nome")->asString(), QStringLiteral("Zeca Moura"));
    }

    // 21 labels to a sheet, three across, filled line by line.
    void labelsInThreeColumns() {
        for (int i = 1; i <= 23; ++i)
            f->addPatient({QStringLiteral("Paciente %1").arg(i, 2, 10, QLatin1Char('0'))});
        Dataset* list = f->dataset("SQL_Consulta", "select * from paciente order by paciente_nome");
        list->open();
        reportConnections().add(QStringLiteral("RV_Paciente"), list, f->screen());

        ReportProject project;
        project.open();
        const ReportDocument doc = project.build(QStringLiteral("Relat_Etiquetas"));
        QCOMPARE(doc.pageCount(), 2);
        QMap<QString, QPointF> where;
        for (int s = 0; s < doc.pageCount(); ++s)
            for (const ReportDocument::Op& op : doc.sheet(s).ops)
                if (op.text.startsWith(QStringLiteral("PACIENTE "))) where[op.text] = op.rect.topLeft();
        QCOMPARE(where.size(), 23);
        const double left = 7.2 + 4, step = 63.5 + 2.55;
        QCOMPARE(where["PACIENTE 01"].x(), left);
        QCOMPARE(where["PACIENTE 02"].x(), left + step);
        QCOMPARE(where["PACIENTE 03"].x(), left + 2 * step);
        QCOMPARE(where["PACIENTE 04"].x(), left);
        QCOMPARE(where["PACIENTE 02"].y(), where["PACIENTE 01"].y());
        QCOMPARE(where["PACIENTE 04"].y(), where["PACIENTE 01"].y() + 38.1);
        QCOMPARE(where["PACIENTE 22"].y(), where["PACIENTE 01"].y()); // second sheet
        QVERIFY(test::ReportFixture::texts(doc).contains(QStringLiteral("CEP 12020-000")));

        project.execute(QStringLiteral("Relat_Etiquetas"));
        const QString layout = test::ReportFixture::pdfText(m_pdf->fileName(), true);
        QVERIFY(QRegularExpression(QStringLiteral("PACIENTE 01 +PACIENTE 02 +PACIENTE 03"))
                    .match(layout)
                    .hasMatch());
        QVERIFY(layout.contains(QStringLiteral("Rua das Flores, 12")));
    }

    // The consultation prints its chart: the picture linked just before the run, the
    // consultation the list stands on, its items and their total.
    void odontogramDirectRun() {
        const qint64 ana = f->addPatient({QStringLiteral("Ana Lima")});
        const qint64 bia = f->addPatient({QStringLiteral("Beatriz Nunes")});
        auto consultation = [&](qint64 patient, const char* date, const char* value) {
            return f->db().insert(
                QStringLiteral(
                    "insert into consulta (paciente_id, dentista_id, consulta_data, consulta_validade, "
                    "consulta_valor, consulta_aprovado) values (:p, 1, :d, :d, :v, 'S')"),
                {{"p", ParamType::Integer, patient},
                 {"d", ParamType::DateTime, QDateTime::fromString(QLatin1String(date), Qt::ISODate)},
                 {"v", ParamType::Currency, QVariant::fromValue(*Currency::parse(QLatin1String(value)))}},
                "consulta_id");
        };
        consultation(ana, "2026-03-01T00:00:00", "100,00");
        const qint64 chosen = consultation(bia, "2026-03-10T00:00:00", "1.350,50");
        auto item = [&](int tooth, const char* place, const char* value, const char* done) {
            f->db().execute(
                QStringLiteral("insert into item_consulta (consulta_id, servico_id, dente_id, "
                               "local_dente_id, item_consulta_valor, item_consulta_concluido, "
                               "item_consulta_descricao) values (:c, 900, :t, :l, :v, :k, 'obs')"),
                {{"c", ParamType::Integer, chosen},
                 {"t", ParamType::Integer, tooth},
                 {"l", ParamType::Text, QLatin1String(place)},
                 {"v", ParamType::Currency, QVariant::fromValue(*Currency::parse(QLatin1String(value)))},
                 {"k", ParamType::Text, QLatin1String(done)}});
        };
        item(16, "Q1", "1.200,00", "N");
        item(21, "DS", "150,50", "S");
        if (dm().SQL_Paciente->isActive()) dm().SQL_Paciente->refresh();
        f->db().execute(QStringLiteral("delete from dentista"));
        f->db().execute(
            QStringLiteral("insert into dentista (dentista_id, dentista_nome, dentista_cro, dentista_ativo) "
                           "values (1, 'Dra. Helena Prado', 'SP-45678', 'S')"));
        dm().SQL_Dentista->refresh();
        f->db().execute(QStringLiteral("delete from servico where servico_id = 900"));
        f->db().execute(QStringLiteral("insert into servico (servico_id, servico_nome, servico_ativo) "
                                       "values (900, 'Restauração em resina', 'S')"));
        dm().SQL_Servico->refresh();

        Dataset* consultas = f->dataset("SQL_Consulta", "select * from consulta order by consulta_data desc");
        auto lookup = [](const char* name, Dataset* in, const char* key, const char* result) {
            FieldDef lk;
            lk.name = QLatin1String(name);
            lk.kind = FieldKind::Lookup;
            lk.lookupDataset = in;
            lk.keyFields = lk.lookupKeyFields = QLatin1String(key);
            lk.lookupResultField = QLatin1String(result);
            return lk;
        };
        for (const char* c : {"consulta_id", "paciente_id", "dentista_id", "consulta_codigo", "consulta_data",
                              "consulta_validade", "consulta_valor", "consulta_aprovado"})
            consultas->addField(FieldDef{QLatin1String(c)});
        consultas->addField(lookup("lk_Paciente", dm().SQL_Paciente, "paciente_id", "paciente_nome"));
        consultas->addField(lookup("lk_Dentista", dm().SQL_Dentista, "dentista_id", "dentista_nome"));
        consultas->addField(lookup("lk_Dentista_CRO", dm().SQL_Dentista, "dentista_id", "dentista_cro"));
        consultas->open();
        QVERIFY(consultas->locate("consulta_id", chosen));
        Dataset* items =
            f->dataset("SQL_ItemConsulta", "select * from item_consulta where consulta_id = :consulta_id");
        items->addField(lookup("lk_servico", dm().SQL_Servico, "servico_id", "servico_nome"));
        items->setParam("consulta_id", ParamType::Integer, chosen);
        items->open();
        reportConnections().add(QStringLiteral("RvConsultas"), consultas, f->screen());
        reportConnections().add(QStringLiteral("RvItemConsulta"), items, f->screen());

        // The chart as the screen saves it.
        QImage chart(700, 331, QImage::Format_RGB32);
        chart.fill(Qt::white);
        QPainter p(&chart);
        p.setPen(QPen(Qt::darkGray, 2));
        p.drawLine(350, 10, 350, 320);
        p.drawLine(10, 165, 690, 165);
        p.end();
        const QString bmp = session().filePath(QStringLiteral("Odontograma.bmp"));
        QVERIFY(chart.save(bmp, "BMP"));

        ReportProject project;
        project.open();
        QVERIFY(project.selectReport(QStringLiteral("Relat_Odontograma")));
        project.setPictureFile(QStringLiteral("Relat_Odontograma.Page1"), QStringLiteral("Bitmap1"), bmp);
        QCOMPARE(project.findPicture("Relat_Odontograma.Page1", "Bitmap1")->fileLink, bmp);
        project.execute(QStringLiteral("Relat_Odontograma"));

        const QString text = test::ReportFixture::pdfText(m_pdf->fileName());
        QVERIFY(text.contains(QStringLiteral("Odontograma")));
        QVERIFY(text.contains(QStringLiteral("Consulta nº %1").arg(chosen)));
        QVERIFY(text.contains(QStringLiteral("Beatriz Nunes")));
        QVERIFY(!text.contains(QStringLiteral("Ana Lima")));
        QVERIFY(text.contains(QStringLiteral("10/03/2026")));
        QVERIFY(text.contains(QStringLiteral("Dra. Helena Prado - CRO SP-45678")));
        QVERIFY(text.contains(QStringLiteral("R$ 1.350,50")));
        QVERIFY(text.contains(QStringLiteral("Total do orçamento: R$ 1.350,50")));
        QVERIFY(text.contains(QStringLiteral("Clínica Odontológica Sorriso do Vale Ltda")));
        QVERIFY(text.contains(QStringLiteral("Restauração em resina")));
        QCOMPARE(test::ReportFixture::pdfImageObjects(m_pdf->fileName()).size(), 1);
        QCOMPARE(consultas->fieldByName("consulta_id")->asLargeInt(), chosen);

        // Picture and page names as the screen spells them; anything else is an error.
        QVERIFY_THROWS_EXCEPTION(ReportError,
                                 project.setPictureFile("Relat_Odontograma.Page1", "Bitmap2", bmp));
        QVERIFY_THROWS_EXCEPTION(ReportError,
                                 project.setPictureFile("Relat_Odontograma.Page2", "Bitmap1", bmp));

        // A picture the screen draws when the report runs stands for the file, as long
        // as the screen is there; without it the missing file is said.
        QVERIFY(QFile::remove(bmp));
        int drawn = 0;
        auto drawer = std::make_unique<QObject>();
        reportConnections().addPicture(
            QStringLiteral("Relat_Odontograma.Page1.Bitmap1"),
            [&] {
                ++drawn;
                QByteArray bytes;
                QBuffer buffer(&bytes);
                buffer.open(QIODevice::WriteOnly);
                chart.save(&buffer, "PNG");
                return bytes;
            },
            drawer.get());
        ReportProject fresh;
        fresh.open();
        fresh.execute(QStringLiteral("Relat_Odontograma"));
        QCOMPARE(drawn, 1);
        QCOMPARE(test::ReportFixture::pdfImageObjects(m_pdf->fileName()).size(), 1);
        drawer.reset();
        QVERIFY_THROWS_EXCEPTION(ReportError, fresh.execute(QStringLiteral("Relat_Odontograma")));

        // The budget of the same consultation, to be signed by the patient.
        const QString budget = runToPdf(QStringLiteral("Relat_Orcamento"));
        QVERIFY(budget.contains(QStringLiteral("Orçamento")));
        QVERIFY(budget.contains(QStringLiteral("Beatriz Nunes")));
        QVERIFY(budget.contains(QStringLiteral("Total do orçamento: R$ 1.350,50")));
        QVERIFY(budget.contains(QStringLiteral("Assinatura do paciente ou responsável")));

        // One document of the consultation, signed by its dentist.
        const qint64 doc = f->db().insert(
            QStringLiteral("insert into documento (consulta_id, paciente_id, dentista_id, doc_nome, "
                           "doc_data, doc_texto) values (:c, 1, 1, 'Receita', '2026-03-10 00:00:00', "
                           "'Amoxicilina 500 mg, de 8 em 8 horas por 7 dias.')"),
            {{"c", ParamType::Integer, chosen}}, QStringLiteral("doc_id"));
        auto* print = new DocumentPrint(f->screen());
        QVERIFY(print->prepare(doc));
        const QString document = runToPdf(QStringLiteral("Relat_Documento"));
        QVERIFY(document.contains(QStringLiteral("RECEITA")));
        QVERIFY(document.contains(QStringLiteral("Amoxicilina 500 mg")));
        QVERIFY(document.contains(QStringLiteral("Dra. Helena Prado")));
        QVERIFY(document.contains(QStringLiteral("CRO SP-45678")));
        QVERIFY(document.contains(QStringLiteral("10/03/2026")));
        QVERIFY(!document.contains(QStringLiteral(" via")));
    }

    // The catalogue's lists print what their screens show, the shipped services included.
    void catalogueLists_data() {
        QTest::addColumn<QString>("report");
        QTest::addColumn<QString>("connection");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("services") << "Relat_Servicos"
                                  << "RvServico"
                                  << "select * from servico Where servico_id <> 0 order by servico_nome"
                                  << QStringList{"Relação de Serviços", "Consulta / avaliação inicial",
                                                 "Endodontia", "Total de serviços: "};
        QTest::newRow("plans") << "Relat_Convenios"
                               << "Rv_Convenio"
                               << "select * from convenio order by convenio_nome"
                               << QStringList{"Relação de Convênios", "Particular", "Total de convênios: 1"};
    }
    void catalogueLists() {
        QFETCH(QString, report);
        QFETCH(QString, connection);
        QFETCH(QString, sql);
        QFETCH(QStringList, expected);
        Dataset* list = f->dataset("SQL_Consulta", sql);
        list->open();
        reportConnections().add(connection, list, f->screen());
        const QString text = runToPdf(report);
        for (const QString& e : expected)
            QVERIFY2(text.contains(e), qPrintable(e));
    }
};

QTEST_MAIN(TestShippedReports)
#include "tst_shippedreports.moc"

#include "ReportFixture.h"
#include "core/ErrorTranslator.h"
#include "core/Session.h"
#include "core/db/DataSource.h"
#include "reporting/ReportError.h"
#include "reporting/ReportProject.h"
#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QtTest>

using namespace dv;

namespace {

QByteArray project(const QString& pages, const QString& extra = QString()) {
    return (QStringLiteral("<reportProject version=\"1\">") + extra +
            QStringLiteral("<report name=\"Teste\">") +
            QStringLiteral("<description>Relatório de teste</description>") + pages +
            QStringLiteral("</report></reportProject>"))
        .toUtf8();
}

// Consultations of a few dentists, values with cents, to group and add up.
struct Consultation {
    int dentist;
    const char* value;
};

} // namespace

// The engine over inline projects: groups, totals and sheets, the Brazilian
// formats, what the report reads of the datasets, and the errors a user sees.
class TestReportEngine : public QObject {
    Q_OBJECT

    std::unique_ptr<test::ReportFixture> f;
    std::unique_ptr<PdfFileReportOutput> m_pdf;

    Dataset* consultations(const QList<Consultation>& rows) {
        const qint64 patient = f->addPatient({QStringLiteral("Ana Lima")});
        for (const Consultation& c : rows)
            f->db().execute(
                QStringLiteral("insert into consulta (paciente_id, dentista_id, consulta_data, "
                               "consulta_valor, consulta_aprovado) values (:p, :d, :t, :v, 'S')"),
                {{"p", ParamType::Integer, patient},
                 {"d", ParamType::Integer, c.dentist},
                 {"t", ParamType::DateTime, QDateTime(QDate(2026, 3, 5), QTime(14, 30))},
                 {"v", ParamType::Currency, QVariant::fromValue(*Currency::parse(QLatin1String(c.value)))}});
        Dataset* d = f->dataset("SQL_Consulta", "select * from consulta");
        d->open();
        return d;
    }

    static ReportDocument build(const QByteArray& xml, const QString& report = QStringLiteral("Teste")) {
        ReportProject p;
        p.load(xml, QStringLiteral("teste.rav"));
        return p.build(report);
    }

private slots:
    void initTestCase() { f = std::make_unique<test::ReportFixture>(); }
    void cleanupTestCase() {
        setReportOutput(nullptr);
        f.reset();
    }
    void init() {
        f->clearClinic();
        f->closeScreen();
        reportConnections().clear();
        QFile::remove(f->pdfPath());
        m_pdf = std::make_unique<PdfFileReportOutput>(f->pdfPath());
        setReportOutput(m_pdf.get());
    }

    // Group headers and footers where the value changes, totals per group and for the
    // report, sheets numbered "n de m", a group header never left alone at a sheet's foot.
    void groupsTotalsAndSheets() {
        QList<Consultation> rows;
        for (int i = 0; i < 30; ++i)
            rows.append({1, "10,05"});
        for (int i = 0; i < 25; ++i)
            rows.append({2, "1.000,10"});
        rows.append({3, "0,01"});
        Dataset* d = consultations(rows);
        d->setSort(QStringLiteral("dentista_id DESC"));
        reportConnections().add(QStringLiteral("RvConsultas"), d, f->screen());

        const QByteArray xml = project(QStringLiteral(R"(
          <page margins="10 10 10 10">
            <count name="qtd"/><count name="qtdGrupo" reset="dentista"/>
            <sum name="total" field="consulta_valor"/>
            <sum name="subtotal" field="RvConsultas.consulta_valor" reset="dentista"/>
            <pageHeader height="10"><text x="0" y="0" w="100%" h="10">Cabeçalho {RvEmpresa.empresa_nome}</text></pageHeader>
            <group name="dentista" field="dentista_id">
              <groupHeader height="8"><text x="0" y="0" w="100%" h="8">Dentista {RvConsultas.dentista_id}</text></groupHeader>
              <groupFooter height="8"><text x="0" y="0" w="100%" h="8">Subtotal {subtotal|money} em {qtdGrupo}</text></groupFooter>
            </group>
            <detail connection="RvConsultas" height="6"><text x="0" y="0" w="100%" h="6">Linha {RvConsultas.consulta_valor}</text></detail>
            <summary height="8"><text x="0" y="0" w="100%" h="8">Total {total|money} em {qtd}</text></summary>
            <pageFooter height="8"><text x="0" y="0" w="100%" h="8">Página {page} de {pages}</text></pageFooter>
          </page>)"));
        ReportProject p;
        p.load(xml, QStringLiteral("teste.rav"));
        const ReportDocument doc = p.build(QStringLiteral("Teste"));
        const QStringList t = test::ReportFixture::texts(doc);
        const QStringList groups =
            t.filter(QRegularExpression(QStringLiteral("^(Dentista|Subtotal|Total) ")));
        QCOMPARE(groups, QStringList({"Dentista 3", "Subtotal R$ 0,01 em 1", "Dentista 2",
                                      "Subtotal R$ 25.002,50 em 25", "Dentista 1", "Subtotal R$ 301,50 em 30",
                                      "Total R$ 25.304,01 em 56"}));
        QCOMPARE(t.count(QStringLiteral("Cabeçalho Clínica Odontológica Sorriso do Vale Ltda")),
                 doc.pageCount());
        // 56 rows of 6 mm, 3 headers and 3 footers, on 257 mm less header and footer: 2 sheets.
        QCOMPARE(doc.pageCount(), 2);
        for (int s = 0; s < doc.pageCount(); ++s) {
            const auto& ops = doc.sheet(s).ops;
            double bottom = 0;
            for (const ReportDocument::Op& op : ops)
                if (!op.text.startsWith(QStringLiteral("Página"))) bottom = qMax(bottom, op.rect.bottom());
            QVERIFY(bottom <= 297 - 10 - 8 + 0.001);
            const auto last = std::find_if(ops.rbegin(), ops.rend(), [](const ReportDocument::Op& op) {
                return op.kind == ReportDocument::Op::Text && !op.text.startsWith(QStringLiteral("Página"));
            });
            QVERIFY(!last->text.startsWith(QStringLiteral("Dentista")));
        }

        p.execute(QStringLiteral("Teste"));
        const QString pdf = test::ReportFixture::pdfText(m_pdf->fileName());
        QVERIFY(pdf.contains(QStringLiteral("Página 1 de 2")));
        QVERIFY(pdf.contains(QStringLiteral("Página 2 de 2")));
        QVERIFY(pdf.contains(QStringLiteral("Linha 1.000,10")));
        QCOMPARE(m_pdf->lastReport(), QStringLiteral("Teste"));
    }

    void formats_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("expected");
        QTest::newRow("money as shown") << "{C.consulta_valor}"
                                        << "1.234,50";
        QTest::newRow("money") << "{C.consulta_valor|money}"
                               << "R$ 1.234,50";
        QTest::newRow("number mask") << "{C.consulta_valor|number:#,##0.0}"
                                     << "1.234,5";
        QTest::newRow("integer rounds") << "{C.consulta_valor|integer}"
                                        << "1.235";
        QTest::newRow("date") << "{C.consulta_data}"
                              << "05/03/2026";
        QTest::newRow("date and time") << "{C.consulta_data|datetime}"
                                       << "05/03/2026 14:30";
        QTest::newRow("date mask") << "{C.consulta_data|date:dd/mm}"
                                   << "05/03";
        QTest::newRow("month") << "{C.consulta_data|month}"
                               << "Março";
        QTest::newRow("flag yes") << "{C.consulta_aprovado|flag}"
                                  << "Sim";
        QTest::newRow("flag no") << "{C.dentista_ativo|flag}"
                                 << "Não";
        QTest::newRow("cpf") << "{C.consulta_codigo|cpf}"
                             << "123.456.789-09";
        QTest::newRow("cnpj") << "{RvEmpresa.empresa_cgc|cnpj}"
                              << "23.456.789/0001-95";
        QTest::newRow("cep") << "{RvEmpresa.empresa_cep|cep}"
                             << "12243-000";
        QTest::newRow("upper") << "{RvEmpresa.empresa_cidade|upper}"
                               << "SÃO JOSÉ DOS CAMPOS";
        QTest::newRow("null") << "<{C.consulta_observacao}>"
                              << "<>";
        QTest::newRow("optional left out") << "a[, obs {C.consulta_observacao}]b"
                                           << "ab";
        QTest::newRow("optional kept") << "a[ - {C.consulta_aprovado}]b"
                                       << "a - Sb";
        QTest::newRow("escapes") << "{{x}} [[y]]"
                                 << "{x} [y]";
        QTest::newRow("print moment") << "{printDate} {printTime}"
                                      << "16/03/2026 09:30";
        QTest::newRow("report") << "{report}"
                                << "Teste";
    }
    void formats() {
        QFETCH(QString, source);
        QFETCH(QString, expected);
        Dataset* d = consultations({{1, "1.234,50"}});
        f->db().execute(QStringLiteral("update consulta set consulta_codigo = '12345678909'"));
        d->refresh();
        // A second flag column, to read "N".
        Dataset* both = f->dataset("SQL_Both", "select c.*, 'N' as dentista_ativo from consulta c");
        both->open();
        reportConnections().add(QStringLiteral("C"), both, f->screen());
        const QString page =
            QStringLiteral("<page><title height=\"10\"><text x=\"0\" y=\"0\" w=\"100\" h=\"10\">%1"
                           "</text></title></page>")
                .arg(source.toHtmlEscaped());
        QCOMPARE(test::ReportFixture::texts(build(project(page))), QStringList{expected});
    }

    // The detail reads rows where they are; the title the first row, the summary the
    // last; rows="current" only the row the screen stands on; through a data source,
    // whatever dataset it shows at the time.
    void rowsAsTheScreenHoldsThem() {
        Dataset* d = consultations({{1, "1,00"}, {2, "2,00"}, {3, "3,00"}, {4, "4,00"}});
        d->setFilter(QStringLiteral("dentista_id <> 2"));
        d->setFiltered(true);
        d->last();
        DataSource source(d, QStringLiteral("dsConsulta"));
        reportConnections().add(QStringLiteral("RvConsultas"), &source, f->screen());
        const QString bands = QStringLiteral(R"(
            <title height="6"><text x="0" y="0" w="50" h="6">primeira {RvConsultas.dentista_id}</text></title>
            <detail connection="RvConsultas" rows="%1" height="6"><text x="0" y="0" w="50" h="6">d{RvConsultas.dentista_id}</text></detail>
            <summary height="6"><text x="0" y="0" w="50" h="6">última {RvConsultas.dentista_id}</text></summary>)");
        QCOMPARE(test::ReportFixture::texts(build(project("<page>" + bands.arg("all") + "</page>"))),
                 QStringList({"primeira 1", "d1", "d3", "d4", "última 4"}));
        d->setSort(QStringLiteral("dentista_id DESC"));
        d->locate(QStringLiteral("dentista_id"), 3);
        QCOMPARE(test::ReportFixture::texts(build(project("<page>" + bands.arg("current") + "</page>"))),
                 QStringList({"primeira 3", "d3", "última 3"}));
        QCOMPARE(d->fieldByName("dentista_id")->asInteger(), 3);

        Dataset* other = consultations({{7, "7,00"}});
        other->setFilter(QStringLiteral("dentista_id = 7"));
        other->setFiltered(true);
        source.setDataset(other);
        QCOMPARE(test::ReportFixture::texts(build(project("<page>" + bands.arg("all") + "</page>"))),
                 QStringList({"primeira 7", "d7", "última 7"}));
    }

    void malformedProject_data() {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>("message");
        QTest::newRow("not well formed")
            << QByteArray("<reportProject>\n<report name=\"a\">\n<page>") << "(linha 3): XML malformado";
        QTest::newRow("other root") << QByteArray("<projeto/>")
                                    << "o elemento principal deve ser <reportProject>";
        QTest::newRow("unknown item") << project("<page><title height=\"5\"><texto/></title></page>")
                                      << "elemento <texto> desconhecido";
        QTest::newRow("unknown style")
            << project("<page><title height=\"5\"><text h=\"5\" style=\"x\">a</text>"
                       "</title></page>")
            << "estilo \"x\" não existe";
        QTest::newRow("unknown format")
            << project("<page><title height=\"5\"><text h=\"5\">{A.b|moeda}</text>"
                       "</title></page>")
            << "formato \"moeda\" desconhecido";
        QTest::newRow("open brace")
            << project("<page><title height=\"5\"><text h=\"5\">{A.b</text></title></page>") << "'{' sem '}'";
        QTest::newRow("unknown total") << project("<page><title height=\"5\"><text h=\"5\">{soma}</text>"
                                                  "</title></page>")
                                       << "não tem o total \"soma\"";
        QTest::newRow("band without height")
            << project("<page><title/></page>") << "sem o atributo \"height\"";
        QTest::newRow("margins") << project("<page margins=\"1 2\"/>") << "as margens são quatro números";
        QTest::newRow("group without detail") << project("<page><group name=\"g\" field=\"x\"/></page>")
                                              << "um grupo precisa de uma faixa <detail>";
        QTest::newRow("no pages") << project(QString()) << "o relatório \"Teste\" não tem páginas";
        QTest::newRow("twice") << QByteArray("<reportProject><report name=\"A\"><page/></report>"
                                             "<report name=\"a\"><page/></report></reportProject>")
                               << "relatório \"a\" repetido";
    }
    void malformedProject() {
        QFETCH(QByteArray, xml);
        QFETCH(QString, message);
        ReportProject p;
        try {
            p.load(xml, QStringLiteral("teste.rav"));
            QFAIL("accepted");
        } catch (const ReportError& e) {
            QVERIFY2(e.message().startsWith(
                         QStringLiteral("O projeto de relatórios \"teste.rav\" é inválido (linha ")),
                     qPrintable(e.message()));
            QVERIFY2(e.message().contains(message), qPrintable(e.message()));
            // The user reads it as it stands.
            const auto shown = ErrorTranslator::translate(std::current_exception());
            QCOMPARE(shown.kind, ErrorTranslator::Kind::Error);
            QVERIFY(shown.text.contains(e.message()));
        }
        QVERIFY(!p.isOpen());
        QVERIFY(p.reportNames().isEmpty());
        QVERIFY_THROWS_EXCEPTION(ReportError, p.execute(QStringLiteral("Teste")));
        QCOMPARE(m_pdf->deliveries(), 0);
    }

    // What is wrong with a project is told in the interface language.
    void malformedProjectInTheInterfaceLanguage_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("message");
        QTest::newRow("en")
            << "en"
            << "The report project \"teste.rav\" is invalid (line 1): style \"x\" does not exist.";
        QTest::newRow("es")
            << "es"
            << "El proyecto de informes \"teste.rav\" no es válido (línea 1): el estilo \"x\" no "
               "existe.";
    }
    void malformedProjectInTheInterfaceLanguage() {
        QFETCH(QString, language);
        QFETCH(QString, message);
        const Session before = session();
        const auto back = qScopeGuard([before] { session() = before; });
        session().setExecutableFolder(QStringLiteral(DV_SOURCE_DIR "/assets/"));
        session().setLanguage(language);
        ReportProject p;
        try {
            p.load(project("<page><title height=\"5\"><text h=\"5\" style=\"x\">a</text></title></page>"),
                   QStringLiteral("teste.rav"));
            QFAIL("accepted");
        } catch (const ReportError& e) {
            QCOMPARE(e.message(), message);
        }
    }

    void missingProjectFile() {
        ReportProject p;
        try {
            p.open(f->folder().path() + QStringLiteral("relatorio/Outro.rav"));
            QFAIL("opened");
        } catch (const ReportError& e) {
            QVERIFY(e.message().startsWith(QStringLiteral("Não foi possível abrir o projeto de relatórios")));
            QVERIFY(e.message().contains(QStringLiteral("Outro.rav")));
        }
    }

    // A connection that nobody registered, or whose screen has closed, or a field its
    // dataset lacks: a message naming it, and nothing printed.
    void connectionsAndFieldsMustExist() {
        Dataset* d = consultations({{1, "1,00"}});
        const QByteArray xml = project(
            QStringLiteral(
                R"(<page><detail connection="RvConsultas" height="6"><text h="6">{RvConsultas.%1}</text></detail></page>)")
                .arg("consulta_valor"));
        ReportProject p;
        p.load(xml, QStringLiteral("teste.rav"));
        auto failure = [&] {
            try {
                p.execute(QStringLiteral("Teste"));
            } catch (const ReportError& e) {
                return e.message();
            }
            return QString();
        };
        QCOMPARE(failure(),
                 QStringLiteral("A conexão de dados \"RvConsultas\" do relatório \"Teste\" não está "
                                "disponível: nenhuma tela aberta fornece esses dados."));
        reportConnections().add(QStringLiteral("rvconsultas"), d, f->screen());
        QCOMPARE(failure(), QString());
        QCOMPARE(m_pdf->deliveries(), 1);
        f->closeScreen();
        QVERIFY(!reportConnections().contains(QStringLiteral("RvConsultas")));
        QVERIFY(failure().contains(QStringLiteral("\"RvConsultas\"")));

        Dataset* again = consultations({{1, "1,00"}});
        reportConnections().add(QStringLiteral("RvConsultas"), again, f->screen());
        p.load(project(QStringLiteral(R"(<page><detail connection="RvConsultas" height="6"><text h="6">)"
                                      R"({RvConsultas.consulta_nada}</text></detail></page>)")),
               QStringLiteral("teste.rav"));
        QCOMPARE(failure(),
                 QStringLiteral("A conexão de dados \"RvConsultas\" não tem o campo \"consulta_nada\" "
                                "usado pelo relatório \"Teste\"."));
        QCOMPARE(m_pdf->deliveries(), 1);
        QVERIFY_THROWS_EXCEPTION(ReportError, p.execute(QStringLiteral("Relat_Inexistente")));
    }

    void bandTallerThanTheSheet() {
        try {
            build(project("<page><pageFooter height=\"20\"/><title height=\"260\"/></page>"));
            QFAIL("laid out");
        } catch (const ReportError& e) {
            QCOMPARE(e.message(),
                     QStringLiteral("A faixa de título da página \"Teste.Page1\" não cabe na folha."));
        }
    }

    // A linked picture file that is not there is an error the user sees, not a blank.
    void missingPictureFileIsAnError() {
        ReportProject p;
        p.load(project(QStringLiteral(R"(<page><title height="40">
                 <picture name="Falta" x="50" y="0" w="40" h="20" file="nao_existe.bmp" border="#000000"/>
               </title></page>)")),
               QStringLiteral("teste.rav"));
        try {
            p.build(QStringLiteral("Teste"));
            QFAIL("built without its picture");
        } catch (const ReportError& e) {
            QVERIFY2(e.message().startsWith(QStringLiteral("O arquivo de imagem \"")) &&
                         e.message().contains(QStringLiteral("nao_existe.bmp\" (figura Falta da página "
                                                             "\"Teste.Page1\") não foi encontrado.")),
                     qPrintable(e.message()));
        }
    }

    // The company logo from its picture column.
    void picturesFromColumnsAndFiles() {
        QImage logo(120, 60, QImage::Format_RGB32);
        logo.fill(QColor(0x1F, 0x4E, 0x79));
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        logo.save(&buffer, "PNG");
        f->db().execute(QStringLiteral("update empresa set empresa_logo = :l"),
                        {{"l", ParamType::Blob, png}});
        dm().SQL_Empresa->refresh();
        const QByteArray xml = project(QStringLiteral(R"(
            <page><title height="40">
              <picture name="Logo" x="0" y="0" w="40" h="20" field="RvEmpresa.empresa_logo"/>
            </title></page>
            <page><title height="40"><picture name="Logo2" x="0" y="0" w="40" h="20" field="RvEmpresa.empresa_logo"/></title></page>)"));
        ReportProject p;
        p.load(xml, QStringLiteral("teste.rav"));
        p.execute(QStringLiteral("Teste"));
        QCOMPARE(m_pdf->lastPageCount(), 2);
        // One picture on each sheet, kept once in the file.
        const QStringList drawn = test::ReportFixture::pdfImageObjects(m_pdf->fileName());
        QCOMPARE(drawn.size(), 2);
        QCOMPARE(drawn.first(), drawn.last());
        f->db().execute(QStringLiteral("update empresa set empresa_logo = NULL"));
        dm().SQL_Empresa->refresh();

        // Drawings linked as SVG files are drawn as such, fitted to their box.
        QTemporaryDir dir;
        QFile svg(dir.filePath(QStringLiteral("marca.svg")));
        QVERIFY(svg.open(QIODevice::WriteOnly));
        svg.write("<svg width='20' height='10'><rect width='20' height='10' fill='red'/></svg>");
        svg.close();
        p.load(project(QStringLiteral(R"(<page margins="0 0 0 0"><title height="40">
                 <picture name="Marca" x="10" y="10" w="40" h="20" file="%1"/></title></page>)")
                           .arg(svg.fileName())),
               QStringLiteral("teste.rav"));
        const ReportDocument doc = p.build(QStringLiteral("Teste"));
        QImage sheet(210, 297, QImage::Format_RGB32); // one pixel a millimetre
        sheet.setDotsPerMeterX(1000);
        sheet.setDotsPerMeterY(1000);
        sheet.fill(Qt::white);
        QPainter painter(&sheet);
        doc.paintSheet(painter, 0);
        painter.end();
        QCOMPARE(sheet.pixelColor(30, 20), QColor(Qt::red));
        QCOMPARE(sheet.pixelColor(5, 5), QColor(Qt::white));
        QCOMPARE(sheet.pixelColor(55, 20), QColor(Qt::white));
    }

    // A printer's page range and copies, when it cannot make the copies itself.
    void printerRangeAndCopies() {
        const QByteArray xml = project(QStringLiteral(R"(
            <page><title height="10"><text h="10">primeira</text></title></page>
            <page><title height="10"><text h="10">segunda</text></title></page>
            <page><title height="10"><text h="10">terceira</text></title></page>)"));
        const ReportDocument doc = build(xml);
        QCOMPARE(doc.pageCount(), 3);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_pdf->fileName());
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 3);
        printer.setCopyCount(2);
        printer.setCollateCopies(false);
        doc.print(printer);
        const QStringList pages =
            test::ReportFixture::pdfText(m_pdf->fileName()).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        QStringList words;
        for (const QString& page : pages)
            words << page.trimmed();
        QCOMPARE(words, QStringList({"segunda", "segunda", "terceira", "terceira"}));
    }
};

QTEST_MAIN(TestReportEngine)
#include "tst_reportengine.moc"

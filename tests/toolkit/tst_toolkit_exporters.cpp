// What the exporters write: the HTML table, the quoted CSV, the XML data packet
// with every field and row, the xlsx workbook, and the error of an unwritable file.
#include "ToolkitFixture.h"
#include "core/db/DbErrors.h"
#include "toolkit/CsvExporter.h"
#include "toolkit/HtmlTableExporter.h"
#include "toolkit/XlsxExporter.h"
#include "toolkit/XmlDataPacketExporter.h"
#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

using namespace dv;
using dv::test::ToolkitFixture;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const QList<GridColumn> shownColumns = {{"contato_nome", "Nome", 30},
                                        {"contato_cpf", "", 0},
                                        {"contato_data", "Data", 0},
                                        {"contato_valor", "Valor", 0},
                                        {"lk_uf", "Estado", 0}};

} // namespace

class TestToolkitExporters : public QObject {
    Q_OBJECT

    std::unique_ptr<ToolkitFixture> m_db;
    QTemporaryDir m_dir;
    Dataset& ds() { return *m_db->contacts; }
    QString path(const QString& name) { return m_dir.filePath(name); }

private slots:
    void init() { m_db = std::make_unique<ToolkitFixture>(); }
    void cleanup() { m_db.reset(); }

    void htmlTable() {
        ds().moveTo(1);
        const QString file = path("QbExport_Contatos.xls");
        HtmlTableExporter::write(file, ds(), shownColumns,
                                 "Agenda do período 01/03/2024 à 31/03/2024<br>Dentista: A & B");
        const QString html = QString::fromUtf8(readAll(file));
        QVERIFY(html.contains("charset=utf-8"));
        QVERIFY(html.contains("<h3>Agenda do período 01/03/2024 à 31/03/2024<br>Dentista: A &amp; B</h3>"));
        QVERIFY(html.contains(
            "<tr><th>Nº</th><th>Nome</th><th>CPF</th><th>Data</th><th>Valor</th><th>Estado</th></tr>"));
        QVERIFY(html.contains(
            "<td class=\"n\">1</td><td class=\"t\">Ana Souza</td><td class=\"t\">12345678909</td>"
            "<td>05/03/2024</td><td class=\"n\">123,45</td><td class=\"t\">Minas Gerais</td>"));
        // Values are escaped, never markup; empty values give empty cells.
        QVERIFY(
            html.contains("<td class=\"t\">Bruno &quot;Bê&quot; Lima</td><td class=\"t\"></td><td></td>"));
        QCOMPARE(html.count("<tr class=\"alt\">"), 1);
        QCOMPARE(html.count("<tr"), 4); // header and three rows
        QCOMPARE(ds().recNo(), 2);      // the current row did not move
        // Written again, the file is replaced.
        ds().setCriteria({{"contato_nome", "carla"}}, "filter");
        HtmlTableExporter::write(file, ds(), shownColumns);
        const QString again = QString::fromUtf8(readAll(file));
        QVERIFY(!again.contains("<h3>"));
        QCOMPARE(again.count("<tr"), 2);
    }

    void csvEveryValueQuoted() {
        const QString file = path("QbExport_Contatos.csv");
        CsvExporter::write(file, ds(), shownColumns);
        const QByteArray bytes = readAll(file);
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        const QStringList lines = QString::fromUtf8(bytes.mid(3)).split("\r\n");
        QCOMPARE(lines.size(), 5); // header, three rows, nothing after the last line break
        QCOMPARE(lines[0], QString("\"Nº\",\"Nome\",\"CPF\",\"Data\",\"Valor\",\"Estado\""));
        QCOMPARE(lines[1],
                 QString("\"1\",\"Ana Souza\",\"12345678909\",\"05/03/2024\",\"123,45\",\"Minas Gerais\""));
        QCOMPARE(lines[2], QString("\"2\",\"Bruno \"\"Bê\"\" Lima\",\"\",\"\",\"\",\"São Paulo\""));
        QCOMPARE(lines[4], QString());
        QCOMPARE(CsvExporter::quoted("a\"b"), QString("\"a\"\"b\""));
    }

    void xmlDataPacketHoldsEveryFieldAndRow() {
        ds().edit();
        ds().fieldByName("contato_obs")->setAsString("linha 1\nlinha 2 <b>&\x01");
        ds().fieldByName("contato_foto")->setBytes(QByteArray("\x89PNG\r\n", 6));
        ds().post();
        ds().setSort("contato_nome DESC");
        QList<QPair<int, int>> progress;
        const QString file = path("QbExport_Contatos.xml");
        XmlDataPacketExporter::write(file, ds(), [&](int recNo, int count) {
            progress.append({recNo, count});
        });
        QCOMPARE(progress, (QList<QPair<int, int>>{{1, 3}, {2, 3}, {3, 3}}));

        const QByteArray bytes = readAll(file);
        QVERIFY(bytes.startsWith(
            "<?xml version=\"1.0\" standalone=\"yes\"?><DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"));
        QXmlStreamReader xml(bytes);
        QMap<QString, QString> types;
        QList<QXmlStreamAttributes> rows;
        bool params = false;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) continue;
            if (xml.name() == QLatin1String("FIELD"))
                types.insert(xml.attributes().value("attrname").toString(),
                             xml.attributes().value("fieldtype").toString() + "/" +
                                 xml.attributes().value("SUBTYPE").toString() + "/" +
                                 xml.attributes().value("WIDTH").toString());
            else if (xml.name() == QLatin1String("ROW"))
                rows << xml.attributes();
            else if (xml.name() == QLatin1String("PARAMS"))
                params = true;
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QVERIFY(params);
        // Every column of the query, hidden ones too; lookups are not columns.
        QCOMPARE(types.size(), 13);
        QCOMPARE(types["contato_id"], QString("i4/Autoinc/"));
        QCOMPARE(types["contato_nome"], QString("string//60"));
        QCOMPARE(types["contato_data"], QString("dateTime//"));
        QCOMPARE(types["contato_valor"], QString("r8/Money/"));
        QCOMPARE(types["contato_obs"], QString("bin.hex/Text/"));
        QCOMPARE(types["contato_foto"], QString("bin.hex/Binary/"));
        QCOMPARE(types["contato_qtd"], QString("i4//"));
        QVERIFY(!types.contains("lk_uf"));
        // Every row, in the dataset's order, with typed values; empty ones left out.
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[0].value("contato_nome").toString(), QString("Carla Dias"));
        QCOMPARE(rows[0].value("contato_data").toString(), QString("19951231T00:00:00000"));
        QCOMPARE(rows[0].value("contato_valor").toString(), QString("5"));
        QCOMPARE(rows[0].value("contato_qtd").toString(), QString("7"));
        QCOMPARE(rows[1].value("contato_nome").toString(), QString("Bruno \"Bê\" Lima"));
        QVERIFY(!rows[1].hasAttribute("contato_cpf"));
        QCOMPARE(rows[2].value("contato_valor").toString(), QString("123.45"));
        QCOMPARE(rows[2].value("contato_obs").toString(), QString("linha 1\nlinha 2 <b>&"));
        QCOMPARE(QByteArray::fromBase64(rows[2].value("contato_foto").toLatin1()),
                 QByteArray("\x89PNG\r\n", 6));
    }

    void xlsxWorkbook() {
        const QString file = path("QbExport_Contatos.xlsx");
        XlsxExporter::write(file, ds(), shownColumns, "Contatos");
        const QByteArray bytes = readAll(file);
        QVERIFY(bytes.size() > 1000);
        QVERIFY(bytes.startsWith("PK\x03\x04")); // a zip package
        QVERIFY(bytes.contains("xl/worksheets/sheet1.xml"));
        QVERIFY(!QFile::exists(file + ".tmp"));
    }

    void unwritableFilesGiveAClearError_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("html") << 0;
        QTest::newRow("csv") << 1;
        QTest::newRow("xml") << 2;
        QTest::newRow("xlsx") << 3;
    }
    void unwritableFilesGiveAClearError() {
        QFETCH(int, kind);
        const QString file = path("no such folder/QbExport_Contatos.out");
        QString message;
        try {
            switch (kind) {
            case 0:
                HtmlTableExporter::write(file, ds(), shownColumns);
                break;
            case 1:
                CsvExporter::write(file, ds(), shownColumns);
                break;
            case 2:
                XmlDataPacketExporter::write(file, ds());
                break;
            default:
                XlsxExporter::write(file, ds(), shownColumns);
                break;
            }
        } catch (const PlainError& e) {
            message = e.message();
        }
        // The file named in full, and the system's own reason.
        QFile probe(file);
        QVERIFY(!probe.open(QIODevice::WriteOnly));
        QCOMPARE(message, "Não foi possível gravar o arquivo " + file + ": " + probe.errorString());
        QVERIFY(!QFile::exists(file));
    }
};

QTEST_MAIN(TestToolkitExporters)
#include "tst_toolkit_exporters.moc"

#include "core/IniFile.h"
#include "core/IniSettingsStore.h"
#include "core/db/DbErrors.h"
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using dv::IniFile;

class TestIniFile : public QObject {
    Q_OBJECT
private slots:
    void readString_data();
    void readString();
    void missingFileReadsEmpty();
    void encodings_data();
    void encodings();
    void sectionRewriteKeepsOrderAndOtherSections();
    void settingsStoreHives();
    void settingsStoreWriteFailureRaises();
};

namespace {
void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}
} // namespace

void TestIniFile::readString_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    const QByteArray config =
        "[App]\nDataBase=banco/DBDentrivale.mdb\nLanguage=en\n[Aplicacao]\nConfigap=Local\n";
    QTest::newRow("plain") << config << "App"
                           << "Language"
                           << "en";
    QTest::newRow("section and key without case") << config << "app"
                                                  << "DATABASE"
                                                  << "banco/DBDentrivale.mdb";
    QTest::newRow("other section") << config << "Aplicacao"
                                   << "Configap"
                                   << "Local";
    QTest::newRow("key of another section") << config << "App"
                                            << "Configap"
                                            << "";
    QTest::newRow("missing section") << config << "Nada"
                                     << "Language"
                                     << "";
    QTest::newRow("missing key") << config << "App"
                                 << "Nada"
                                 << "";
    QTest::newRow("CRLF") << QByteArray("[App]\r\nLanguage=es\r\nDataBase=x\r\n") << "App"
                          << "Language"
                          << "es";
    QTest::newRow("blanks around names and values")
        << QByteArray("  [ App ]  \n   Language   =   pt_BR   \n") << "App"
        << "Language"
        << "pt_BR";
    QTest::newRow("blank before = (captured hint)") << QByteArray("[f]\ndbRadio.Hint =Escolha\n") << "f"
                                                    << "dbRadio.Hint"
                                                    << "Escolha";
    QTest::newRow("value with = and quotes") << QByteArray("[f]\nr.Items=\"a b\";\"c=d\"\n") << "f"
                                             << "r.Items"
                                             << "\"a b\";\"c=d\"";
    QTest::newRow("first key wins") << QByteArray("[App]\nLanguage=en\nlanguage=es\n") << "App"
                                    << "Language"
                                    << "en";
    QTest::newRow("first section wins")
        << QByteArray("[App]\nLanguage=en\n[APP]\nLanguage=es\nOther=1\n") << "App"
        << "Other"
        << "";
    QTest::newRow("comment line") << QByteArray("[App]\n;Language=en\nLanguage=es\n") << "App"
                                  << "Language"
                                  << "es";
    QTest::newRow("key before any section") << QByteArray("Language=en\n[App]\n") << "App"
                                            << "Language"
                                            << "";
    QTest::newRow("line without =") << QByteArray("[App]\nLanguage\nX=1\n") << "App"
                                    << "Language"
                                    << "";
    QTest::newRow("empty value") << QByteArray("[App]\nLanguage=\n") << "App"
                                 << "Language"
                                 << "";
    QTest::newRow("no trailing newline") << QByteArray("[App]\nLanguage=en") << "App"
                                         << "Language"
                                         << "en";
    QTest::newRow("empty file") << QByteArray() << "App"
                                << "Language"
                                << "";
}

void TestIniFile::readString() {
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("config.ini"));
    writeFile(path, content);
    QCOMPARE(IniFile::readString(path, section, key), expected);
}

void TestIniFile::missingFileReadsEmpty() {
    QTemporaryDir dir;
    QCOMPARE(IniFile::readString(dir.filePath(QStringLiteral("nada.ini")), QStringLiteral("App"),
                                 QStringLiteral("Language")),
             QString());
    // A folder is not a readable file.
    QCOMPARE(IniFile::readString(dir.path(), QStringLiteral("App"), QStringLiteral("Language")), QString());
}

void TestIniFile::encodings_data() {
    QTest::addColumn<QByteArray>("content");
    const QString text =
        QStringLiteral("[frmPaciente]\nfrmPaciente.Caption=Cadastro de Pacientes – Física\n");
    QTest::newRow("utf-8") << text.toUtf8();
    QTest::newRow("utf-8 with BOM") << QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    // A file in the Windows code page: 0x96 is the dash there.
    QByteArray windows = text.toLatin1();
    windows.replace('?', '\x96');
    QTest::newRow("windows-1252") << windows;
}

void TestIniFile::encodings() {
    QFETCH(QByteArray, content);
    const QString caption =
        IniFile::parse(content).value(QStringLiteral("frmPaciente"), QStringLiteral("frmPaciente.Caption"));
    QCOMPARE(caption, QStringLiteral("Cadastro de Pacientes – Física"));
}

void TestIniFile::sectionRewriteKeepsOrderAndOtherSections() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Dentrivale.ini"));
    writeFile(path, "[frmUsuariowwDBGrid1]\nusuario_nome=30;;Nome;;F\n[Outra]\nx=1\n");

    IniFile ini = IniFile::load(path);
    // Display order, not alphabetical; the old entry goes.
    ini.setSection(QStringLiteral("FRMUSUARIOwwDBGrid1"),
                   {{QStringLiteral("usuario_login"), QStringLiteral("20;;Login;;F")},
                    {QStringLiteral("grupo_nome"), QStringLiteral("25;;Grupo\r\nNome;;F")},
                    {QStringLiteral("usuario_ativo"), QStringLiteral("5;;Ativo;;F")}});
    ini.setSection(QStringLiteral("Nova"), {{QStringLiteral("a"), QStringLiteral("b")}});
    QVERIFY(ini.save(path));

    const IniFile back = IniFile::load(path);
    QCOMPARE(back.sectionNames(), (QStringList{QStringLiteral("frmUsuariowwDBGrid1"), QStringLiteral("Outra"),
                                               QStringLiteral("Nova")}));
    const dv::IniEntries entries = back.entries(QStringLiteral("frmusuariowwdbgrid1"));
    QCOMPARE(entries.size(), 3);
    QCOMPARE(entries.at(0).first, QStringLiteral("usuario_login"));
    QCOMPARE(entries.at(1),
             std::make_pair(QStringLiteral("grupo_nome"), QStringLiteral("25;;Grupo Nome;;F")));
    QCOMPARE(entries.at(2).first, QStringLiteral("usuario_ativo"));
    QCOMPARE(back.value(QStringLiteral("Outra"), QStringLiteral("x")), QStringLiteral("1"));
}

void TestIniFile::settingsStoreHives() {
    QTemporaryDir dir;
    const QString storeName = dir.filePath(QStringLiteral("app/Dentrivale.ini"));
    const QString hive = dir.filePath(QStringLiteral("home/.config/Dentrivale/user.ini"));
    dv::IniSettingsStore store(hive);
    const dv::SettingsEntries user = {{QStringLiteral("usuario_nome"), QStringLiteral("30;;Nome;;F")}};
    const dv::SettingsEntries patient = {{QStringLiteral("paciente_nome"), QStringLiteral("40;;Nome;;F")},
                                         {QStringLiteral("paciente_cpf"), QStringLiteral("14;;CPF;;F")}};

    store.writeSection(dv::SettingsHive::File, storeName, QStringLiteral("frmUsuariowwDBGrid1"), user);
    store.writeSection(dv::SettingsHive::User, storeName, QStringLiteral("frmPacientewwDBGrid1"), patient);

    QCOMPARE(store.readSection(dv::SettingsHive::File, storeName, QStringLiteral("frmUsuariowwDBGrid1")),
             user);
    QCOMPARE(store.readSection(dv::SettingsHive::User, storeName, QStringLiteral("frmPacientewwDBGrid1")),
             patient);
    // Each hive keeps its own sections.
    QVERIFY(store.readSection(dv::SettingsHive::File, storeName, QStringLiteral("frmPacientewwDBGrid1"))
                .isEmpty());
    QVERIFY(store.readSection(dv::SettingsHive::User, storeName, QStringLiteral("frmUsuariowwDBGrid1"))
                .isEmpty());
    QVERIFY(QFile::exists(storeName));
    QVERIFY(QFile::exists(hive));

    // Rewriting erases the old entries.
    store.writeSection(dv::SettingsHive::User, storeName, QStringLiteral("frmPacientewwDBGrid1"),
                       {patient.at(1)});
    QCOMPARE(store.readSection(dv::SettingsHive::User, storeName, QStringLiteral("frmPacientewwDBGrid1")),
             dv::SettingsEntries{patient.at(1)});
}

void TestIniFile::settingsStoreWriteFailureRaises() {
    // A store whose folder is a plain file cannot be written, whatever the rights.
    QTemporaryDir dir;
    const QString notAFolder = dir.filePath(QStringLiteral("app"));
    writeFile(notAFolder, "x");
    dv::IniSettingsStore store(dir.filePath(QStringLiteral("user.ini")));
    QVERIFY_THROWS_EXCEPTION(dv::PlainError,
                             store.writeSection(dv::SettingsHive::File,
                                                notAFolder + QStringLiteral("/Dentrivale.ini"),
                                                QStringLiteral("frmUsuariowwDBGrid1"),
                                                {{QStringLiteral("x"), QStringLiteral("1")}}));
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"

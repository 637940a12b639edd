#include "core/IniFile.h"
#include <QtTest>

// The shared message files the installation ships.
class TestShippedLanguage : public QObject {
    Q_OBJECT
private slots:
    void cadastroMessages_data() {
        QTest::addColumn<QString>("code");
        QTest::newRow("pt_BR") << "pt_BR";
        QTest::newRow("en") << "en";
        QTest::newRow("es") << "es";
    }
    void cadastroMessages() {
        QFETCH(QString, code);
        const QString file = QStringLiteral(DV_APP_DIR "/language/Default_%1.lpu").arg(code);
        QVERIFY(QFile::exists(file));
        for (const char* key : {"sMsgCampoObrigatorio", "sMsgCampoCPF", "sMsgCampoCPFValida", "sMsgCampoCNPJ",
                                "sMsgCampoCNPJValida", "sMsgSalvar", "sMsgSalvarAoFechar",
                                "sMsgAjudaNaoEncontrada", "sMsgAjudaNaoAberta"})
            QVERIFY2(!dv::IniFile::readString(file, QStringLiteral("Cadastro"), QLatin1String(key)).isEmpty(),
                     key);
        // Texts the program composes in code.
        for (const auto& [section, key] : {std::pair{"Lista", "sMsgRegistros"}, std::pair{"Lista", "sMsgFiltrado"},
                                           std::pair{"Consulta", "sAnos"}})
            QVERIFY2(!dv::IniFile::readString(file, QLatin1String(section), QLatin1String(key)).isEmpty(), key);
        // A format with exactly one place for the field's label.
        QCOMPARE(dv::IniFile::readString(file, QStringLiteral("Cadastro"), QStringLiteral("sMsgCampoObrigatorio"))
                     .count(QStringLiteral("%s")),
                 1);
    }
};

QTEST_GUILESS_MAIN(TestShippedLanguage)
#include "tst_shippedlanguage.moc"

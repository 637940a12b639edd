// A screen's language file reaches the toolkit's boxes even when no other toolkit
// control was made before in the process: this program makes nothing else.
#include "core/ComponentTexts.h"
#include "core/LanguageFile.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBImage.h"
#include "toolkit/DBLookupCombo.h"
#include "toolkit/DBMemo.h"
#include <QTemporaryDir>
#include <QtTest>

using namespace dv;

class TestToolkitTexts : public QObject {
    Q_OBJECT
private slots:
    void firstBoxesOfTheProcessTakeTheirTexts() {
        QWidget screen;
        screen.setObjectName(QStringLiteral("frmTeste"));
        auto* chooser = new DBLookupCombo(&screen);
        chooser->setObjectName(QStringLiteral("DBLC_Paciente"));
        chooser->setLookup(nullptr, QStringLiteral("paciente_id"),
                           {QStringLiteral("paciente_nome"), QStringLiteral("paciente_fone")},
                           {QStringLiteral("Nome"), QStringLiteral("Fone")});
        auto* edit = new DBEdit(&screen);
        edit->setObjectName(QStringLiteral("DBEdit1"));
        auto* memo = new DBMemo(&screen);
        memo->setObjectName(QStringLiteral("DBMemo1"));
        auto* picture = new DBImage(&screen);
        picture->setObjectName(QStringLiteral("DBImage1"));

        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("frmTeste.lpu"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[frmTeste]\nDBLC_Paciente.Hint=Patient\nDBLC_Paciente.Items=Name;Phone\n"
                "DBEdit1.Hint=Name\nDBMemo1.Hint=Notes\nDBImage1.Hint=Photo\n");
        f.close();
        QVERIFY(LanguageFile::apply(&screen, file, QStringLiteral("frmTeste")));

        const ComponentTextKind* kind = ComponentTexts::kindOf(chooser);
        QVERIFY(kind && kind->items);
        QCOMPARE(kind->items(chooser), (QStringList{"Name", "Phone"}));
        QCOMPARE(chooser->toolTip(), QStringLiteral("Patient"));
        QCOMPARE(edit->toolTip(), QStringLiteral("Name"));
        QCOMPARE(memo->toolTip(), QStringLiteral("Notes"));
        QCOMPARE(picture->toolTip(), QStringLiteral("Photo"));
    }
};

QTEST_MAIN(TestToolkitTexts)
#include "tst_toolkit_texts.moc"

#include "ScriptedServices.h"
#include "core/ComponentTag.h"
#include "core/ComponentTexts.h"
#include "core/LanguageFile.h"
#include "core/Localization.h"
#include "core/Session.h"
#include "core/db/Dataset.h"
#include "core/db/Field.h"
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QPrintPreviewDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QtTest>

// Stands for the toolkit's data-bound radio group, which registers its own texts.
class FakeRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    using QGroupBox::QGroupBox;
    QStringList items;
};

namespace {
void registerRadioGroup() {
    dv::ComponentTextKind kind;
    kind.type = &FakeRadioGroup::staticMetaObject;
    kind.keys = {dv::TextKey::Caption, dv::TextKey::Hint, dv::TextKey::Items};
    kind.text = [](const QObject* o, dv::TextKey key) {
        auto* r = static_cast<const FakeRadioGroup*>(o);
        return key == dv::TextKey::Caption ? r->title() : r->toolTip();
    };
    kind.setText = [](QObject* o, dv::TextKey key, const QString& v) {
        auto* r = static_cast<FakeRadioGroup*>(o);
        key == dv::TextKey::Caption ? r->setTitle(v) : r->setToolTip(v);
    };
    kind.items = [](const QObject* o) { return static_cast<const FakeRadioGroup*>(o)->items; };
    kind.setItems = [](QObject* o, const QStringList& items) {
        static_cast<FakeRadioGroup*>(o)->items = items;
    };
    kind.blankBeforeHintEquals = true;
    dv::ComponentTexts::registerKind(kind);
}

// A small screen with one component of each kind the files address.
struct Screen {
    QWidget window;
    QLabel* label;
    QPushButton* button;
    QCheckBox* check;
    QGroupBox* group;
    QGroupBox* emptyGroup;
    QTabWidget* tabs;
    QWidget* page1;
    QWidget* page2;
    QMenu* menu;
    QAction* action;
    FakeRadioGroup* radio;
    dv::Field* field;
    dv::Field* taggedField;
    QLabel* tagged;

    Screen() {
        window.setObjectName(QStringLiteral("frmTeste"));
        window.setWindowTitle(QStringLiteral("Teste"));
        auto* layout = new QVBoxLayout(&window);
        label = new QLabel(QStringLiteral("Nome:"), &window);
        label->setObjectName(QStringLiteral("Label1"));
        label->setToolTip(QStringLiteral("Nome do paciente"));
        button = new QPushButton(QStringLiteral("&Salvar"), &window);
        button->setObjectName(QStringLiteral("btnSalvar"));
        button->setToolTip(QStringLiteral("Salvar registro"));
        group = new QGroupBox(QStringLiteral("Dados"), &window);
        group->setObjectName(QStringLiteral("GroupBox1"));
        check = new QCheckBox(QStringLiteral("Ativo"), group);
        check->setObjectName(QStringLiteral("chkAtivo"));
        emptyGroup = new QGroupBox(&window);
        emptyGroup->setObjectName(QStringLiteral("GroupBox2"));
        tabs = new QTabWidget(&window);
        tabs->setObjectName(QStringLiteral("PageControl1"));
        page1 = new QWidget;
        page1->setObjectName(QStringLiteral("TabSheet1"));
        page2 = new QWidget;
        page2->setObjectName(QStringLiteral("TabSheet2"));
        tabs->addTab(page1, QStringLiteral("Dados Gerais"));
        tabs->addTab(page2, QStringLiteral("Fotos"));
        menu = new QMenu(QStringLiteral("Opções"), &window);
        menu->setObjectName(QStringLiteral("PopupOpcoes"));
        action = new QAction(QStringLiteral("Imprimir ficha"), &window);
        action->setObjectName(QStringLiteral("mnuFicha"));
        menu->addAction(action);
        radio = new FakeRadioGroup(QStringLiteral("Pessoa"), &window);
        radio->setObjectName(QStringLiteral("dbRadioPessoa"));
        radio->items = {QStringLiteral("Física"), QStringLiteral("Jurídica")};
        auto* query = new dv::Dataset(nullptr, QStringLiteral("SQL_Consulta"), &window);
        dv::FieldDef name;
        name.name = QStringLiteral("paciente_nome");
        name.displayLabel = QStringLiteral("Nome");
        field = query->addField(name);
        dv::FieldDef internal;
        internal.name = QStringLiteral("paciente_id");
        internal.tag = 9;
        taggedField = query->addField(internal);
        tagged = new QLabel(QStringLiteral("interno"), &window);
        tagged->setObjectName(QStringLiteral("lbInterno"));
        dv::setComponentTag(tagged, 9);
        for (QWidget* w :
             {static_cast<QWidget*>(label), static_cast<QWidget*>(button), static_cast<QWidget*>(group),
              static_cast<QWidget*>(emptyGroup), static_cast<QWidget*>(tabs), static_cast<QWidget*>(radio),
              static_cast<QWidget*>(tagged)})
            layout->addWidget(w);
    }
};

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}
} // namespace

class TestLocalization : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void dialogTexts_data();
    void dialogTexts();
    void toolkitTexts();
    void qtDialogsSpeakTheLanguage_data();
    void qtDialogsSpeakTheLanguage();
    void applyReplacesNonEmptyTexts();
    void applyWithoutTitleKeyBlanksTitle();
    void applyWithoutFileChangesNothing_data();
    void applyWithoutFileChangesNothing();
    void items_data();
    void items();
    void captureWritesCurrentTextsAndReadsBack();
    void captureCancelledWritesNothing();
    void sharedMessage();
    void languageVariantPath();

private:
    QTemporaryDir m_dir;
};

void TestLocalization::initTestCase() {
    registerRadioGroup();
}

void TestLocalization::init() {
    dv::session().reset();
    dv::session().setExecutableFolder(m_dir.path());
    dv::resetDialogTexts();
}

void TestLocalization::cleanup() {
    QDir(m_dir.path() + QStringLiteral("/language")).removeRecursively();
    dv::resetDialogTexts();
    dv::session().reset();
}

void TestLocalization::dialogTexts_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("applied");
    QTest::addColumn<QStringList>(
        "texts"); // warning, error, information, confirmation captions; yes, no, retry, no to all
    QTest::newRow("pt_BR") << "pt_BR" << true << QStringList{"Atenção", "Erro", "Informação", "Confirmar",
                                                             "&Sim",    "&Não", "&Repetir",   "Nã&o a Todos"};
    QTest::newRow("en") << "en" << true << QStringList{"Warning", "Error", "Information", "Confirm",
                                                       "&Yes",    "&No",   "&Retry",      "N&o to All"};
    QTest::newRow("es") << "es" << true << QStringList{"Advertencia", "Error", "Información", "Confirmar",
                                                       "&Sí",         "&No",   "&Rever",      "N&o a todo"};
    // Any other code leaves the texts in force (the built-in ones here).
    QTest::newRow("EN is not en") << "EN" << false
                                  << QStringList{"Warning", "Error", "Information", "Confirm",
                                                 "&Yes",    "&No",   "&Retry",      "N&o to All"};
    QTest::newRow("empty") << "" << false << QStringList{"Warning", "Error", "Information", "Confirm",
                                                         "&Yes",    "&No",   "&Retry",      "N&o to All"};
}

void TestLocalization::dialogTexts() {
    QFETCH(QString, language);
    QFETCH(bool, applied);
    QFETCH(QStringList, texts);
    QCOMPARE(dv::setDialogTexts(language), applied);
    const dv::DialogTexts& t = dv::dialogTexts();
    QCOMPARE((QStringList{t.warningCaption, t.errorCaption, t.informationCaption, t.confirmationCaption,
                          t.yes, t.no, t.retry, t.noToAll}),
             texts);
    // A later unknown code keeps what was chosen.
    dv::setDialogTexts(QStringLiteral("fr"));
    QCOMPARE(dv::dialogTexts().yes, texts.at(4));
}

void TestLocalization::toolkitTexts() {
    QCOMPARE(dv::toolkitText(dv::ToolkitText::NavNext), QStringLiteral("Next record"));
    dv::setDialogTexts(QStringLiteral("pt_BR"));
    QCOMPARE(dv::toolkitText(dv::ToolkitText::NavNext), QStringLiteral("Próximo registro"));
    QCOMPARE(dv::toolkitText(dv::ToolkitText::LocateTitle), QStringLiteral("Localizar"));
    dv::setDialogTexts(QStringLiteral("es"));
    QCOMPARE(dv::toolkitText(dv::ToolkitText::NavNext), QStringLiteral("Registro siguiente"));
    dv::setDialogTexts(QStringLiteral("xx"));
    QCOMPARE(dv::toolkitText(dv::ToolkitText::NavNext), QStringLiteral("Registro siguiente"));
    QCOMPARE(dv::toolkitText(dv::ToolkitText::Count), QString());
}

void TestLocalization::qtDialogsSpeakTheLanguage_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("fileName"); // the file dialog's label
    QTest::addColumn<QString>("fitWidth"); // the print preview's action
    QTest::newRow("pt_BR") << "pt_BR" << "&Nome do arquivo:" << "Ajustar à largura";
    QTest::newRow("es") << "es" << "&Nombre de archivo:" << "Ajustar ancho";
    QTest::newRow("en") << "en" << "File &name:" << "Fit width";
    // Another code leaves Qt's own (English) texts.
    QTest::newRow("fr") << "fr" << "File &name:" << "Fit width";
}

void TestLocalization::qtDialogsSpeakTheLanguage() {
    QFETCH(QString, language);
    QFETCH(QString, fileName);
    QFETCH(QString, fitWidth);
    dv::setDialogTexts(QStringLiteral("es")); // a language chosen before is replaced
    dv::resetDialogTexts();
    dv::setDialogTexts(language);
    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    auto* label = files.findChild<QLabel*>(QStringLiteral("fileNameLabel"));
    QVERIFY(label);
    QCOMPARE(label->text(), fileName);
    QPrintPreviewDialog preview;
    QStringList actions;
    for (QAction* a : preview.findChildren<QAction*>())
        actions << a->text();
    QVERIFY2(actions.contains(fitWidth), qPrintable(actions.join(QLatin1Char('|'))));
}

void TestLocalization::applyReplacesNonEmptyTexts() {
    dv::session().setLanguage(QStringLiteral("en"));
    writeFile(m_dir.filePath(QStringLiteral("language/en/frmTeste.lpu")),
              QStringLiteral("[frmTeste]\r\n"
                             "frmTeste.Caption=Test\r\n"
                             "label1.caption=Name:\r\n" // names without regard to case
                             "Label1.Hint=\r\n"         // empty: the hint stays
                             "btnSalvar.Caption=&Save\r\n"
                             "btnSalvar.Hint=Save record\r\n"
                             "chkAtivo.Caption=Active\r\n"
                             "GroupBox1.Caption=Data\r\n"
                             "TabSheet2.Caption=Photos\r\n"
                             "TabSheet2.Hint=Patient photos\r\n"
                             "PopupOpcoes.Caption=Options\r\n"
                             "mnuFicha.Caption=Print record card\r\n"
                             "dbRadioPessoa.Caption=Person\r\n"
                             "dbRadioPessoa.Items=Individual;\"Legal entity\"\r\n"
                             "SQL_Consultapaciente_nome.DisplayLabel=Name\r\n"
                             "SQL_Consultapaciente_id.DisplayLabel=Id\r\n"
                             "lbInterno.Caption=internal\r\n" // tag 9 only keeps it out of captures
                             "btnNaoExiste.Caption=Nothing\r\n")
                  .toUtf8());
    Screen s;
    dv::applyLanguageFile(&s.window);
    QCOMPARE(s.window.windowTitle(), QStringLiteral("Test"));
    QCOMPARE(s.label->text(), QStringLiteral("Name:"));
    QCOMPARE(s.label->toolTip(), QStringLiteral("Nome do paciente"));
    QCOMPARE(s.button->text(), QStringLiteral("&Save"));
    QCOMPARE(s.button->toolTip(), QStringLiteral("Save record"));
    QCOMPARE(s.check->text(), QStringLiteral("Active"));
    QCOMPARE(s.group->title(), QStringLiteral("Data"));
    QCOMPARE(s.tabs->tabText(0), QStringLiteral("Dados Gerais"));
    QCOMPARE(s.tabs->tabText(1), QStringLiteral("Photos"));
    QCOMPARE(s.tabs->tabToolTip(1), QStringLiteral("Patient photos"));
    QCOMPARE(s.menu->title(), QStringLiteral("Options"));
    QCOMPARE(s.action->text(), QStringLiteral("Print record card"));
    QCOMPARE(s.radio->title(), QStringLiteral("Person"));
    QCOMPARE(s.radio->items, (QStringList{QStringLiteral("Individual"), QStringLiteral("Legal entity")}));
    QCOMPARE(s.field->displayLabel(), QStringLiteral("Name"));
    QCOMPARE(s.taggedField->displayLabel(), QStringLiteral("Id"));
    QCOMPARE(s.tagged->text(), QStringLiteral("internal"));
}

void TestLocalization::applyWithoutTitleKeyBlanksTitle() {
    dv::session().setLanguage(QStringLiteral("es"));
    writeFile(m_dir.filePath(QStringLiteral("language/es/frmTeste.lpu")),
              "[frmTeste]\nbtnSalvar.Caption=&Grabar\n");
    Screen s;
    dv::applyLanguageFile(&s.window);
    QCOMPARE(s.window.windowTitle(), QString());
    QCOMPARE(s.button->text(), QStringLiteral("&Grabar"));
    QCOMPARE(s.label->text(), QStringLiteral("Nome:"));
}

void TestLocalization::applyWithoutFileChangesNothing_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>(
        "fileToMake"); // relative to the executable folder; a folder when it ends in '/'
    QTest::newRow("no language folder") << "en"
                                        << "";
    QTest::newRow("other screen's file only") << "en"
                                              << "language/en/frmOutro.lpu";
    QTest::newRow("unreadable: a folder of that name") << "en"
                                                       << "language/en/frmTeste.lpu/";
    QTest::newRow("no language") << ""
                                 << "language/frmTeste.lpu";
    QTest::newRow("language leaving the folder") << "../x"
                                                 << "x/frmTeste.lpu";
}

void TestLocalization::applyWithoutFileChangesNothing() {
    QFETCH(QString, language);
    QFETCH(QString, fileToMake);
    dv::session().setLanguage(language);
    if (fileToMake.endsWith(QLatin1Char('/')))
        QVERIFY(QDir().mkpath(m_dir.filePath(fileToMake)));
    else if (!fileToMake.isEmpty())
        writeFile(m_dir.filePath(fileToMake),
                  "[frmTeste]\nfrmTeste.Caption=Outro\nbtnSalvar.Caption=Outro\n");
    // Message dialogs already follow the language even without screen files.
    dv::setDialogTexts(language);
    Screen s;
    dv::applyLanguageFile(&s.window);
    QCOMPARE(s.window.windowTitle(), QStringLiteral("Teste"));
    QCOMPARE(s.button->text(), QStringLiteral("&Salvar"));
    QDir(m_dir.filePath(QStringLiteral("x"))).removeRecursively();
}

void TestLocalization::items_data() {
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("value");
    QTest::newRow("plain") << QStringList{QStringLiteral("Física"), QStringLiteral("Jurídica")}
                           << QStringLiteral("Física;Jurídica");
    QTest::newRow("blank inside") << QStringList{QStringLiteral("Pessoa Física"), QStringLiteral("Jurídica")}
                                  << QStringLiteral("\"Pessoa Física\";Jurídica");
    QTest::newRow("semicolon and quote") << QStringList{QStringLiteral("a;b"), QStringLiteral("diz \"oi\"")}
                                         << QStringLiteral("\"a;b\";\"diz \"\"oi\"\"\"");
    QTest::newRow("two quoted") << QStringList{QStringLiteral("a b"), QStringLiteral("c d")}
                                << QStringLiteral("\"a b\";\"c d\"");
    QTest::newRow("tab is a control character")
        << QStringList{QStringLiteral("a\tb")} << QStringLiteral("\"a\tb\"");
    QTest::newRow("empty choice in the middle")
        << QStringList{QStringLiteral("a"), QString(), QStringLiteral("b")} << QStringLiteral("a;;b");
    QTest::newRow("single") << QStringList{QStringLiteral("Sim")} << QStringLiteral("Sim");
}

void TestLocalization::items() {
    QFETCH(QStringList, items);
    QFETCH(QString, value);
    QCOMPARE(dv::LanguageFile::joinItems(items), value);
    QCOMPARE(dv::LanguageFile::splitItems(value), items);
}

void TestLocalization::captureWritesCurrentTextsAndReadsBack() {
    dv::test::ScriptedServices services;
    const QString target = m_dir.filePath(QStringLiteral("capturado.lpu"));
    services.fileDialogs.queueSave(target);
    Screen s;
    s.radio->items = {QStringLiteral("Pessoa Física"), QStringLiteral("Jurídica")};
    QVERIFY(dv::captureLanguageFile(&s.window));

    QCOMPARE(services.fileDialogs.requests().size(), 1);
    const dv::FileDialogRequest r = services.fileDialogs.requests().at(0).request;
    QVERIFY(services.fileDialogs.requests().at(0).save);
    QCOMPARE(r.caption, QStringLiteral("Arquivos de Linguagem"));
    QCOMPARE(r.filter, QStringLiteral("Arquivos de Linguagem (.lpu)|*.lpu"));
    QCOMPARE(r.defaultSuffix, QStringLiteral("lpu"));
    QCOMPARE(r.folder, m_dir.path() + QStringLiteral("/language/pt_BR"));
    QCOMPARE(r.fileName, QStringLiteral("frmTeste"));
    QVERIFY(r.confirmOverwrite);

    QFile f(target);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.mid(0, 2),
             (QStringList{QStringLiteral("[frmTeste]"), QStringLiteral("frmTeste.Caption=Teste")}));
    QVERIFY(lines.contains(QStringLiteral("Label1.Caption=Nome:")));
    QVERIFY(lines.contains(QStringLiteral("Label1.Hint=Nome do paciente")));
    QVERIFY(lines.contains(QStringLiteral("GroupBox1.Caption=Dados")));
    QVERIFY(lines.contains(QStringLiteral("TabSheet1.Caption=Dados Gerais")));
    QVERIFY(lines.contains(QStringLiteral("dbRadioPessoa.Hint =")));
    QVERIFY(lines.contains(QStringLiteral("dbRadioPessoa.Items=\"Pessoa Física\";Jurídica")));
    QVERIFY(lines.contains(QStringLiteral("SQL_Consultapaciente_nome.DisplayLabel=Nome")));
    // Captionless group boxes, tag 9 and Qt's own unnamed children are left out.
    for (const QString& line : lines) {
        QVERIFY2(!line.startsWith(QLatin1String("GroupBox2.")), qPrintable(line));
        QVERIFY2(!line.startsWith(QLatin1String("lbInterno.")), qPrintable(line));
        QVERIFY2(!line.startsWith(QLatin1String("SQL_Consultapaciente_id.")), qPrintable(line));
        QVERIFY2(!line.startsWith(QLatin1Char('.')) && !line.startsWith(QLatin1String("qt_")),
                 qPrintable(line));
    }
    // Creation order: the label before the button.
    QVERIFY(lines.indexOf(QStringLiteral("Label1.Caption=Nome:")) <
            lines.indexOf(QStringLiteral("btnSalvar.Caption=&Salvar")));

    // The captured file, put in place, gives a changed screen its texts back.
    dv::session().setLanguage(QStringLiteral("pt_BR"));
    QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("language/pt_BR"))));
    QVERIFY(QFile::copy(target, m_dir.filePath(QStringLiteral("language/pt_BR/frmTeste.lpu"))));
    Screen other;
    other.window.setWindowTitle(QStringLiteral("x"));
    other.button->setText(QStringLiteral("x"));
    other.radio->items = {QStringLiteral("x")};
    dv::applyLanguageFile(&other.window);
    QCOMPARE(other.window.windowTitle(), QStringLiteral("Teste"));
    QCOMPARE(other.button->text(), QStringLiteral("&Salvar"));
    QCOMPARE(other.radio->items, s.radio->items);
    DV_VERIFY_SERVICES(services);
}

void TestLocalization::captureCancelledWritesNothing() {
    dv::test::ScriptedServices services;
    services.fileDialogs.queueSave(QString());
    Screen s;
    QVERIFY(!dv::captureLanguageFile(&s.window));
    // A window that is not a screen: no dialog at all.
    QWidget plain;
    QVERIFY(!dv::captureLanguageFile(&plain));
    QCOMPARE(services.fileDialogs.requests().size(), 1);
    DV_VERIFY_SERVICES(services);
}

void TestLocalization::sharedMessage() {
    dv::session().setLanguage(QStringLiteral("en"));
    writeFile(m_dir.filePath(QStringLiteral("language/Default_en.lpu")),
              "[Cadastro]\nsMsgCampoObrigatorio=The field %s is required!\nsMsgSalvar=Save changes?\n");
    QCOMPARE(dv::sharedMessage(QStringLiteral("Cadastro"), QStringLiteral("sMsgCampoObrigatorio")),
             QStringLiteral("The field %s is required!"));
    QCOMPARE(dv::sharedMessage(QStringLiteral("cadastro"), QStringLiteral("SMSGSALVAR")),
             QStringLiteral("Save changes?"));
    QCOMPARE(dv::sharedMessage(QStringLiteral("Cadastro"), QStringLiteral("sMsgCampoCPF")), QString());
    dv::session().setLanguage(QStringLiteral("es"));
    QCOMPARE(dv::sharedMessage(QStringLiteral("Cadastro"), QStringLiteral("sMsgSalvar")), QString());
}

// The banners: a picture per interface language beside the Portuguese one.
void TestLocalization::languageVariantPath() {
    QDir(m_dir.path()).mkpath(QStringLiteral("skins"));
    for (const char* name : {"skins/config.jpg", "skins/config_en.jpg"}) {
        QFile f(m_dir.filePath(QLatin1String(name)));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    const QString plain = m_dir.path() + QStringLiteral("/skins/config.jpg");
    QCOMPARE(dv::languageVariantPath(QStringLiteral("skins\\config.jpg")), plain);
    dv::session().setLanguage(QStringLiteral("en"));
    QCOMPARE(dv::languageVariantPath(QStringLiteral("skins\\config.jpg")),
             m_dir.path() + QStringLiteral("/skins/config_en.jpg"));
    // No Spanish picture, or a language naming another folder: the plain one.
    for (const char* code : {"es", "pt_BR", "../x"}) {
        dv::session().setLanguage(QLatin1String(code));
        QCOMPARE(dv::languageVariantPath(QStringLiteral("skins\\config.jpg")), plain);
    }
    QDir(m_dir.path() + QStringLiteral("/skins")).removeRecursively();
}

QTEST_MAIN(TestLocalization)
#include "tst_localization.moc"

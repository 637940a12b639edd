#include "core/CodeTexts.h"
#include "core/IniFile.h"
#include "core/Session.h"
#include <QDirIterator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {
struct CodeText {
    QString text;
    QString where; // file:line of its first use
};

// The C++ escapes a message literal may hold, on the UTF-8 bytes.
QString unescape(const QByteArray& literal) {
    QByteArray bytes;
    for (qsizetype i = 0; i < literal.size(); ++i) {
        const char c = literal.at(i);
        if (c != '\\' || i + 1 == literal.size()) {
            bytes += c;
            continue;
        }
        const char e = literal.at(++i);
        bytes += e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e;
    }
    return QString::fromUtf8(bytes);
}

// The literal argument of every dv::text("...") and DV_TEXT("...") in the program's
// sources; adjacent literals are joined as the compiler joins them. A call whose
// argument is not a literal must pass a DV_TEXT one: only QString wrappers are refused.
QList<CodeText> codeTexts(QStringList* refused) {
    static const QRegularExpression call(QStringLiteral("(?:dv::text|DV_"
                                                        "TEXT)\\(\\s*"));
    static const QRegularExpression literal(QStringLiteral("\\G\\s*(?:u8)?\"((?:[^\"\\\\\\n]|\\\\.)*)\""));
    QList<CodeText> found;
    QDirIterator it(QStringLiteral(DV_SOURCE_DIR "/src"), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                    QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.endsWith(QLatin1String("core/CodeTexts.h"))) continue;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) continue;
        const QString source = QString::fromUtf8(file.readAll());
        for (auto m = call.globalMatch(source); m.hasNext();) {
            const auto c = m.next();
            QByteArray joined;
            qsizetype at = c.capturedEnd();
            bool any = false;
            for (auto l = literal.match(source, at, QRegularExpression::NormalMatch,
                                        QRegularExpression::AnchorAtOffsetMatchOption);
                 l.hasMatch(); l = literal.match(source, at, QRegularExpression::NormalMatch,
                                                 QRegularExpression::AnchorAtOffsetMatchOption)) {
                joined += l.captured(1).toUtf8();
                at = l.capturedEnd();
                any = true;
            }
            const QString where = QStringLiteral("%1:%2")
                                      .arg(QDir(QStringLiteral(DV_SOURCE_DIR)).relativeFilePath(path))
                                      .arg(source.left(c.capturedStart()).count(QLatin1Char('\n')) + 1);
            if (any)
                found.append({unescape(joined), where});
            else if (source.mid(c.capturedEnd(), 8).startsWith(QLatin1String("QString")))
                refused->append(where);
        }
    }
    return found;
}

QSet<QString> placeholders(const QString& text) {
    QSet<QString> set;
    static const QRegularExpression place(QStringLiteral(R"(%\d)"));
    for (auto m = place.globalMatch(text); m.hasNext();)
        set.insert(m.next().captured());
    return set;
}
} // namespace

class TestCodeTexts : public QObject {
    Q_OBJECT
private slots:
    void lookUp();
    void shippedTranslations_data();
    void shippedTranslations();
    void messagesGoThroughTheMechanism();
};

void TestCodeTexts::lookUp() {
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("language"));
    const QString pt = QStringLiteral("Parcela %1 já paga = não altere!");
    QFile file(dir.filePath(QStringLiteral("language/Default_en.lpu")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write((QStringLiteral("[Lista]\n") + dv::codeTextKey(pt) +
                QStringLiteral("=wrong section\n[Textos]\n; ") + pt + QLatin1Char('\n') +
                dv::codeTextKey(pt) + QStringLiteral("=Installment %1 already paid:\\ndo not change it!\n") +
                dv::codeTextKey(QStringLiteral(" Pacientes: ")) + QStringLiteral("=Patient list\n"))
                   .toUtf8());
    file.close();
    dv::session().reset();
    dv::session().setExecutableFolder(dir.path() + QLatin1Char('/'));

    // No language: the Portuguese text.
    QCOMPARE(dv::text("Parcela %1 já paga = não altere!"), pt);
    dv::session().setLanguage(QStringLiteral("en"));
    QCOMPARE(dv::text("Parcela %1 já paga = não altere!").arg(3),
             QStringLiteral("Installment 3 already paid:\ndo not change it!"));
    // The code's spacing around the text is kept although the file trims it.
    QCOMPARE(dv::text(" Pacientes: "), QStringLiteral(" Patient list "));
    QCOMPARE(dv::text("Texto sem tradução"), QStringLiteral("Texto sem tradução"));
    // A language without a file, or one naming another folder, falls back too.
    for (const char* code : {"es", "../en"}) {
        dv::session().setLanguage(QLatin1String(code));
        QCOMPARE(dv::text("Parcela %1 já paga = não altere!"), pt);
    }
    dv::session().reset();
}

void TestCodeTexts::shippedTranslations_data() {
    QTest::addColumn<QString>("code");
    QTest::newRow("en") << "en";
    QTest::newRow("es") << "es";
}

// Every text the program writes through dv::text has a translation with the same
// placeholders, and the files keep no text the program no longer writes.
void TestCodeTexts::shippedTranslations() {
    QFETCH(QString, code);
    QStringList refused;
    const QList<CodeText> texts = codeTexts(&refused);
    QVERIFY(texts.size() > 0);
    const dv::IniFile file =
        dv::IniFile::load(QStringLiteral(DV_SOURCE_DIR "/assets/language/Default_%1.lpu").arg(code));
    QStringList problems;
    QHash<QString, QString> byKey;
    for (const CodeText& t : texts) {
        const QString key = dv::codeTextKey(t.text);
        if (byKey.contains(key) && byKey.value(key) != t.text)
            problems << QStringLiteral("%1: same key as \"%2\"; reword one of them")
                            .arg(t.where, byKey.value(key));
        if (byKey.contains(key)) continue;
        byKey.insert(key, t.text);
        const QString translated = dv::decodeCodeText(file.value(QStringLiteral("Textos"), key));
        if (translated.isEmpty())
            problems << QStringLiteral("%1: no text; add under [Textos]:\n; %2\n%3=")
                            .arg(t.where, QString(t.text).replace(QLatin1Char('\n'), QLatin1String("\\n")),
                                 key);
        else if (placeholders(translated) != placeholders(t.text))
            problems
                << QStringLiteral("%1 (%2): the placeholders differ from \"%3\"").arg(key, t.where, t.text);
    }
    for (const auto& [key, value] : file.entries(QStringLiteral("Textos")))
        if (!byKey.contains(key.toLower()))
            problems << QStringLiteral("%1=%2: no longer written by the program; remove it").arg(key, value);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
}

// A message given to the dialogs service as a bare literal would stay Portuguese.
void TestCodeTexts::messagesGoThroughTheMechanism() {
    QStringList refused;
    codeTexts(&refused);
    static const QRegularExpression bare(QStringLiteral(
        R"(dialogs\(\)\s*\.\s*(?:warning|information|error|confirmation|question)\(\s*(?:QStringLiteral\(|QString\(|tr\(|"))"));
    QDirIterator it(QStringLiteral(DV_SOURCE_DIR "/src"), {QStringLiteral("*.cpp")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) continue;
        const QString source = QString::fromUtf8(file.readAll());
        for (auto m = bare.globalMatch(source); m.hasNext();) {
            const auto c = m.next();
            refused << QStringLiteral("%1:%2: a message literal outside dv::text")
                           .arg(QDir(QStringLiteral(DV_SOURCE_DIR)).relativeFilePath(path))
                           .arg(source.left(c.capturedStart()).count(QLatin1Char('\n')) + 1);
        }
    }
    QVERIFY2(refused.isEmpty(), qPrintable(refused.join(QLatin1Char('\n'))));
}

QTEST_GUILESS_MAIN(TestCodeTexts)
#include "tst_codetexts.moc"

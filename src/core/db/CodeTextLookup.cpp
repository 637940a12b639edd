#include "CodeTextLookup.h"
#include <QCryptographicHash>
#include <atomic>

namespace dv {

namespace {
std::atomic<CodeTextLookup> installed{nullptr};

// The file trims its values: spaces around the text are the code's, not the translator's.
QString withSpacingOf(const QString& portuguese, const QString& translated) {
    qsizetype lead = 0;
    while (lead < portuguese.size() && portuguese.at(lead).isSpace())
        ++lead;
    qsizetype trail = 0;
    while (trail < portuguese.size() - lead && portuguese.at(portuguese.size() - 1 - trail).isSpace())
        ++trail;
    return portuguese.left(lead) + translated.trimmed() + portuguese.right(trail);
}
} // namespace

void setCodeTextLookup(CodeTextLookup lookup) {
    installed.store(lookup);
}

QString codeTextKey(const QString& portuguese) {
    const QByteArray digest = QCryptographicHash::hash(portuguese.toUtf8(), QCryptographicHash::Sha1);
    return QLatin1Char('t') + QString::fromLatin1(digest.toHex().left(8));
}

QString decodeCodeText(QStringView stored) {
    QString text;
    text.reserve(stored.size());
    for (qsizetype i = 0; i < stored.size(); ++i) {
        if (stored.at(i) == QLatin1Char('\\') && i + 1 < stored.size()) {
            const QChar next = stored.at(i + 1);
            if (next == QLatin1Char('n')) {
                text += QLatin1Char('\n');
                ++i;
                continue;
            }
            if (next == QLatin1Char('\\')) {
                text += QLatin1Char('\\');
                ++i;
                continue;
            }
        }
        text += stored.at(i);
    }
    return text;
}

QString text(const QString& portuguese) {
    const CodeTextLookup lookup = installed.load();
    if (portuguese.isEmpty() || !lookup) return portuguese;
    const QString stored = lookup(codeTextKey(portuguese));
    return stored.isEmpty() ? portuguese : withSpacingOf(portuguese, decodeCodeText(stored));
}

QString text(const char* portuguese) {
    return text(QString::fromUtf8(portuguese));
}

} // namespace dv

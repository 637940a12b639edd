#pragma once
#include <QString>
#include <QStringView>

namespace dv {

// The code texts' translation, kept at the bottom so that the dataset layer's
// messages follow the interface language too. The library knows no language of
// its own: whoever holds it (the session) installs the lookup. Without one, or
// without a translation, a text is its Portuguese self. See core/CodeTexts.h.
QString text(const char* portuguese);
QString text(const QString& portuguese);

// The key a text is filed under: "t" and the first 8 hex digits of the SHA-1 of
// its UTF-8 bytes (accents, '=' and punctuation would not survive as a key).
QString codeTextKey(const QString& portuguese);
// A value as the file holds it: "\n" stands for a line break, "\\" for a backslash.
QString decodeCodeText(QStringView stored);

// Answers the stored (still encoded) text for a key, or an empty text.
using CodeTextLookup = QString (*)(const QString& key);
void setCodeTextLookup(CodeTextLookup lookup);

} // namespace dv

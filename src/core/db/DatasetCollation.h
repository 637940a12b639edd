#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QCollator>
#include <QString>
#include <QStringView>

namespace dv {

// Text order as a Brazilian reader expects it: the pt_BR collator, without regard
// to case, so "Álvaro" sorts with A and "Érica" with E.
//
// Computing the collator's sort key of every row is the slow part of sorting a large
// list, so most text takes a short cut: text made only of letters (accented or not),
// digits and blanks gets a key of its primary weights (one byte per character, in the
// collator's own order: blank < digits < letters, accents and case ignored). Two such
// keys that differ decide the order exactly as the collator would; equal keys and any
// other text are left to the collator itself.
class DatasetCollation {
public:
    // The process's collator for text order (pt_BR, case-insensitive).
    static QCollator& collator();

    // Primary key of UTF-8 text; false (and out unspecified) when the text has characters
    // outside the short cut's set.
    static bool primaryKey(QByteArrayView utf8, QByteArray& out);
    static bool primaryKey(QStringView text, QByteArray& out);
    // The same into out, which has room for utf8.size() bytes: the key's length, or -1.
    static qsizetype primaryKey(QByteArrayView utf8, char* out);

    // The text without accents and in lower case, for "begins with" searches that agree
    // with the order above.
    static QString fold(QStringView text);
    static bool startsWithFolded(QStringView text, QStringView foldedPrefix);
};

} // namespace dv

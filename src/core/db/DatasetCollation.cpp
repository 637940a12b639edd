#include "DatasetCollation.h"
#include <QLocale>
#include <array>

namespace dv {

namespace {

constexpr int TableSize = 0x370; // Latin letters and the combining diacritical marks
constexpr quint8 Complex = 0xFF;
constexpr quint8 Ignorable = 0x00;

// Primary weight of each code point of the table, in the collator's order; letters
// with a canonical decomposition to a base letter and marks weigh as the base letter.
struct Weights {
    std::array<quint8, TableSize> weight{};
    std::array<char16_t, TableSize> folded{};

    Weights() {
        for (int cp = 0; cp < TableSize; ++cp) {
            weight[size_t(cp)] = Complex;
            folded[size_t(cp)] = char16_t(QChar(cp).toLower().unicode());
        }
        weight[' '] = 0x03;
        for (int d = 0; d < 10; ++d)
            weight[size_t('0' + d)] = quint8(0x10 + d);
        for (int l = 0; l < 26; ++l) {
            weight[size_t('a' + l)] = weight[size_t('A' + l)] = quint8(0x20 + l);
            folded[size_t('A' + l)] = char16_t('a' + l);
        }
        for (int cp = 0x300; cp < TableSize; ++cp) {
            weight[size_t(cp)] = Ignorable;
            folded[size_t(cp)] = 0;
        }
        for (int cp = 0xC0; cp < 0x300; ++cp) {
            QChar c(cp);
            char16_t base = 0;
            // Follow canonical decompositions down to the base character.
            while (c.decompositionTag() == QChar::Canonical) {
                const QString d = c.decomposition();
                bool marksOnly = true;
                for (int i = 1; i < d.size(); ++i)
                    if (d[i].category() != QChar::Mark_NonSpacing) marksOnly = false;
                if (!marksOnly || d.isEmpty()) break;
                c = d[0];
                base = c.unicode();
            }
            if (base && base < 0x80 && QChar(base).isLetter()) {
                const char16_t lower = char16_t(QChar(base).toLower().unicode());
                weight[size_t(cp)] = quint8(0x20 + (lower - u'a'));
                folded[size_t(cp)] = lower;
            }
        }
    }
};

const Weights& weights() {
    static const Weights w;
    return w;
}

} // namespace

QCollator& DatasetCollation::collator() {
    static QCollator c = [] {
        QCollator k(QLocale(QLocale::Portuguese, QLocale::Brazil));
        k.setCaseSensitivity(Qt::CaseInsensitive);
        k.setNumericMode(false);
        k.setIgnorePunctuation(false);
        return k;
    }();
    return c;
}

bool DatasetCollation::primaryKey(QByteArrayView utf8, QByteArray& out) {
    out.resize(utf8.size()); // a key never has more bytes than the text
    const qsizetype n = primaryKey(utf8, out.data());
    if (n < 0) return false;
    out.resize(n);
    return true;
}

qsizetype DatasetCollation::primaryKey(QByteArrayView utf8, char* out) {
    const Weights& w = weights();
    char* o = out;
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    const auto* end = p + utf8.size();
    while (p < end) {
        unsigned cp = *p;
        if (cp < 0x80) {
            ++p;
        } else if ((cp & 0xE0) == 0xC0 && p + 1 < end && (p[1] & 0xC0) == 0x80) {
            cp = ((cp & 0x1F) << 6) | (p[1] & 0x3F);
            p += 2;
        } else {
            return -1;
        }
        if (cp >= unsigned(TableSize)) return -1;
        const quint8 k = w.weight[cp];
        if (k == Complex) return -1;
        if (k != Ignorable) *o++ = char(k);
    }
    return o - out;
}

bool DatasetCollation::primaryKey(QStringView text, QByteArray& out) {
    const Weights& w = weights();
    out.resize(0);
    for (QChar c : text) {
        const unsigned cp = c.unicode();
        if (cp >= unsigned(TableSize)) return false;
        const quint8 k = w.weight[cp];
        if (k == Complex) return false;
        if (k != Ignorable) out.append(char(k));
    }
    return true;
}

QString DatasetCollation::fold(QStringView text) {
    const Weights& w = weights();
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const unsigned cp = c.unicode();
        if (cp < unsigned(TableSize)) {
            if (const char16_t f = w.folded[cp]) out += QChar(f);
        } else {
            out += c.toLower();
        }
    }
    return out;
}

bool DatasetCollation::startsWithFolded(QStringView text, QStringView foldedPrefix) {
    return fold(text).startsWith(foldedPrefix);
}

} // namespace dv

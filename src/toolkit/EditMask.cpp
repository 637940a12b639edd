#include "EditMask.h"
#include <QStringList>

namespace dv {

namespace {
// The system's input characters and their Qt equivalents.
QChar qtInputChar(QChar c) {
    switch (c.unicode()) {
    case '0':
        return QLatin1Char('9');
    case '9':
        return QLatin1Char('0');
    case '#':
        return QLatin1Char('#');
    case 'L':
        return QLatin1Char('A');
    case 'l':
        return QLatin1Char('a');
    case 'A':
        return QLatin1Char('N');
    case 'a':
        return QLatin1Char('n');
    case 'C':
        return QLatin1Char('X');
    case 'c':
        return QLatin1Char('x');
    default:
        return QChar();
    }
}

bool isQtSpecial(QChar c) {
    static const QString special = QStringLiteral("AaNnXx90Dd#HhBb><!\\[]{};");
    return special.contains(c);
}
} // namespace

EditMask::EditMask(const QString& systemMask) : m_system(systemMask) {
    // The picture may itself hold ';' only escaped; the last two parts are optional.
    QString picture = systemMask;
    QString rest;
    for (int i = 0; i < systemMask.size(); ++i) {
        if (systemMask[i] == QLatin1Char('\\')) {
            ++i;
            continue;
        }
        if (systemMask[i] == QLatin1Char(';')) {
            picture = systemMask.left(i);
            rest = systemMask.mid(i + 1);
            break;
        }
    }
    if (!rest.isNull()) {
        const QStringList parts = rest.split(QLatin1Char(';'));
        m_storeLiterals = parts.value(0).trimmed() != QLatin1String("0");
        if (parts.size() > 1 && !parts[1].isEmpty()) m_blank = parts[1][0];
    }

    for (int i = 0; i < picture.size(); ++i) {
        const QChar c = picture[i];
        if (c == QLatin1Char('\\') && i + 1 < picture.size()) {
            const QChar lit = picture[++i];
            m_slots += lit;
            m_qt += (isQtSpecial(lit) ? QStringLiteral("\\") : QString()) + lit;
        } else if (c == QLatin1Char('<') && i + 1 < picture.size() && picture[i + 1] == QLatin1Char('>')) {
            ++i;
            m_qt += QLatin1Char('!');
        } else if (c == QLatin1Char('>') || c == QLatin1Char('<')) {
            m_qt += c;
        } else if (c == QLatin1Char('!')) {
            // leading-blank trimming: nothing to do in Qt
        } else if (const QChar q = qtInputChar(c); !q.isNull()) {
            m_slots += QChar();
            m_qt += q;
        } else {
            m_slots += c;
            m_qt += (isQtSpecial(c) ? QStringLiteral("\\") : QString()) + c;
        }
    }
    if (!m_slots.isEmpty()) m_qt += QLatin1Char(';') + m_blank;
}

QString EditMask::typedText(const QString& shown) const {
    if (isEmpty()) return shown;
    QString out;
    for (int i = 0; i < shown.size() && i < m_slots.size(); ++i) {
        if (!m_slots[i].isNull()) continue;
        const QChar c = shown[i];
        if (c != m_blank && c != QLatin1Char(' ')) out += c;
    }
    return out;
}

QString EditMask::toStored(const QString& shown) const {
    if (isEmpty()) return shown;
    if (typedText(shown).isEmpty()) return QString();
    if (!m_storeLiterals) return typedText(shown);
    QString out;
    for (int i = 0; i < m_slots.size(); ++i) {
        const QChar c = i < shown.size() ? shown[i] : m_blank;
        out += m_slots[i].isNull() && c == m_blank ? QLatin1Char(' ') : c;
    }
    while (out.endsWith(QLatin1Char(' ')))
        out.chop(1);
    return out;
}

QString EditMask::toEditText(const QString& stored) const {
    if (isEmpty() || stored.isEmpty()) return stored;
    // A value holding the literals at their places is given whole; bare characters
    // (or literals missing, as in data typed elsewhere) fill the input positions.
    bool literalsInPlace = stored.size() <= m_slots.size();
    for (int i = 0; literalsInPlace && i < stored.size(); ++i)
        if (!m_slots[i].isNull() && stored[i] != m_slots[i]) literalsInPlace = false;
    bool hasLiteral = false;
    for (int i = 0; i < stored.size() && i < m_slots.size(); ++i)
        if (!m_slots[i].isNull()) hasLiteral = true;
    if (literalsInPlace && hasLiteral) return stored;

    QString out;
    int from = 0;
    for (int i = 0; i < m_slots.size(); ++i) {
        if (!m_slots[i].isNull()) {
            out += m_slots[i];
            continue;
        }
        // Skip characters of the value that are literals of the picture.
        while (from < stored.size() && m_slots.contains(stored[from]) && !stored[from].isDigit() &&
               !stored[from].isLetter())
            ++from;
        out += from < stored.size() ? stored[from++] : QLatin1Char(' ');
    }
    return out;
}

} // namespace dv

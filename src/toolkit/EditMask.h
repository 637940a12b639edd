#pragma once
#include <QString>

namespace dv {

// An edit mask in the system's notation, "999.999.999-99;0;_":
//   - before the first ';' the picture: 0 a required digit, 9 an optional digit, # a digit
//     or sign, L/l a letter, A/a a letter or digit, C/c any character (upper case
//     required, lower case optional), > upper case from here, < lower case, <> as typed,
//     \ makes the next character literal, ! is ignored; anything else is a literal;
//   - then 0 (the stored value holds only the typed characters) or 1 (it holds the
//     literals too);
//   - then the character shown in positions not yet typed ('_' when missing).
// Qt's input masks use 9 and 0 the other way round; qtInputMask() translates.
class EditMask {
public:
    EditMask() = default;
    explicit EditMask(const QString& systemMask);

    bool isEmpty() const { return m_slots.isEmpty(); }
    const QString& systemMask() const { return m_system; }
    // For QLineEdit::setInputMask, blank character included ("000.000.000-00;_").
    QString qtInputMask() const { return m_qt; }
    bool storesLiterals() const { return m_storeLiterals; }
    QChar blank() const { return m_blank; }
    // Positions of the picture, literals included.
    int length() const { return int(m_slots.size()); }

    // The value to store for the text a masked box shows (its displayText(), unfilled
    // positions holding the blank character): the typed characters alone, or the whole
    // text with blanks as spaces and trailing blanks dropped. Empty when nothing was typed.
    QString toStored(const QString& shown) const;
    // Only the typed characters of a shown text (what a document check reads).
    QString typedText(const QString& shown) const;
    // The text to give a masked box (QLineEdit::setText) for a stored value: bare
    // characters fill the input positions in order; a value stored with its literals
    // is given as it is.
    QString toEditText(const QString& stored) const;

private:
    QString m_system;
    QString m_qt;
    QString m_slots; // per position: the literal, or QChar() for an input position
    bool m_storeLiterals = true;
    QChar m_blank = QLatin1Char('_');
};

} // namespace dv

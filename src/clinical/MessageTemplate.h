#pragma once
#include <QObject>
#include <QString>

class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace dv::messages {

// The clinic's stored message a screen lets the user edit ("confirmacao", "retorno",
// "aniversario"): its text box and save button, the user's right to change it, and
// the offer to keep a changed text when the screen closes.
class MessageTemplate : public QObject {
    Q_OBJECT
public:
    // The save button saves; the screen's name picks its edit right.
    MessageTemplate(const QString& name, QPlainTextEdit* text, QPushButton* save, QWidget* screen);

    // Shows the stored text. Without the screen's edit right the text is used as the
    // clinic left it: read-only, and the save button disabled.
    void load();
    // Keeps the text for every user. An empty text is refused with a message and
    // nothing changes; false then.
    bool save();
    // Before the screen closes: a changed text is offered to be kept. False when the
    // user cancels or the text could not be kept: the screen then stays open.
    bool mayClose();

private:
    QString m_name;
    QPlainTextEdit* m_text;
    QPushButton* m_save;
    QWidget* m_screen;
};

} // namespace dv::messages

#pragma once
#include "core/DialogService.h"
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace dv::test {

// Answers the message dialogs from queues and records every message asked.
// A confirmation, question or input box with no queued answer is unexpected: it
// is recorded as such, warned about, and answered No / cancelled; tests check
// verifyNoUnexpected() (or DV_VERIFY_DIALOGS) at the end.
//
//   ScriptedDialogs dialogs;             // usually through ScriptedServices
//   dialogs.queueConfirmation(true);      // the next confirmation answers Yes
//   ... drive the screen ...
//   QCOMPARE(dialogs.lastText(), "Registro com chave duplicada. Campo 'x'.");
class ScriptedDialogs : public DialogService {
public:
    enum class Kind { Information, Warning, Error, Confirmation, Question, MessageBox, InputBox };
    struct Message {
        Kind kind;
        QString caption; // the dialog's caption as the real dialog would show it
        QString text;    // the message (the prompt of an input box)
        bool unexpected = false;
    };

    void queueConfirmation(bool yes) { m_confirmations.append(yes); }
    void queueQuestion(Answer answer) { m_questions.append(answer); }
    // nullopt answers as Cancel.
    void queueInput(std::optional<QString> answer) { m_inputs.append(std::move(answer)); }

    // Called while a message is "shown" (after it is recorded), e.g. to check the
    // state of a screen at that moment.
    std::function<void(const Message&)> onMessage;

    const QList<Message>& messages() const { return m_messages; }
    QStringList texts() const;
    QStringList texts(Kind kind) const;
    QString lastText() const { return m_messages.isEmpty() ? QString() : m_messages.last().text; }
    std::optional<Kind> lastKind() const;
    qsizetype count() const { return m_messages.size(); }
    void clearMessages() { m_messages.clear(); }

    int pendingAnswers() const { return int(m_confirmations.size() + m_questions.size() + m_inputs.size()); }
    QStringList unexpected() const;
    // False with a description when a dialog went unanswered or answers are left.
    bool verifyNoUnexpected(QString* why = nullptr) const;

    static QString kindName(Kind kind);

    void information(const QString& text) override;
    void warning(const QString& text) override;
    void error(const QString& text) override;
    bool confirmation(const QString& text) override;
    Answer question(const QString& text) override;
    void messageBox(const QString& text, const QString& caption = QString()) override;
    std::optional<QString> inputBox(const QString& caption, const QString& prompt,
                                    const QString& defaultValue) override;

private:
    void record(Kind kind, const QString& caption, const QString& text, bool unexpected);

    QList<bool> m_confirmations;
    QList<Answer> m_questions;
    QList<std::optional<QString>> m_inputs;
    QList<Message> m_messages;
};

} // namespace dv::test

// Fails the current test when a dialog went unanswered or queued answers are left.
#define DV_VERIFY_DIALOGS(dialogs)                                                                           \
    do {                                                                                                     \
        QString dvWhy_;                                                                                      \
        QVERIFY2((dialogs).verifyNoUnexpected(&dvWhy_), qPrintable(dvWhy_));                                 \
    } while (false)

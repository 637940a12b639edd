#include "ScriptedDialogs.h"
#include "core/Localization.h"
#include <QDebug>
#include <QGuiApplication>

namespace dv::test {

QString ScriptedDialogs::kindName(Kind kind) {
    switch (kind) {
    case Kind::Information:
        return QStringLiteral("information");
    case Kind::Warning:
        return QStringLiteral("warning");
    case Kind::Error:
        return QStringLiteral("error");
    case Kind::Confirmation:
        return QStringLiteral("confirmation");
    case Kind::Question:
        return QStringLiteral("question");
    case Kind::MessageBox:
        return QStringLiteral("message box");
    case Kind::InputBox:
        return QStringLiteral("input box");
    }
    return QString();
}

void ScriptedDialogs::record(Kind kind, const QString& caption, const QString& text, bool unexpected) {
    m_messages.append({kind, caption, text, unexpected});
    if (unexpected)
        qWarning().noquote() << "ScriptedDialogs: unexpected" << kindName(kind)
                             << "with no queued answer:" << text;
    if (onMessage) onMessage(m_messages.last());
}

QStringList ScriptedDialogs::texts() const {
    QStringList result;
    for (const Message& m : m_messages)
        result.append(m.text);
    return result;
}

QStringList ScriptedDialogs::texts(Kind kind) const {
    QStringList result;
    for (const Message& m : m_messages)
        if (m.kind == kind) result.append(m.text);
    return result;
}

std::optional<ScriptedDialogs::Kind> ScriptedDialogs::lastKind() const {
    if (m_messages.isEmpty()) return std::nullopt;
    return m_messages.last().kind;
}

QStringList ScriptedDialogs::unexpected() const {
    QStringList result;
    for (const Message& m : m_messages)
        if (m.unexpected) result.append(kindName(m.kind) + QStringLiteral(": ") + m.text);
    return result;
}

bool ScriptedDialogs::verifyNoUnexpected(QString* why) const {
    QStringList problems;
    for (const QString& u : unexpected())
        problems.append(QStringLiteral("unanswered ") + u);
    if (!m_confirmations.isEmpty())
        problems.append(QStringLiteral("%1 confirmation answer(s) never asked").arg(m_confirmations.size()));
    if (!m_questions.isEmpty())
        problems.append(QStringLiteral("%1 question answer(s) never asked").arg(m_questions.size()));
    if (!m_inputs.isEmpty())
        problems.append(QStringLiteral("%1 input answer(s) never asked").arg(m_inputs.size()));
    if (why) *why = problems.join(QStringLiteral("; "));
    return problems.isEmpty();
}

void ScriptedDialogs::information(const QString& text) {
    record(Kind::Information, dialogTexts().informationCaption, text, false);
}

void ScriptedDialogs::warning(const QString& text) {
    record(Kind::Warning, dialogTexts().warningCaption, text, false);
}

void ScriptedDialogs::error(const QString& text) {
    record(Kind::Error, dialogTexts().errorCaption, text, false);
}

bool ScriptedDialogs::confirmation(const QString& text) {
    const bool answered = !m_confirmations.isEmpty();
    const bool yes = answered && m_confirmations.takeFirst();
    record(Kind::Confirmation, dialogTexts().confirmationCaption, text, !answered);
    return yes;
}

DialogService::Answer ScriptedDialogs::question(const QString& text) {
    const bool answered = !m_questions.isEmpty();
    const Answer answer = answered ? m_questions.takeFirst() : Answer::No;
    record(Kind::Question, dialogTexts().confirmationCaption, text, !answered);
    return answer;
}

void ScriptedDialogs::messageBox(const QString& text, const QString& caption) {
    record(Kind::MessageBox, caption.isEmpty() ? QGuiApplication::applicationDisplayName() : caption, text,
           false);
}

std::optional<QString> ScriptedDialogs::inputBox(const QString& caption, const QString& prompt,
                                                 const QString& defaultValue) {
    Q_UNUSED(defaultValue);
    const bool answered = !m_inputs.isEmpty();
    std::optional<QString> answer = answered ? m_inputs.takeFirst() : std::nullopt;
    record(Kind::InputBox, caption, prompt, !answered);
    return answer;
}

} // namespace dv::test

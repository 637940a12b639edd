#pragma once
#include <QString>
#include <exception>
#include <string>

namespace dv {

// Base of the errors the system raises. className() is the kind's name as the
// list screens print it ("Classe de Exception: ...").
class Error : public std::exception {
public:
    explicit Error(QString message) : m_message(std::move(message)), m_utf8(m_message.toStdString()) {}
    const QString& message() const { return m_message; }
    const char* what() const noexcept override { return m_utf8.c_str(); }
    virtual QString className() const { return QStringLiteral("Exception"); }

private:
    QString m_message;
    std::string m_utf8;
};

// The plain error of the system's own code.
class PlainError : public Error {
public:
    using Error::Error;
};

// The dataset layer's own errors (required field, key violation, related records).
// Texts are English and carry the phrases the error translator looks for.
class DatabaseError : public Error {
public:
    using Error::Error;
    QString className() const override { return QStringLiteral("EDatabaseError"); }
};

// An error reported by the database engine itself, carrying the engine's message.
class EngineError : public Error {
public:
    EngineError(QString message, int code = 0) : Error(std::move(message)), m_code(code) {}
    int code() const { return m_code; }
    QString className() const override { return QStringLiteral("EOleException"); }

private:
    int m_code;
};

// The silent cancellation: a handler that has shown its own message stops the action.
class Abort : public Error {
public:
    Abort() : Error(QStringLiteral("Operation aborted")) {}
    QString className() const override { return QStringLiteral("EAbort"); }
};

} // namespace dv

namespace dv {

// An operating-system failure (a file without version information and the like).
class OsError : public Error {
public:
    using Error::Error;
    QString className() const override { return QStringLiteral("EOSError"); }
};

} // namespace dv

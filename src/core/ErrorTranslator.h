#pragma once
#include <QString>
#include <exception>

namespace dv {

// The application-wide error handler: turns an error that no handler caught
// into the message the user sees, and shows it through the dialog service.
class ErrorTranslator {
public:
    enum class Kind { None, Warning, Error };
    struct Message {
        Kind kind = Kind::None;
        QString text;
    };

    // What the error becomes. The kind of the error object decides by its exact
    // class: dv::Abort shows nothing; exactly dv::DatabaseError or dv::PlainError
    // go through the phrase table; anything else (dv::EngineError, other
    // exceptions) is "Ocorreu um Erro", an empty line and the text, as an error.
    static Message translate(std::exception_ptr error);
    // The phrase table alone, for the text of a database or plain error.
    static Message translateText(const QString& text);
    // The name between the first apostrophe and the next one; without a closing
    // apostrophe, the rest of the text; empty without any apostrophe.
    static QString quotedName(const QString& text);

    // Shows the message, if any. Never throws.
    static void show(const Message& message);
    static void handle(std::exception_ptr error);
    // For catch (...) blocks: handles the exception being caught.
    static void handleCurrent() { handle(std::current_exception()); }
};

// Runs a handler that a button, menu item, key or timer calls: an error ends the
// action and reaches the error translator instead of the event loop. Every screen
// guards its handlers with it:
//
//   connect(btnGravar, &QPushButton::clicked, this, [this] { dv::guarded([this] { btnGravarClick(); }); });
template <class Handler> void guarded(Handler&& handler) noexcept {
    try {
        handler();
    } catch (...) {
        ErrorTranslator::handleCurrent();
    }
}

} // namespace dv

#include "ErrorTranslator.h"
#include "CodeTexts.h"
#include "Services.h"
#include "db/DbErrors.h"
#include <QDebug>
#include <typeinfo>

namespace dv {

namespace {
// Looked up when used: the interface language is chosen after start-up.
QString generic() {
    return dv::text("Ocorreu um Erro");
}
const QChar cr = QLatin1Char('\r');

bool has(const QString& upper, const char* phrase) {
    return upper.contains(QString::fromUtf8(phrase).toUpper());
}

ErrorTranslator::Message warning(const QString& text) {
    return {ErrorTranslator::Kind::Warning, text};
}
} // namespace

QString ErrorTranslator::quotedName(const QString& text) {
    const qsizetype open = text.indexOf(QLatin1Char('\''));
    if (open < 0) return QString();
    const qsizetype close = text.indexOf(QLatin1Char('\''), open + 1);
    return close < 0 ? text.mid(open + 1) : text.mid(open + 1, close - open - 1);
}

ErrorTranslator::Message ErrorTranslator::translateText(const QString& text) {
    const QString upper = text.toUpper();
    const QString name = quotedName(text);
    // Two workstations saved the same record: the later one is refused and re-read.
    if (has(upper, "CHANGED BY ANOTHER USER"))
        return warning(dv::text("O registro foi alterado por outro usuário. Os dados foram recarregados."));
    if (has(upper, "THE RECORD CANNOT BE DELETED"))
        return warning(dv::text("Este registro possui referências com o arquivo '%1'.").arg(name) + cr +
                       dv::text("Você deve excluir todas as suas referências antes de excluí-lo."));
    if (has(upper, "UPDATE STATEMENT CONFLICTED WITH COLUMN FOREIGN KEY") ||
        has(upper, "INSERT STATEMENT CONFLICTED WITH COLUMN FOREIGN KEY"))
        return warning(dv::text("Você selecionou um registro do arquivo '%1'").arg(name) + cr +
                       dv::text("que não está mais disponível. Verifique."));
    if (has(upper, "CANNOT CONTAIN A NULL VALUE") || has(upper, "ZERO-LENGTH STRING"))
        return warning(dv::text("O campo \"%1\" é de preenchimento obrigatório!").arg(name));
    if (has(upper, "PRIMARY") || has(upper, "KEY VIOLATION"))
        return warning(dv::text("Registro com chave duplicada. Campo '%1'.").arg(name));
    if (has(upper, "Old (current) password incorrect for user"))
        return warning(dv::text("Senha Antiga incorreta."));
    if (has(upper, "[ASTA SERVER ERROR]NO USER TRANSACTION IS CURRENTLY IN PROGRESS"))
        return {Kind::None, QString()};
    if (has(upper, "[ASTA SERVER ERROR]GENERAL SQL ERROR")) return warning(generic() + cr + text.mid(37));
    if (has(upper, "DEADLOCK"))
        return warning(dv::text("Você está tentando utilizar um registro que está bloqueado por outro "
                                "usuário. Tente novamente."));
    return warning(generic() + cr + cr + text);
}

ErrorTranslator::Message ErrorTranslator::translate(std::exception_ptr error) {
    if (!error) return {};
    try {
        std::rethrow_exception(error);
    } catch (const Error& e) {
        const std::type_info& kind = typeid(e);
        if (kind == typeid(Abort)) return {};
        if (kind == typeid(DatabaseError) || kind == typeid(PlainError)) return translateText(e.message());
        return {Kind::Error, generic() + cr + cr + e.message()};
    } catch (const std::exception& e) {
        return {Kind::Error, generic() + cr + cr + QString::fromLocal8Bit(e.what())};
    } catch (...) {
        return {Kind::Error, generic() + cr + cr + dv::text("Erro desconhecido.")};
    }
}

void ErrorTranslator::show(const Message& message) {
    try {
        switch (message.kind) {
        case Kind::None:
            break;
        case Kind::Warning:
            services().dialogs().warning(message.text);
            break;
        case Kind::Error:
            services().dialogs().error(message.text);
            break;
        }
    } catch (...) {
        // A failing message must not take the message loop down with it.
        qWarning().noquote() << "dv: could not show the message:" << message.text;
    }
}

void ErrorTranslator::handle(std::exception_ptr error) {
    show(translate(error));
}

} // namespace dv

#include "ScriptedServices.h"
#include "core/Application.h"
#include "core/ErrorTranslator.h"
#include "core/db/DbErrors.h"
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <stdexcept>

using dv::ErrorTranslator;
using Kind = dv::test::ScriptedDialogs::Kind;

namespace {
// A family member of the dataset layer's error that is not that error itself.
class DerivedDatabaseError : public dv::DatabaseError {
public:
    using DatabaseError::DatabaseError;
};

std::exception_ptr make(const QString& kind, const QString& text) {
    try {
        if (kind == QLatin1String("abort")) throw dv::Abort();
        if (kind == QLatin1String("database")) throw dv::DatabaseError(text);
        if (kind == QLatin1String("plain")) throw dv::PlainError(text);
        if (kind == QLatin1String("engine")) throw dv::EngineError(text, 19);
        if (kind == QLatin1String("derived")) throw DerivedDatabaseError(text);
        if (kind == QLatin1String("os")) throw dv::OsError(text);
        if (kind == QLatin1String("std")) throw std::runtime_error(text.toStdString());
        throw 42;
    } catch (...) {
        return std::current_exception();
    }
}

// Throws out of its event handler, as a button's action or a dataset event would.
class Thrower : public QObject {
public:
    std::exception_ptr error;
    int handled = 0;
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) {
            ++handled;
            std::rethrow_exception(error);
        }
        return QObject::event(e);
    }
};
} // namespace

class TestErrorTranslator : public QObject {
    Q_OBJECT
private slots:
    void translate_data();
    void translate();
    void quotedName_data();
    void quotedName();
    void notifyHandsEscapingErrorsToTheTranslator_data();
    void notifyHandsEscapingErrorsToTheTranslator();
    void signalHandlerErrorReachesTranslatorAndLoopGoesOn();
};

void TestErrorTranslator::translate_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("shown"); // -1 nothing, else ScriptedDialogs::Kind
    QTest::addColumn<QString>("message");
    const int warning = int(Kind::Warning);
    const int error = int(Kind::Error);
    const QString generic = QStringLiteral("Ocorreu um Erro\r\r");

    QTest::newRow("abort") << "abort"
                           << "" << -1 << "";
    QTest::newRow("related records")
        << "database"
        << "The record cannot be deleted or changed because table 'item_consulta' includes related records."
        << warning
        << QStringLiteral("Este registro possui referências com o arquivo 'item_consulta'.\r"
                          "Você deve excluir todas as suas referências antes de excluí-lo.");
    QTest::newRow("update foreign key")
        << "plain"
        << "UPDATE statement conflicted with COLUMN FOREIGN KEY constraint 'FK_x'. Table 'convenio'"
        << warning
        << QStringLiteral(
               "Você selecionou um registro do arquivo 'FK_x'\rque não está mais disponível. Verifique.");
    QTest::newRow("insert foreign key")
        << "database"
        << "INSERT statement conflicted with COLUMN FOREIGN KEY constraint 'dentista'" << warning
        << QStringLiteral(
               "Você selecionou um registro do arquivo 'dentista'\rque não está mais disponível. Verifique.");
    QTest::newRow("required field") << "database"
                                    << "Field 'Nome' cannot contain a null value" << warning
                                    << QStringLiteral("O campo \"Nome\" é de preenchimento obrigatório!");
    QTest::newRow("required field, other case")
        << "database"
        << "FIELD 'paciente_nome' CaNnOt CoNtAiN a NuLl VaLuE" << warning
        << QStringLiteral("O campo \"paciente_nome\" é de preenchimento obrigatório!");
    QTest::newRow("zero-length string")
        << "database"
        << "Field 'usuario_login' cannot be a zero-length string" << warning
        << QStringLiteral("O campo \"usuario_login\" é de preenchimento obrigatório!");
    QTest::newRow("primary key") << "database"
                                 << "Duplicate value in PRIMARY key 'form_nome'" << warning
                                 << QStringLiteral("Registro com chave duplicada. Campo 'form_nome'.");
    QTest::newRow("key violation without name")
        << "database"
        << "Key violation." << warning << QStringLiteral("Registro com chave duplicada. Campo ''.");
    QTest::newRow("row order: related records before key")
        << "database"
        << "The record cannot be deleted: 'x' (primary key)" << warning
        << QStringLiteral("Este registro possui referências com o arquivo 'x'.\r"
                          "Você deve excluir todas as suas referências antes de excluí-lo.");
    QTest::newRow("old password") << "plain"
                                  << "old (current) password incorrect for user 'admin'" << warning
                                  << QStringLiteral("Senha Antiga incorreta.");
    QTest::newRow("no user transaction")
        << "database"
        << "[ASTA Server Error]No user transaction is currently in progress" << -1 << "";
    QTest::newRow("general sql error")
        << "database"
        << "[ASTA Server Error]General SQL error: near \"frm\": syntax error" << warning
        << QStringLiteral("Ocorreu um Erro\r near \"frm\": syntax error"); // 37 = the phrase and its colon
    QTest::newRow("general sql error: cut counts from the start")
        << "plain"
        << "Prefix: [asta server error]general sql error tail" << warning
        << QStringLiteral("Ocorreu um Erro\r") +
               QStringLiteral("Prefix: [asta server error]general sql error tail").mid(37);
    QTest::newRow("deadlock") << "database"
                              << "Transaction was deadlocked" << warning
                              << QStringLiteral(
                                     "Você está tentando utilizar um registro que está bloqueado por "
                                     "outro usuário. Tente novamente.");
    QTest::newRow("plain without phrase")
        << "plain" << QStringLiteral("Diretório não pode ser criado") << warning
        << generic + QStringLiteral("Diretório não pode ser criado");
    QTest::newRow("engine error is generic even with a phrase")
        << "engine"
        << "UNIQUE constraint failed: Key violation 'x'" << error
        << generic + QStringLiteral("UNIQUE constraint failed: Key violation 'x'");
    QTest::newRow("subclass of the database error is generic")
        << "derived"
        << "Field 'Nome' cannot contain a null value" << error
        << generic + QStringLiteral("Field 'Nome' cannot contain a null value");
    QTest::newRow("operating system error")
        << "os"
        << "Arquivo sem versão" << error << generic + QStringLiteral("Arquivo sem versão");
    QTest::newRow("std exception") << "std"
                                   << "bad thing" << error << generic + QStringLiteral("bad thing");
    QTest::newRow("not an exception class") << "int"
                                            << "" << error << generic + QStringLiteral("Erro desconhecido.");
}

void TestErrorTranslator::translate() {
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(int, shown);
    QFETCH(QString, message);
    dv::test::ScriptedServices s;
    ErrorTranslator::handle(make(kind, text));
    if (shown < 0) {
        QCOMPARE(s.dialogs.count(), 0);
        return;
    }
    QCOMPARE(s.dialogs.count(), 1);
    QCOMPARE(int(s.dialogs.messages().at(0).kind), shown);
    QCOMPARE(s.dialogs.lastText(), message);
}

void TestErrorTranslator::quotedName_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("name");
    QTest::newRow("pair") << "Field 'Nome' x 'y'"
                          << "Nome";
    QTest::newRow("none") << "Key violation."
                          << "";
    QTest::newRow("empty pair") << "a '' b"
                                << "";
    QTest::newRow("no closing apostrophe: the rest") << "Field 'Nome cannot"
                                                     << "Nome cannot";
    QTest::newRow("apostrophe last") << "Field '"
                                     << "";
}

void TestErrorTranslator::quotedName() {
    QFETCH(QString, text);
    QFETCH(QString, name);
    QCOMPARE(ErrorTranslator::quotedName(text), name);
}

void TestErrorTranslator::notifyHandsEscapingErrorsToTheTranslator_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("abort after a screen's own message") << "abort" << QStringList();
    QTest::newRow("database error") << "database"
                                    << QStringList{
                                           QStringLiteral("Registro com chave duplicada. Campo 'x'.")};
    QTest::newRow("engine error") << "engine"
                                  << QStringList{QStringLiteral("Ocorreu um Erro\r\rKey violation 'x'")};
}

void TestErrorTranslator::notifyHandsEscapingErrorsToTheTranslator() {
    QFETCH(QString, kind);
    QFETCH(QStringList, texts);
    dv::test::ScriptedServices s;
    Thrower thrower;
    thrower.error = make(kind, QStringLiteral("Key violation 'x'"));
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    QCoreApplication::sendPostedEvents(&thrower);
    // The loop went on to the second event, and each error was shown once.
    QCOMPARE(thrower.handled, 2);
    QStringList expected;
    for (int i = 0; i < 2; ++i)
        expected += texts;
    QCOMPARE(s.dialogs.texts(), expected);
}

void TestErrorTranslator::signalHandlerErrorReachesTranslatorAndLoopGoesOn() {
    dv::test::ScriptedServices s;
    QPushButton button;
    QObject::connect(&button, &QPushButton::clicked,
                     [] { throw dv::PlainError(QStringLiteral("Diretório não pode ser criado")); });
    button.show();
    QTest::mouseClick(&button, Qt::LeftButton);
    bool later = false;
    QTimer::singleShot(0, [&] { later = true; });
    QTRY_VERIFY(later);
    QCOMPARE(s.dialogs.texts(),
             QStringList{QStringLiteral("Ocorreu um Erro\r\rDiretório não pode ser criado")});
    QCOMPARE(s.dialogs.messages().at(0).kind, Kind::Warning);
}

int main(int argc, char** argv) {
    dv::Application app(argc, argv);
    TestErrorTranslator test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_errortranslator.moc"

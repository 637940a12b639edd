// A small database of contacts and states for the toolkit's tests: text with masks,
// flags, a person type, a date, money, a memo, a picture and a lookup of states.
#pragma once
#include "TempDb.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"
#include <QTest>
#include <QVariant>
#include <memory>

namespace dv::test {

struct ToolkitFixture {
    TempDb temp;
    std::unique_ptr<Dataset> contacts;
    std::unique_ptr<DataSource> dsContacts;
    std::unique_ptr<Dataset> states;
    std::unique_ptr<DataSource> dsStates;

    ToolkitFixture() {
        Connection& c = *temp.db;
        c.execute("CREATE TABLE uf (uf_id VARCHAR(2) PRIMARY KEY, uf_nome VARCHAR(40))");
        c.execute("CREATE TABLE contato (contato_id INTEGER PRIMARY KEY AUTOINCREMENT,"
                  " contato_nome VARCHAR(60), contato_cpf VARCHAR(11), contato_cep VARCHAR(9),"
                  " contato_fone VARCHAR(20), contato_pessoa VARCHAR(1), contato_ativo VARCHAR(1),"
                  " contato_data DATETIME, contato_valor CURRENCY, contato_obs TEXT, contato_uf VARCHAR(2),"
                  " contato_foto BLOB, contato_qtd INTEGER)");
        c.execute("INSERT INTO uf VALUES ('MG', 'Minas Gerais'), ('RJ', 'Rio de Janeiro'),"
                  " ('SC', 'Santa Catarina'), ('SP', 'São Paulo')");
        c.execute("INSERT INTO contato (contato_nome, contato_cpf, contato_cep, contato_fone, contato_pessoa,"
                  " contato_ativo, contato_data, contato_valor, contato_obs, contato_uf, contato_qtd) VALUES"
                  " ('Ana Souza', '12345678909', '30110012', '31(031)3222-1111', 'F', 'S',"
                  "  '2024-03-05 00:00:00', 1234500, 'primeira linha\nsegunda', 'MG', 3),"
                  " ('Bruno \"Bê\" Lima', NULL, NULL, NULL, 'J', 'N', NULL, NULL, NULL, 'SP', NULL),"
                  " ('Carla Dias', '98765432100', '01001000', NULL, 'F', 'S', '1995-12-31 00:00:00', 50000,"
                  "  NULL, NULL, 7)");

        states = std::make_unique<Dataset>(&c, QStringLiteral("SQL_UF"));
        states->setSql(QStringLiteral("select * from uf order by uf_nome"));
        states->addField({.name = "uf_id", .displayLabel = "UF"});
        states->addField({.name = "uf_nome", .displayLabel = "Nome"});
        dsStates = std::make_unique<DataSource>(states.get(), QStringLiteral("dsUF"));
        states->open();

        contacts = std::make_unique<Dataset>(&c, QStringLiteral("SQL_Consulta"));
        contacts->setSql(QStringLiteral("select * from contato order by contato_id"));
        contacts->addField({.name = "contato_id", .displayLabel = "Id"});
        contacts->addField({.name = "contato_nome", .displayLabel = "Nome"});
        contacts->addField({.name = "contato_cpf", .displayLabel = "CPF", .editMask = "999.999.999-99;0;_"});
        contacts->addField({.name = "contato_cep", .displayLabel = "Cep", .editMask = "99999-999;0;_"});
        contacts->addField(
            {.name = "contato_fone", .displayLabel = "Fone", .editMask = "99(999)99999-9999;1;_"});
        contacts->addField({.name = "contato_pessoa", .displayLabel = "Pessoa"});
        contacts->addField({.name = "contato_ativo", .displayLabel = "Ativo"});
        contacts->addField({.name = "contato_data", .displayLabel = "Data Cadastro"});
        contacts->addField({.name = "contato_valor", .displayLabel = "Valor", .displayFormat = "#,##0.00"});
        contacts->addField({.name = "contato_obs", .displayLabel = "Observação"});
        contacts->addField({.name = "contato_uf", .displayLabel = "UF"});
        contacts->addField({.name = "lk_uf",
                            .type = FieldType::String,
                            .displayLabel = "Estado",
                            .size = 40,
                            .kind = FieldKind::Lookup,
                            .lookupDataset = states.get(),
                            .keyFields = "contato_uf",
                            .lookupKeyFields = "uf_id",
                            .lookupResultField = "uf_nome"});
        contacts->addField({.name = "contato_foto", .displayLabel = "Foto", .visible = false});
        contacts->addField({.name = "contato_qtd", .displayLabel = "Qtd", .visible = false});
        dsContacts = std::make_unique<DataSource>(contacts.get(), QStringLiteral("dsConsulta"));
        contacts->open();
    }

    // A value straight from the database.
    QVariant stored(const QString& column, int id) {
        auto cur = temp.db->query(QStringLiteral("select %1 from contato where contato_id = :id").arg(column),
                                  {{"id", ParamType::Integer, id}});
        if (!cur->next() || cur->isNull(0)) return QVariant();
        return QString::fromUtf8(cur->utf8(0));
    }
};

// Types text as keystrokes, accented letters included.
inline void typeText(QWidget* w, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(w, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

} // namespace dv::test

#pragma once
#include "db/AuditChain.h"
#include "db/DataSource.h"
#include "db/Dataset.h"
#include "db/Engine.h"
#include <QObject>
#include <memory>

class TfrmAbertura;

// The data module: the one database connection, the shared lookup datasets with
// their data sources, and the session values it sets at start-up.
class Tdm : public QObject {
    Q_OBJECT
public:
    // Creation runs the whole start-up of the module; an error ends it early and is
    // shown by the error translator (the module exists all the same). The executable
    // folder is the running program's unless given (tests).
    explicit Tdm(const QString& executableFolder = QString(), TfrmAbertura* splash = nullptr,
                 QObject* parent = nullptr);
    ~Tdm() override;

    // The connection; null when it could not be opened.
    dv::Connection* ADOConexao() const { return m_connection.get(); }
    const QString& connectionString() const { return m_connectionString; }
    // The five pieces of the connection string around the configured database.
    static QString buildConnectionString(const QString& database);

    // Reads every open shared dataset again (the database was replaced under them).
    void reloadSharedDatasets();

    // Shows a progress text on the splash with the language's prefix, then pauses.
    void progress(const QString& text);

    // A shared dataset or data source by its name ("SQL_Paciente", "dsPaciente").
    dv::Dataset* dataset(const QString& name) const;
    dv::DataSource* dataSource(const QString& name) const;

    // The stored password value that the login query must compare with: the stored
    // hash of the active user with this login when the typed password verifies
    // against it, otherwise a value that matches no row.
    QVariant storedPasswordFor(const QString& login, const QString& typedPassword) const;
    // The value stored for a password: a salted Argon2id hash string that
    // storedPasswordFor verifies. Raises dv::PlainError when it cannot be made.
    static QString passwordHash(const QString& password);

    dv::Dataset *SQL_UF, *SQL_Formulario, *SQL_Preferencia, *SQL_Skin, *SQL_Empresa, *SQL_Grupo,
        *SQL_Configuracao, *SQL_Convenio, *SQL_Ramo, *SQL_TipoContato, *SQL_Horario, *SQL_Paciente,
        *SQL_Anamnese, *SQL_FormaPagto, *SQL_Servico, *SQL_Icone, *SQL_Dente, *SQL_LocalDente, *SQL_TipoConta,
        *SQL_Unidade, *SQL_Contato, *SQL_Tabela, *SQL_Dentista, *SQL_Usuario, *SQL_GrupoPermissao;
    dv::DataSource *dsUF, *dsFormulario, *dsPreferencia, *dsSkin, *dsEmpresa, *dsGrupo, *dsConfiguracao,
        *dsConvenio, *dsRamo, *dsTipoContato, *dsHorario, *dsPaciente, *dsAnamnese, *dsFormaPagto, *dsServico,
        *dsIcone, *dsDente, *dsLocalDente, *dsTipoConta, *dsUnidade, *dsContato, *dsTabela, *dsDentista,
        *dsUsuario, *dsGrupoPermissao;

private:
    void createDatasets();
    void create(const QString& executableFolder);

    TfrmAbertura* m_splash;
    std::unique_ptr<dv::Connection> m_connection;
    // Seals the audit rows of every transaction on the connection.
    dv::AuditSeal m_auditSeal;
    QString m_connectionString;
};

// The data module of the process; it must exist.
Tdm& dm();
bool dmExists();

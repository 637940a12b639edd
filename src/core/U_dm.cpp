#include "U_dm.h"
#include "CodeTexts.h"
#include "ErrorTranslator.h"
#include "IniFile.h"
#include "Localization.h"
#include "SchemaStartup.h"
#include "Services.h"
#include "Session.h"
#include "Termination.h"
#include "U_frmAbertura.h"
#include "db/DbErrors.h"
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSysInfo>
#include <sodium.h>

namespace {

Tdm* g_dm = nullptr;

struct Column {
    const char* name;
    const char* label = nullptr;
    bool visible = true;
    dv::FieldType type = dv::FieldType::Unknown;
};

// The shared datasets in the order the module opens them; SQL one clause a line.
struct SharedDataset {
    const char* name;
    const char* source;
    QStringList sql;
    QList<Column> columns; // empty: every column of the table, as the engine describes it
};

QList<SharedDataset> sharedDatasets() {
    using dv::FieldType;
    return {
        {"SQL_UF", "dsUF", {"select * from UF", "order by uf_nome"}, {{"uf_id", "UF"}, {"uf_nome", "Nome"}}},
        {"SQL_Formulario",
         "dsFormulario",
         {"select * from Formulario"},
         {{"form_nome"}, {"form_descricao"}, {"form_tag"}, {"form_classe"}, {"form_ativo"}, {"form_tipo"}}},
        {"SQL_Preferencia",
         "dsPreferencia",
         {"select * from Preferencia"},
         {{"pref_id"}, {"usuario_id"}, {"skin"}, {"pref_fundo"}, {"pref_gride"}}},
        {"SQL_Skin", "dsSkin", {"select * from skin", "order by skin"}, {{"skin"}}},
        {"SQL_Empresa", "dsEmpresa", {"select * from empresa", "order by empresa_nome"}, {}},
        {"SQL_Grupo",
         "dsGrupo",
         {"select * from grupo", "where grupo_ativo = 'S'", "order by grupo_nome"},
         {{"grupo_nome", "Grupo Nome"}, {"grupo_id"}, {"grupo_ativo"}}},
        {"SQL_Configuracao",
         "dsConfiguracao",
         {"select * from configuracao"},
         {{"Sistema_Nome"}, {"Sistema_Release"}, {"Sistema_DataUpdate"}, {"Sistema_LocalUpdate"}}},
        {"SQL_Convenio",
         "dsConvenio",
         {"Select * from convenio", "order by convenio_nome"},
         {{"convenio_nome", "Convênio"}, {"convenio_id", "id", false}}},
        {"SQL_Ramo", "dsRamo", {"select * from ramo", "order by ramo_id"}, {{"ramo_id", "Ramo"}}},
        {"SQL_TipoContato",
         "dsTipoContato",
         {"select * from tipo_contato", "order by tipo_contato_nome"},
         {{"tipo_contato_nome", "Tipo de Contato"}, {"tipo_contato_id", "id"}}},
        {"SQL_Horario", "dsHorario", {"select * from horario", "order by hora_id"}, {{"hora_id", "Hora"}}},
        {"SQL_Paciente", "dsPaciente", {"select * from paciente", "order by paciente_nome"}, {}},
        {"SQL_Anamnese",
         "dsAnamnese",
         {"select * from anamnese", "order by anamnese_ordem"},
         {{"anamnese_nome"},
          {"anamnese_id", nullptr, false},
          {"anamnese_ordem", nullptr, false},
          {"anamnese_edit", nullptr, false}}},
        {"SQL_FormaPagto",
         "dsFormaPagto",
         {"select * from forma_pagamento", "order by forma_pagamento_nome"},
         {{"forma_pagamento_nome", "Forma pagamento"}, {"forma_pagamento_id", nullptr, false}}},
        {"SQL_Servico",
         "dsServico",
         {"select * from servico", "order by servico_nome"},
         {{"servico_nome", "Serviço"}, {"servico_id"}, {"servico_ativo"}, {"ramo_id", "Ramo"}}},
        {"SQL_Icone",
         "dsIcone",
         {"select * from icone", "order by icone_nome, icone_id"},
         {{"icone_nome", "Icone Nome"},
          {"icone_id", "Id"},
          {"icone_arquivo", "Icone Arquivo", false},
          {"icone_img"}}},
        {"SQL_Dente", "dsDente", {"select * from dente"}, {{"dente_id"}, {"dente_nome"}, {"dente_img"}}},
        {"SQL_LocalDente",
         "dsLocalDente",
         {"select * from local_dente"},
         {{"local_dente_id", "local id"}, {"local_dente_nome", "local nome"}}},
        {"SQL_TipoConta",
         "dsTipoConta",
         {"select * from tipo_conta", "order by tipo_conta"},
         {{"tipo_conta", "Tipo de Conta"}}},
        {"SQL_Unidade",
         "dsUnidade",
         {"select * from unidade", "order by unidade_id"},
         {{"unidade_id", "Unidade"}}},
        {"SQL_Contato", "dsContato", {"select * from contato", "order by contato_nome"}, {}},
        {"SQL_Tabela",
         "dsTabela",
         {"select * from tabela_convenio", "where servico_id = :servico_id"},
         {{"convenio_id"},
          {"servico_id"},
          {"tabela_valor", nullptr, true, FieldType::Currency},
          {"tabela_data"}}},
        {"SQL_Dentista",
         "dsDentista",
         {"select * from dentista", "where dentista_ativo = 'S'", "order by dentista_nome"},
         {}},
        {"SQL_Usuario",
         "dsUsuario",
         {"Select * from Usuario", "Where Usuario_Login = :Login", "AND Usuario_Senha = :Senha",
          "AND Usuario_Ativo = 'S'"},
         {{"usuario_id"},
          {"usuario_nome"},
          {"usuario_login"},
          {"usuario_email"},
          {"usuario_ativo"},
          {"usuario_senha"},
          {"grupo_id"}}},
        {"SQL_GrupoPermissao",
         "dsGrupoPermissao",
         {"select * from grupo_permissao", "where grupo_id = :grupo_id"},
         {{"grupo_id"},
          {"form_nome"},
          {"form_novo"},
          {"form_editar"},
          {"form_excluir"},
          {"form_imprimir"},
          {"form_html"},
          {"form_excel"},
          {"form_filtrar"},
          {"form_outros"}}},
    };
}

} // namespace

Tdm& dm() {
    Q_ASSERT(g_dm);
    return *g_dm;
}
bool dmExists() {
    return g_dm != nullptr;
}

namespace {

QString missingConfigText(const QString& language, const QString& folder) {
    const QString where = QDir::toNativeSeparators(QDir::cleanPath(folder));
    if (language == QLatin1String("en"))
        return QStringLiteral("The configuration file config.ini was not found in %1.").arg(where);
    if (language == QLatin1String("es"))
        return QStringLiteral("El archivo de configuración config.ini no se encontró en %1.").arg(where);
    return QStringLiteral("O arquivo de configuração config.ini não foi encontrado em %1.").arg(where);
}

// The configured database as a path: relative names are taken from the executable folder.
QString databaseShownName(const QString& database, const QString& folder) {
    QString name = database;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!name.isEmpty() && !name.contains(QLatin1String("://")) && !name.contains(QLatin1Char('=')) &&
        QDir::isRelativePath(name))
        name = QDir(folder).filePath(name);
    return QDir::toNativeSeparators(name);
}

QString unusableDatabaseText(const QString& language, const QString& database, const QString& engineText) {
    if (language == QLatin1String("en"))
        return QStringLiteral("The database \"%1\" could not be opened: %2").arg(database, engineText);
    if (language == QLatin1String("es"))
        return QStringLiteral("La base de datos \"%1\" no se pudo abrir: %2").arg(database, engineText);
    return QStringLiteral("O banco de dados \"%1\" não pôde ser aberto: %2").arg(database, engineText);
}

} // namespace

Tdm::Tdm(const QString& executableFolder, TfrmAbertura* splash, QObject* parent)
    : QObject(parent), m_splash(splash),
      m_auditSeal([] { return dv::session().userLogin(); }, [] { return QSysInfo::machineHostName(); }) {
    setObjectName(QStringLiteral("dm"));
    g_dm = this;
    createDatasets();
    try {
        create(executableFolder);
    } catch (...) {
        dv::ErrorTranslator::handleCurrent();
    }
}

Tdm::~Tdm() {
    // Datasets go before the connection they read from.
    const auto children = findChildren<dv::Dataset*>(QString(), Qt::FindDirectChildrenOnly);
    // Ending the program gives up what is still pending (closing would refuse it); no
    // error may leave a destructor.
    for (dv::Dataset* d : children)
        try {
            if (d->isEditing()) d->cancel();
        } catch (...) {
        }
    for (dv::Dataset* d : children)
        try {
            d->close();
        } catch (...) {
        }
    qDeleteAll(findChildren<dv::DataSource*>(QString(), Qt::FindDirectChildrenOnly));
    qDeleteAll(children);
    m_connection.reset();
    if (g_dm == this) g_dm = nullptr;
}

void Tdm::createDatasets() {
    QHash<QString, dv::Dataset*> byName;
    for (const SharedDataset& s : sharedDatasets()) {
        auto* d = new dv::Dataset(nullptr, QString::fromLatin1(s.name), this);
        d->sql() = s.sql;
        for (const Column& c : s.columns) {
            dv::FieldDef def = dv::FieldDef::column(QString::fromUtf8(c.name),
                                                    c.label ? QString::fromUtf8(c.label) : QString())
                                   .withType(c.type);
            d->addField(c.visible ? def : def.asHidden());
        }
        new dv::DataSource(d, QString::fromLatin1(s.source), this);
        byName.insert(QString::fromLatin1(s.name), d);
    }
    auto get = [&](const char* n) { return byName.value(QString::fromLatin1(n)); };
    auto src = [&](const char* n) { return findChild<dv::DataSource*>(QString::fromLatin1(n)); };
    SQL_UF = get("SQL_UF"), SQL_Formulario = get("SQL_Formulario"), SQL_Preferencia = get("SQL_Preferencia");
    SQL_Skin = get("SQL_Skin"), SQL_Empresa = get("SQL_Empresa"), SQL_Grupo = get("SQL_Grupo");
    SQL_Configuracao = get("SQL_Configuracao"), SQL_Convenio = get("SQL_Convenio"),
    SQL_Ramo = get("SQL_Ramo");
    SQL_TipoContato = get("SQL_TipoContato"), SQL_Horario = get("SQL_Horario"),
    SQL_Paciente = get("SQL_Paciente");
    SQL_Anamnese = get("SQL_Anamnese"), SQL_FormaPagto = get("SQL_FormaPagto"),
    SQL_Servico = get("SQL_Servico");
    SQL_Icone = get("SQL_Icone"), SQL_Dente = get("SQL_Dente"), SQL_LocalDente = get("SQL_LocalDente");
    SQL_TipoConta = get("SQL_TipoConta"), SQL_Unidade = get("SQL_Unidade"), SQL_Contato = get("SQL_Contato");
    SQL_Tabela = get("SQL_Tabela"), SQL_Dentista = get("SQL_Dentista"), SQL_Usuario = get("SQL_Usuario");
    SQL_GrupoPermissao = get("SQL_GrupoPermissao");
    dsUF = src("dsUF"), dsFormulario = src("dsFormulario"), dsPreferencia = src("dsPreferencia");
    dsSkin = src("dsSkin"), dsEmpresa = src("dsEmpresa"), dsGrupo = src("dsGrupo");
    dsConfiguracao = src("dsConfiguracao"), dsConvenio = src("dsConvenio"), dsRamo = src("dsRamo");
    dsTipoContato = src("dsTipoContato"), dsHorario = src("dsHorario"), dsPaciente = src("dsPaciente");
    dsAnamnese = src("dsAnamnese"), dsFormaPagto = src("dsFormaPagto"), dsServico = src("dsServico");
    dsIcone = src("dsIcone"), dsDente = src("dsDente"), dsLocalDente = src("dsLocalDente");
    dsTipoConta = src("dsTipoConta"), dsUnidade = src("dsUnidade"), dsContato = src("dsContato");
    dsTabela = src("dsTabela"), dsDentista = src("dsDentista"), dsUsuario = src("dsUsuario");
    dsGrupoPermissao = src("dsGrupoPermissao");

    SQL_Tabela->setParam(QStringLiteral("servico_id"), dv::ParamType::Integer, QVariant());
    SQL_Tabela->setMasterSource(dsServico);
    SQL_Usuario->setParam(QStringLiteral("Login"), dv::ParamType::String, QVariant());
    SQL_Usuario->setParam(QStringLiteral("Senha"), dv::ParamType::String, QVariant());
    SQL_GrupoPermissao->setParam(QStringLiteral("grupo_id"), dv::ParamType::Integer, QVariant());
    SQL_GrupoPermissao->setMasterSource(dsUsuario);
    // Every patient is a long read that nothing before the first patient screen needs.
    SQL_Paciente->setOpenedOnDemand(true);
}

QString Tdm::buildConnectionString(const QString& database) {
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Password=\"\";") +
           QStringLiteral("Data Source=") + database + QStringLiteral(";") +
           QStringLiteral("Mode=Share Deny None;") + QStringLiteral("Persist Security Info=True;") +
           QStringLiteral("Jet OLEDB:Database Password=5316428850");
}

void Tdm::create(const QString& executableFolder) {
    dv::Session& s = dv::session();
    s.setApplicationName(QStringLiteral("Dentrivale"));
    s.setApplicationTitle(QStringLiteral("Dentrivale - Gerenciamento Odontológico"));
    s.setDeveloperMode(false);
    progress(QStringLiteral("Create Modules"));
    s.setExecutableFolder(executableFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                                     : executableFolder);
    // Dates day first and the decimal comma for every widget, whatever the machine's locale;
    // our own formatting goes through dv::br.
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));

    const QString ini = s.configFile();
    const bool hasConfig = QFileInfo::exists(ini);
    if (!hasConfig) dv::requestTermination();
    s.setDeveloperMode(dv::services().workstation().isDeveloperWorkstation());
    s.setLanguage(dv::IniFile::readString(ini, QStringLiteral("App"), QStringLiteral("Language")));
    s.setDataFolder(dv::IniFile::readString(ini, QStringLiteral("App"), QStringLiteral("DataFolder")));

    m_connection.reset();
    const QString database = dv::IniFile::readString(ini, QStringLiteral("App"), QStringLiteral("DataBase"));
    m_connectionString = buildConnectionString(database);
    // The engine's own texts ("Could not find file ''.", "no such table: UF") do not
    // tell the person at the desk what to mend: the error names the file and folder.
    if (!hasConfig) throw dv::EngineError(missingConfigText(s.language(), QFileInfo(ini).absolutePath()));
    try {
        m_connection = dv::Connection::open(m_connectionString, s.executableFolder());
        m_connection->setTransactionObserver(&m_auditSeal);
        // An older database is upgraded before anything reads it; the connection is
        // opened afresh so that no table shape from before the steps is kept.
        if (dv::bringSchemaUpToDate(*m_connection, s.language(), s.filePath(QStringLiteral("Backup"))))
            m_connection = dv::Connection::open(m_connectionString, s.executableFolder());
        m_connection->setTransactionObserver(&m_auditSeal);
        for (dv::Dataset* d : findChildren<dv::Dataset*>(QString(), Qt::FindDirectChildrenOnly))
            d->setConnection(m_connection.get());
        progress(QStringLiteral("Conected Database"));

        for (dv::Dataset* d :
             {SQL_UF, SQL_Formulario, SQL_Preferencia, SQL_Skin, SQL_Empresa, SQL_Grupo, SQL_Configuracao})
            d->open();
    } catch (const dv::Abort&) {
        throw;
    } catch (const dv::Error& e) {
        throw dv::EngineError(unusableDatabaseText(
            s.language(), databaseShownName(database, s.executableFolder()), e.message()));
    }
    progress(QStringLiteral("Open System Tables"));
    for (dv::Dataset* d : {SQL_Convenio, SQL_Ramo, SQL_TipoContato, SQL_Horario, SQL_Anamnese, SQL_FormaPagto,
                           SQL_Servico, SQL_Icone, SQL_Dente, SQL_LocalDente, SQL_TipoConta, SQL_Unidade,
                           SQL_Contato, SQL_Tabela, SQL_Dentista, SQL_Empresa})
        if (!d->isActive()) d->open();
    progress(QStringLiteral("Open Config Tables"));

    dv::setDialogTexts(s.language());
    progress(QStringLiteral("Language"));
    dv::services().clock().pause(100);
    progress(QStringLiteral("Finished"));
    dv::services().clock().pause(100);
}

void Tdm::reloadSharedDatasets() {
    for (dv::Dataset* d : findChildren<dv::Dataset*>(QString(), Qt::FindDirectChildrenOnly))
        if (d->isActive()) d->refresh();
}

void Tdm::progress(const QString& text) {
    const QString& lang = dv::session().language();
    QString prefix;
    if (lang == QLatin1String("pt_BR"))
        prefix = QStringLiteral("Carregando: ");
    else if (lang == QLatin1String("en"))
        prefix = QStringLiteral("Loading: ");
    else if (lang == QLatin1String("es"))
        prefix = QStringLiteral("Cargando: ");
    if (m_splash) {
        if (!prefix.isEmpty()) m_splash->lbIniciando->setText(prefix + text);
        m_splash->repaint();
    }
    QCoreApplication::processEvents();
    dv::services().clock().pause(50);
}

dv::Dataset* Tdm::dataset(const QString& name) const {
    return findChild<dv::Dataset*>(name, Qt::FindDirectChildrenOnly);
}

dv::DataSource* Tdm::dataSource(const QString& name) const {
    return findChild<dv::DataSource*>(name, Qt::FindDirectChildrenOnly);
}

QVariant Tdm::storedPasswordFor(const QString& login, const QString& typedPassword) const {
    if (!m_connection) return QVariant();
    if (sodium_init() < 0) return QVariant();
    auto c = m_connection->query(
        QStringLiteral(
            "select usuario_senha from usuario where usuario_login = :login and usuario_ativo = 'S'"),
        {{QStringLiteral("login"), dv::ParamType::String, login}});
    const QByteArray typed = typedPassword.toUtf8();
    while (c->next()) {
        if (c->isNull(0)) continue;
        const QByteArray hash(c->utf8(0).data(), c->utf8(0).size());
        if (crypto_pwhash_str_verify(hash.constData(), typed.constData(), typed.size()) == 0)
            return QString::fromUtf8(hash);
    }
    return QVariant(); // "= NULL" matches no row
}

QString Tdm::passwordHash(const QString& password) {
    const QByteArray typed = password.toUtf8();
    char hash[crypto_pwhash_STRBYTES];
    if (sodium_init() < 0 ||
        crypto_pwhash_str(hash, typed.constData(), quint64(typed.size()), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        throw dv::PlainError(dv::text("Não foi possível gravar a senha (memória insuficiente)."));
    return QString::fromLatin1(hash);
}

#include "DatasetTestDb.h"

namespace dv::test {

DatasetTestDb::DatasetTestDb() {
    Connection& c = *temp.db;
    c.execute("CREATE TABLE convenio (convenio_id INTEGER PRIMARY KEY AUTOINCREMENT,"
              " convenio_nome VARCHAR(50) COLLATE NOCASE NOT NULL)");
    c.execute("CREATE TABLE paciente (paciente_id INTEGER PRIMARY KEY AUTOINCREMENT,"
              " paciente_nome VARCHAR(100) COLLATE NOCASE, paciente_ativo VARCHAR(1) COLLATE NOCASE,"
              " paciente_foto BLOB, paciente_data_nascimento DATETIME, paciente_anotacao TEXT COLLATE NOCASE,"
              " paciente_num_dependentes INTEGER, paciente_saldo CURRENCY, paciente_peso DOUBLE,"
              " paciente_registro VARCHAR(20) COLLATE NOCASE,"
              " convenio_id INTEGER REFERENCES convenio (convenio_id))");
    c.execute("CREATE TABLE consulta (consulta_id INTEGER PRIMARY KEY AUTOINCREMENT,"
              " paciente_id INTEGER NOT NULL REFERENCES paciente (paciente_id), consulta_data DATETIME,"
              " consulta_valor CURRENCY, consulta_aprovado VARCHAR(1) COLLATE NOCASE)");
    c.execute("CREATE TABLE anamnese_paciente (paciente_id INTEGER NOT NULL, anamnese_id INTEGER NOT NULL,"
              " anamnese_resposta VARCHAR(1) COLLATE NOCASE, PRIMARY KEY (paciente_id, anamnese_id))");
    c.execute(
        "CREATE TABLE horario (hora_id VARCHAR(5) COLLATE NOCASE, hora_obs VARCHAR(20) COLLATE NOCASE)");
    c.execute("INSERT INTO convenio (convenio_nome) VALUES ('Particular')");
    c.execute("INSERT INTO convenio (convenio_nome) VALUES ('Unimed')");
}

QVariant DatasetTestDb::scalar(const QString& sql, const Params& params) {
    auto cur = temp.db->query(sql, params);
    if (!cur->next() || cur->isNull(0)) return QVariant();
    // Money as the embedded engine stores it, whatever the engine.
    if (cur->columns()[0].type == FieldType::Currency) return QString::number(cur->currency(0).raw());
    return QString::fromUtf8(cur->utf8(0));
}

qint64 DatasetTestDb::addPatient(const QString& name, int plan, const QString& active) {
    return temp.db->insert(
        "INSERT INTO paciente (paciente_nome, convenio_id, paciente_ativo) VALUES (:n, :c, :a)",
        {{"n", ParamType::String, name}, {"c", ParamType::Integer, plan}, {"a", ParamType::String, active}},
        "paciente_id");
}

} // namespace dv::test

-- The audit trail: one row for every insert, update and delete of the clinical,
-- financial and access tables, written by triggers in the same transaction as the
-- change. The program fills workstation, user and the hash chain before the
-- transaction commits (auditoria_hash covers the row and the previous row's hash);
-- a row without a hash was written by something other than the program.
CREATE TABLE auditoria (
  auditoria_id        INTEGER PRIMARY KEY AUTOINCREMENT,
  auditoria_data      DATETIME NOT NULL,
  auditoria_estacao   VARCHAR(100) COLLATE NOCASE,
  auditoria_usuario   VARCHAR(30) COLLATE NOCASE,
  auditoria_tabela    VARCHAR(40) COLLATE NOCASE NOT NULL,
  auditoria_chave     VARCHAR(100) COLLATE NOCASE,
  auditoria_acao      VARCHAR(1) NOT NULL,
  auditoria_paciente  INTEGER,
  auditoria_antes     TEXT,
  auditoria_depois    TEXT,
  auditoria_hash      VARCHAR(64)
);

CREATE INDEX ix_auditoria_data ON auditoria (auditoria_data);
CREATE INDEX ix_auditoria_tabela ON auditoria (auditoria_tabela);
CREATE INDEX ix_auditoria_paciente ON auditoria (auditoria_paciente);

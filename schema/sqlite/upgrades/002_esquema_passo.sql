-- The schema steps a database has had; its schema version is the highest number.
-- Version 1 is the base files, from before steps were recorded.
CREATE TABLE esquema_passo (
  passo_numero  INTEGER PRIMARY KEY,
  passo_nome    VARCHAR(100) COLLATE NOCASE NOT NULL,
  passo_data    DATETIME
);

INSERT INTO esquema_passo (passo_numero, passo_nome, passo_data) VALUES (1, 'esquema inicial', NULL);

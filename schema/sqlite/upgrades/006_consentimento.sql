-- What each patient consented to (LGPD): treatment data ('tratamento'), photos
-- ('fotos') and messages by WhatsApp ('whatsapp'). Rows are only ever added: a
-- withdrawal is a new dated row with consentimento_concedido 'N', so the history
-- stays. The latest row of a kind is the patient's answer; no row at all means
-- the clinic has not asked yet.
CREATE TABLE paciente_consentimento (
  consentimento_id        INTEGER PRIMARY KEY AUTOINCREMENT,
  paciente_id             INTEGER NOT NULL REFERENCES paciente (paciente_id),
  consentimento_tipo      VARCHAR(10) COLLATE NOCASE NOT NULL,
  consentimento_concedido VARCHAR(1) NOT NULL,
  consentimento_data      DATETIME NOT NULL,
  consentimento_usuario   VARCHAR(30) COLLATE NOCASE
);

CREATE INDEX ix_paciente_consentimento ON paciente_consentimento (paciente_id, consentimento_tipo);

-- Patients whose personal data were removed after the retention period: who did
-- it and when. Their consultations, items and installments stay.
CREATE TABLE paciente_anonimizado (
  paciente_id           INTEGER NOT NULL PRIMARY KEY REFERENCES paciente (paciente_id),
  anonimizado_data      DATETIME NOT NULL,
  anonimizado_usuario   VARCHAR(30) COLLATE NOCASE
);

-- Every export of a patient's data (a data-subject request): who, when, where to.
CREATE TABLE paciente_exportacao (
  exportacao_id       INTEGER PRIMARY KEY AUTOINCREMENT,
  paciente_id         INTEGER NOT NULL REFERENCES paciente (paciente_id),
  exportacao_data     DATETIME NOT NULL,
  exportacao_usuario  VARCHAR(30) COLLATE NOCASE,
  exportacao_pasta    VARCHAR(255) COLLATE NOCASE
);

CREATE INDEX ix_paciente_exportacao ON paciente_exportacao (paciente_id);

-- How long the clinic keeps a patient's personal data: years since the last
-- consultation (since registration for a patient without one).
ALTER TABLE configuracao ADD COLUMN Sistema_RetencaoAnos INTEGER;
UPDATE configuracao SET Sistema_RetencaoAnos = 20;

-- The digest of a trail row's old and new values, kept when those values are
-- removed from a row about an anonymised patient, so that the chain still checks.
ALTER TABLE auditoria ADD COLUMN auditoria_resumo VARCHAR(64);

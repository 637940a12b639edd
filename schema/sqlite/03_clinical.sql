-- Patients and their clinical records.
-- The child rows of a patient (answers, photos, consultations) and of a
-- consultation (items, installments, documents) always name a real parent:
-- those references are enforced, without cascading, so deleting a parent that
-- still has children fails instead of leaving orphans behind.

CREATE TABLE paciente (
  paciente_id               INTEGER PRIMARY KEY AUTOINCREMENT,
  paciente_nome             VARCHAR(100) COLLATE NOCASE,
  paciente_profissao        VARCHAR(50) COLLATE NOCASE,
  paciente_rg               VARCHAR(20) COLLATE NOCASE,
  paciente_cpf              VARCHAR(14) COLLATE NOCASE,
  paciente_endereco         VARCHAR(100) COLLATE NOCASE,
  paciente_numero           VARCHAR(10) COLLATE NOCASE,
  paciente_complemento      VARCHAR(20) COLLATE NOCASE,
  paciente_bairro           VARCHAR(50) COLLATE NOCASE,
  paciente_cidade           VARCHAR(50) COLLATE NOCASE,
  paciente_cep              VARCHAR(20) COLLATE NOCASE,
  uf_id                     VARCHAR(2) COLLATE NOCASE,
  paciente_ativo            VARCHAR(1) COLLATE NOCASE,
  paciente_fone             VARCHAR(20) COLLATE NOCASE,
  paciente_fone_comercial   VARCHAR(20) COLLATE NOCASE,
  paciente_celular          VARCHAR(20) COLLATE NOCASE,
  paciente_data_nascimento  DATETIME,
  paciente_email            VARCHAR(100) COLLATE NOCASE,
  paciente_anotacao         TEXT COLLATE NOCASE,
  paciente_sexo             VARCHAR(1) COLLATE NOCASE,
  paciente_data_cadastro    DATETIME,
  paciente_orgao            VARCHAR(50) COLLATE NOCASE,
  paciente_matricula        VARCHAR(50) COLLATE NOCASE,
  paciente_num_dependentes  INTEGER,
  paciente_titular          VARCHAR(50) COLLATE NOCASE,
  paciente_registro         VARCHAR(20) COLLATE NOCASE,
  convenio_id               INTEGER,
  -- Pictures last: columns after a large value would be read through its overflow pages.
  paciente_foto             BLOB
);

CREATE TABLE anamnese (
  anamnese_id     INTEGER PRIMARY KEY AUTOINCREMENT,
  anamnese_nome   VARCHAR(255) COLLATE NOCASE,
  anamnese_ordem  INTEGER,
  anamnese_edit   VARCHAR(1) COLLATE NOCASE
);

CREATE TABLE anamnese_paciente (
  paciente_id        INTEGER NOT NULL REFERENCES paciente (paciente_id),
  anamnese_id        INTEGER NOT NULL,
  anamnese_resposta  VARCHAR(1) COLLATE NOCASE,
  anamnese_anotacao  TEXT COLLATE NOCASE,
  PRIMARY KEY (paciente_id, anamnese_id)
);

CREATE TABLE foto (
  foto_id      INTEGER PRIMARY KEY AUTOINCREMENT,
  paciente_id  INTEGER REFERENCES paciente (paciente_id),
  foto_titulo  VARCHAR(50) COLLATE NOCASE,
  foto_data    DATETIME,
  foto_img     BLOB
);

CREATE TABLE consulta (
  consulta_id          INTEGER PRIMARY KEY AUTOINCREMENT,
  paciente_id          INTEGER REFERENCES paciente (paciente_id),
  dentista_id          INTEGER,
  consulta_codigo      VARCHAR(30) COLLATE NOCASE,
  consulta_data        DATETIME,
  consulta_validade    DATETIME,
  consulta_valor       CURRENCY,
  consulta_aprovado    VARCHAR(1) COLLATE NOCASE,
  forma_pagamento_id   INTEGER,
  consulta_observacao  TEXT COLLATE NOCASE
);

CREATE TABLE item_consulta (
  item_consulta_id         INTEGER PRIMARY KEY AUTOINCREMENT,
  consulta_id              INTEGER REFERENCES consulta (consulta_id),
  servico_id               INTEGER,
  dente_id                 INTEGER,
  local_dente_id           VARCHAR(2) COLLATE NOCASE,
  icone_id                 INTEGER,
  item_consulta_descricao  TEXT COLLATE NOCASE,
  item_consulta_valor      CURRENCY,
  item_consulta_concluido  VARCHAR(1) COLLATE NOCASE
);

CREATE TABLE parcela (
  parcela_id               INTEGER PRIMARY KEY AUTOINCREMENT,
  consulta_id              INTEGER REFERENCES consulta (consulta_id),
  paciente_id              INTEGER,
  parcela_numero           INTEGER,
  parcela_data             DATETIME,
  parcela_vencimento       DATETIME,
  parcela_valor            CURRENCY,
  parcela_juros            CURRENCY,
  parcela_desconto         CURRENCY,
  parcela_valor_liquido    CURRENCY,
  parcela_valor_pago       CURRENCY,
  parcela_valor_restante   CURRENCY,
  paracela_data_pagamento  DATETIME,
  parcela_cheque_numero    VARCHAR(20) COLLATE NOCASE,
  parcela_cheque_data      DATETIME,
  parcela_quitada          VARCHAR(1) COLLATE NOCASE
);

CREATE TABLE documento (
  doc_id       INTEGER PRIMARY KEY AUTOINCREMENT,
  consulta_id  INTEGER REFERENCES consulta (consulta_id),
  paciente_id  INTEGER,
  dentista_id  INTEGER,
  doc_nome     VARCHAR(50) COLLATE NOCASE,
  doc_data     DATETIME,
  doc_texto    TEXT COLLATE NOCASE
);

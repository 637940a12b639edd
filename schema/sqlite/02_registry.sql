-- Registries, code lists, the agenda and accounts payable.
-- Lookups that screens may leave empty or 0 carry no foreign key.

CREATE TABLE UF (
  uf_id    VARCHAR(2) COLLATE NOCASE NOT NULL PRIMARY KEY,
  uf_nome  VARCHAR(40) COLLATE NOCASE
);

CREATE TABLE ramo (
  ramo_id  VARCHAR(30) COLLATE NOCASE NOT NULL PRIMARY KEY
);

CREATE TABLE unidade (
  unidade_id  VARCHAR(5) COLLATE NOCASE NOT NULL PRIMARY KEY
);

CREATE TABLE forma_pagamento (
  forma_pagamento_id    INTEGER PRIMARY KEY,
  forma_pagamento_nome  VARCHAR(30) COLLATE NOCASE
);

CREATE TABLE tipo_conta (
  tipo_conta  VARCHAR(50) COLLATE NOCASE NOT NULL PRIMARY KEY
);

CREATE TABLE tipo_contato (
  tipo_contato_id    INTEGER PRIMARY KEY,
  tipo_contato_nome  VARCHAR(30) COLLATE NOCASE
);

CREATE TABLE local_dente (
  local_dente_id    VARCHAR(2) COLLATE NOCASE NOT NULL PRIMARY KEY,
  local_dente_nome  VARCHAR(30) COLLATE NOCASE
);

CREATE TABLE empresa (
  empresa_id        INTEGER PRIMARY KEY AUTOINCREMENT,
  empresa_nome      VARCHAR(50) COLLATE NOCASE,
  empresa_cgc       VARCHAR(20) COLLATE NOCASE,
  empresa_endereco  VARCHAR(50) COLLATE NOCASE,
  empresa_numero    VARCHAR(50) COLLATE NOCASE,
  empresa_bairro    VARCHAR(40) COLLATE NOCASE,
  empresa_cidade    VARCHAR(40) COLLATE NOCASE,
  empresa_uf        VARCHAR(2) COLLATE NOCASE,
  empresa_cep       VARCHAR(10) COLLATE NOCASE,
  empresa_fone      VARCHAR(20) COLLATE NOCASE,
  empresa_fone2     VARCHAR(20) COLLATE NOCASE,
  empresa_logo      BLOB
);

CREATE TABLE dentista (
  dentista_id             INTEGER PRIMARY KEY AUTOINCREMENT,
  dentista_nome           VARCHAR(50) COLLATE NOCASE,
  dentista_cro            VARCHAR(25) COLLATE NOCASE,
  empresa_id              INTEGER,
  dentista_especialidade  TEXT COLLATE NOCASE,
  dentista_fone           VARCHAR(20) COLLATE NOCASE,
  dentista_celular        VARCHAR(20) COLLATE NOCASE,
  dentista_endereco       VARCHAR(50) COLLATE NOCASE,
  dentista_bairro         VARCHAR(30) COLLATE NOCASE,
  dentista_cidade         VARCHAR(40) COLLATE NOCASE,
  dentista_numero         VARCHAR(10) COLLATE NOCASE,
  dentista_cep            VARCHAR(10) COLLATE NOCASE,
  dentista_uf             VARCHAR(2) COLLATE NOCASE,
  dentista_ativo          VARCHAR(1) COLLATE NOCASE
);

-- A dentist's bookable hours: one row per (dentist, weekday, hour). The hours
-- page does not refuse a repeated triple, so there is no key to violate.
CREATE TABLE horario (
  hora_id      VARCHAR(5) COLLATE NOCASE,
  dentista_id  INTEGER,
  dia_id       INTEGER
);

CREATE TABLE agenda (
  agenda_id                   INTEGER PRIMARY KEY AUTOINCREMENT,
  paciente_id                 INTEGER,
  agenda_data_cadastro        DATETIME,
  agenda_data_consulta        DATETIME,
  hora_id                     VARCHAR(5) COLLATE NOCASE,
  agenda_observacao           TEXT COLLATE NOCASE,
  dentista_id                 INTEGER,
  agenda_falta_atraso         VARCHAR(1) COLLATE NOCASE,
  agenda_motivo_falta_atraso  TEXT COLLATE NOCASE
);

CREATE TABLE servico (
  servico_id           INTEGER PRIMARY KEY AUTOINCREMENT,
  servico_nome         VARCHAR(60) COLLATE NOCASE,
  ramo_id              VARCHAR(30) COLLATE NOCASE,
  servico_ativo        VARCHAR(1) COLLATE NOCASE,
  servico_valor        CURRENCY,
  servico_data_tabela  DATETIME
);

CREATE TABLE icone (
  icone_id       INTEGER PRIMARY KEY AUTOINCREMENT,
  icone_nome     VARCHAR(50) COLLATE NOCASE,
  icone_arquivo  VARCHAR(100) COLLATE NOCASE,
  icone_img      BLOB
);

-- One row per face or variant a service is drawn with; several variants may
-- share a location, so no key.
CREATE TABLE servico_icone (
  servico_id      INTEGER,
  local_dente_id  VARCHAR(2) COLLATE NOCASE,
  face_dente      VARCHAR(30) COLLATE NOCASE,
  icone_id        INTEGER
);

CREATE TABLE dente (
  dente_id    INTEGER PRIMARY KEY,
  dente_nome  VARCHAR(30) COLLATE NOCASE,
  dente_img   BLOB
);

CREATE TABLE convenio (
  convenio_id    INTEGER PRIMARY KEY AUTOINCREMENT,
  convenio_nome  VARCHAR(50) COLLATE NOCASE
);

-- Price of a service under a plan. Normally one row per pair, but the plan
-- screens may hold a repeated pair, so no key.
CREATE TABLE tabela_convenio (
  convenio_id   INTEGER,
  servico_id    INTEGER,
  tabela_valor  CURRENCY,
  tabela_data   DATETIME
);

CREATE TABLE contato (
  contato_id           INTEGER PRIMARY KEY AUTOINCREMENT,
  contato_nome         VARCHAR(50) COLLATE NOCASE,
  tipo_contato_id      INTEGER,
  contato_endereco     VARCHAR(50) COLLATE NOCASE,
  contato_numero       VARCHAR(6) COLLATE NOCASE,
  contato_complemento  VARCHAR(6) COLLATE NOCASE,
  contato_bairro       VARCHAR(30) COLLATE NOCASE,
  contato_cidade       VARCHAR(30) COLLATE NOCASE,
  contato_cep          VARCHAR(10) COLLATE NOCASE,
  uf_id                VARCHAR(2) COLLATE NOCASE,
  contato_fone         VARCHAR(20) COLLATE NOCASE,
  contato_residencial  VARCHAR(20) COLLATE NOCASE,
  contato_celular      VARCHAR(20) COLLATE NOCASE,
  contato_ativo        VARCHAR(1) COLLATE NOCASE,
  contato_observacao   TEXT COLLATE NOCASE,
  contato_email        VARCHAR(70) COLLATE NOCASE,
  contato_site         VARCHAR(70) COLLATE NOCASE,
  contato_pessoa       VARCHAR(1) COLLATE NOCASE,
  contato_cpf          VARCHAR(20) COLLATE NOCASE
);

CREATE TABLE Produto (
  prod_id            INTEGER PRIMARY KEY AUTOINCREMENT,
  prod_nome          VARCHAR(50) COLLATE NOCASE,
  prod_estoque       INTEGER,
  prod_minimo        INTEGER,
  unidade_id         VARCHAR(5) COLLATE NOCASE,
  contato_id         INTEGER,
  prod_ultimo_preco  CURRENCY
);

CREATE TABLE conta (
  conta_id              INTEGER PRIMARY KEY AUTOINCREMENT,
  conta_nome            VARCHAR(50) COLLATE NOCASE,
  conta_vencimento      DATETIME,
  tipo_conta            VARCHAR(50) COLLATE NOCASE,
  conta_valor           CURRENCY,
  conta_paga            VARCHAR(1) COLLATE NOCASE,
  conta_data_pagamento  DATETIME
);

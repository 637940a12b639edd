-- System tables: users, groups, permissions, the screen registry, the menu
-- tree, report registrations, preferences, skins and the installation row.
--
-- Type conventions for every schema file:
--   VARCHAR(n) COLLATE NOCASE   text and flags ('S'/'N'); compared without regard to case
--   TEXT COLLATE NOCASE         memo
--   CURRENCY                    integer count of ten-thousandths (12,50 is 125000)
--   DATETIME                    ISO text 'YYYY-MM-DD HH:MM:SS'
--   DECIMAL(18,0)               whole numbers beyond 32 bits (colour numbers)
--   BLOB                        picture bytes

CREATE TABLE grupo (
  grupo_id     INTEGER PRIMARY KEY AUTOINCREMENT,
  grupo_nome   VARCHAR(50) COLLATE NOCASE,
  grupo_ativo  VARCHAR(1) COLLATE NOCASE
);

-- usuario_senha holds a libsodium Argon2id hash string (about 100 characters),
-- never the password itself; hence wider than the 40 the login screen types.
CREATE TABLE usuario (
  usuario_id        INTEGER PRIMARY KEY AUTOINCREMENT,
  usuario_nome      VARCHAR(50) COLLATE NOCASE,
  usuario_login     VARCHAR(30) COLLATE NOCASE,
  usuario_senha     VARCHAR(128) COLLATE NOCASE,
  usuario_confirma  VARCHAR(32) COLLATE NOCASE,
  usuario_email     VARCHAR(50) COLLATE NOCASE,
  usuario_ativo     VARCHAR(1) COLLATE NOCASE,
  grupo_id          INTEGER
);

-- form_tipo codes:
--   'L' list screen (child window of the main window)
--   'M' maintenance screen, opened by a list's Novo/Alterar on the list's row
--   'D' dialog opened on its own (agenda, backup, period selections)
--   'S' system-only screen (module and menu maintenance, developer mode);
--       never offered in the permission editor
--   'P' screen that is never offered in the permission editor (report picker
--       and the like)
CREATE TABLE Formulario (
  form_nome       VARCHAR(50) COLLATE NOCASE NOT NULL PRIMARY KEY,
  form_descricao  VARCHAR(100) COLLATE NOCASE,
  form_tag        INTEGER,
  form_classe     VARCHAR(51) COLLATE NOCASE,
  form_ativo      VARCHAR(1) COLLATE NOCASE,
  form_tipo       VARCHAR(1) COLLATE NOCASE
);

CREATE TABLE grupo_permissao (
  grupo_id       INTEGER NOT NULL REFERENCES grupo (grupo_id),
  form_nome      VARCHAR(50) COLLATE NOCASE NOT NULL,
  form_novo      VARCHAR(1) COLLATE NOCASE,
  form_editar    VARCHAR(1) COLLATE NOCASE,
  form_excluir   VARCHAR(1) COLLATE NOCASE,
  form_filtrar   VARCHAR(1) COLLATE NOCASE,
  form_imprimir  VARCHAR(1) COLLATE NOCASE,
  form_html      VARCHAR(1) COLLATE NOCASE,
  form_excel     VARCHAR(1) COLLATE NOCASE,
  form_outros    VARCHAR(1) COLLATE NOCASE,
  PRIMARY KEY (grupo_id, form_nome)
);

CREATE TABLE menu_sistema (
  menu_id      INTEGER NOT NULL,
  sub_menu_id  INTEGER NOT NULL,
  menu_nome    VARCHAR(50) COLLATE NOCASE,
  menu_ativo   VARCHAR(1) COLLATE NOCASE,
  form_nome    VARCHAR(50) COLLATE NOCASE,
  menu_ajuda   TEXT COLLATE NOCASE,
  PRIMARY KEY (menu_id, sub_menu_id)
);

CREATE TABLE Relatorio (
  relat_id         INTEGER PRIMARY KEY AUTOINCREMENT,
  relat_nome       VARCHAR(50) COLLATE NOCASE,
  relat_descricao  TEXT COLLATE NOCASE,
  relat_ativo      VARCHAR(1) COLLATE NOCASE,
  relat_arquivo    VARCHAR(150) COLLATE NOCASE,
  form_nome        VARCHAR(50) COLLATE NOCASE
);

CREATE TABLE Preferencia (
  pref_id     INTEGER PRIMARY KEY AUTOINCREMENT,
  usuario_id  INTEGER,
  skin        VARCHAR(50) COLLATE NOCASE,
  pref_fundo  VARCHAR(150) COLLATE NOCASE,
  pref_gride  DECIMAL(18,0)
);

CREATE TABLE skin (
  skin  VARCHAR(50) COLLATE NOCASE NOT NULL PRIMARY KEY
);

CREATE TABLE configuracao (
  Sistema_Nome         VARCHAR(50) COLLATE NOCASE,
  Sistema_Release      VARCHAR(10) COLLATE NOCASE,
  Sistema_DataUpdate   DATETIME,
  Sistema_LocalUpdate  VARCHAR(255) COLLATE NOCASE
);

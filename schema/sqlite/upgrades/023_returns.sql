-- Each attempt to bring a patient back for a return visit: when, by whom, what came of it.
CREATE TABLE retorno_tentativa (
  tentativa_id       INTEGER PRIMARY KEY AUTOINCREMENT,
  paciente_id        INTEGER,
  tentativa_data     DATETIME,
  tentativa_usuario  VARCHAR(30) COLLATE NOCASE,
  tentativa_obs      VARCHAR(100) COLLATE NOCASE
);
CREATE INDEX ix_retorno_tentativa_paciente ON retorno_tentativa (paciente_id);

INSERT INTO mensagem_modelo (mensagem_nome, mensagem_texto) VALUES
  ('retorno',
   'Olá {nome}, sua última consulta com {dentista} foi em {data}. Que tal agendar seu retorno? Responda esta mensagem para marcarmos o melhor horário. {clinica}');

INSERT INTO Formulario (form_nome, form_descricao, form_tag, form_classe, form_ativo, form_tipo) VALUES
  ('frmRetorno', 'Retorno de Pacientes', 0, 'TfrmRetorno', 'S', 'D');

INSERT INTO grupo_permissao (grupo_id, form_nome, form_novo, form_editar, form_excluir, form_filtrar,
                             form_imprimir, form_html, form_excel, form_outros) VALUES
  (1, 'frmRetorno', 'S', 'S', 'S', 'S', 'S', 'S', 'S', 'S');

INSERT INTO menu_sistema (menu_id, sub_menu_id, menu_nome, menu_ativo, form_nome, menu_ajuda) VALUES
  (2, 4, 'Retorno de Pacientes', 'S', 'frmRetorno',
   'Pacientes sem consulta há meses e sem horário marcado: telefone, WhatsApp e as tentativas de contato.');

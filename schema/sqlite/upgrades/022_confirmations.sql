-- Whether the patient confirmed the appointment ('C' confirmada, 'D' desmarcada,
-- 'S' sem resposta; empty until someone asks), when and by whom it was noted.
ALTER TABLE agenda ADD COLUMN agenda_confirmacao VARCHAR(1);
ALTER TABLE agenda ADD COLUMN agenda_confirmacao_data DATETIME;
ALTER TABLE agenda ADD COLUMN agenda_confirmacao_usuario VARCHAR(30);

-- The clinic's message texts, with fields the screen fills in; the receptionist
-- sends them by hand.
CREATE TABLE mensagem_modelo (
  mensagem_nome   VARCHAR(30) COLLATE NOCASE NOT NULL PRIMARY KEY,
  mensagem_texto  TEXT COLLATE NOCASE
);

INSERT INTO mensagem_modelo (mensagem_nome, mensagem_texto) VALUES
  ('confirmacao',
   'Olá {nome}, confirmamos sua consulta com {dentista} em {data} às {hora}. Responda SIM para confirmar ou NÃO para desmarcar. {clinica}');

INSERT INTO Formulario (form_nome, form_descricao, form_tag, form_classe, form_ativo, form_tipo) VALUES
  ('frmConfirmacao', 'Confirmação de Consultas', 0, 'TfrmConfirmacao', 'S', 'D');

INSERT INTO grupo_permissao (grupo_id, form_nome, form_novo, form_editar, form_excluir, form_filtrar,
                             form_imprimir, form_html, form_excel, form_outros) VALUES
  (1, 'frmConfirmacao', 'S', 'S', 'S', 'S', 'S', 'S', 'S', 'S');

INSERT INTO menu_sistema (menu_id, sub_menu_id, menu_nome, menu_ativo, form_nome, menu_ajuda) VALUES
  (2, 3, 'Confirmação de Consultas', 'S', 'frmConfirmacao',
   'Consultas do dia com o celular de cada paciente: mensagem de confirmação pelo WhatsApp e a resposta.');

-- Each birthday message the receptionist opened for a patient: when and by whom, so
-- that nobody writes twice on the same birthday.
CREATE TABLE aniversario_mensagem (
  mensagem_id       INTEGER PRIMARY KEY AUTOINCREMENT,
  paciente_id       INTEGER,
  mensagem_data     DATETIME,
  mensagem_usuario  VARCHAR(30) COLLATE NOCASE
);
CREATE INDEX ix_aniversario_mensagem_paciente ON aniversario_mensagem (paciente_id);

-- The birthday list reads these columns of every patient: from this index rather
-- than from the rows, which carry the photos.
CREATE INDEX ix_paciente_aniversario ON paciente (paciente_data_nascimento, paciente_ativo, paciente_nome,
                                                  paciente_fone, paciente_celular);

INSERT INTO mensagem_modelo (mensagem_nome, mensagem_texto) VALUES
  ('aniversario',
   'Olá {nome}, feliz aniversário! Toda a equipe da {clinica} deseja a você um novo ano cheio de saúde e muitos sorrisos.');

INSERT INTO Formulario (form_nome, form_descricao, form_tag, form_classe, form_ativo, form_tipo) VALUES
  ('frmAniversario', 'Aniversariantes', 0, 'TfrmAniversario', 'S', 'D');

INSERT INTO grupo_permissao (grupo_id, form_nome, form_novo, form_editar, form_excluir, form_filtrar,
                             form_imprimir, form_html, form_excel, form_outros) VALUES
  (1, 'frmAniversario', 'S', 'S', 'S', 'S', 'S', 'S', 'S', 'S');

INSERT INTO menu_sistema (menu_id, sub_menu_id, menu_nome, menu_ativo, form_nome, menu_ajuda) VALUES
  (2, 5, 'Aniversariantes', 'S', 'frmAniversario',
   'Pacientes que fazem aniversário no dia ou no mês: mensagem de parabéns pelo WhatsApp.');

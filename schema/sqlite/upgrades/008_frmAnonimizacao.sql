-- The anonymisation of patients past the retention period, for the administrators
-- under Sistema.
INSERT INTO Formulario (form_nome, form_descricao, form_tag, form_classe, form_ativo, form_tipo) VALUES
  ('frmAnonimizacao', 'Anonimização de Pacientes', 0, 'TfrmAnonimizacao', 'S', 'D');

INSERT INTO grupo_permissao (grupo_id, form_nome, form_novo, form_editar, form_excluir, form_filtrar,
                             form_imprimir, form_html, form_excel, form_outros) VALUES
  (1, 'frmAnonimizacao', 'S', 'S', 'S', 'S', 'S', 'S', 'S', 'S');

INSERT INTO menu_sistema (menu_id, sub_menu_id, menu_nome, menu_ativo, form_nome, menu_ajuda) VALUES
  (4, 6, 'Anonimização de Pacientes', 'S', 'frmAnonimizacao',
   'Pacientes com o prazo de guarda vencido: apaga os dados pessoais e mantém o histórico clínico e financeiro.');

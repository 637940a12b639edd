-- The audit trail's screen, for the administrators under Sistema. The trail is
-- written only by the triggers: the screen itself has no new, change or delete,
-- whatever the rights say.
INSERT INTO Formulario (form_nome, form_descricao, form_tag, form_classe, form_ativo, form_tipo) VALUES
  ('frmAuditoria', 'Trilha de Auditoria', 0, 'TfrmAuditoria', 'S', 'L');

INSERT INTO grupo_permissao (grupo_id, form_nome, form_novo, form_editar, form_excluir, form_filtrar,
                             form_imprimir, form_html, form_excel, form_outros)
VALUES (1, 'frmAuditoria', 'S', 'S', 'S', 'S', 'S', 'S', 'S', 'S');

INSERT INTO menu_sistema (menu_id, sub_menu_id, menu_nome, menu_ativo, form_nome, menu_ajuda) VALUES
  (4, 4, 'Trilha de Auditoria', 'S', 'frmAuditoria',
   'Quem incluiu, alterou ou excluiu cada registro, e quando; verificação da integridade da trilha.');

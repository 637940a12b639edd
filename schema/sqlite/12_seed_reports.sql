-- The reports of the report project (relatorio/Dentrivale.rav) offered by each
-- screen's print command: relat_nome is the report's full name in the project,
-- form_nome the screen that lists it.
INSERT INTO Relatorio (relat_nome, relat_descricao, relat_ativo, relat_arquivo, form_nome) VALUES
  ('Relat_Pacientes',       'Relação de pacientes',                 'S', 'relatorio\Dentrivale.rav', 'frmPaciente'),
  ('Relat_Aniversariantes', 'Aniversariantes do mês',               'S', 'relatorio\Dentrivale.rav', 'frmPaciente'),
  ('Relat_Etiquetas',       'Etiquetas de endereçamento (3 por linha, A4)', 'S', 'relatorio\Dentrivale.rav', 'frmPaciente'),
  ('Relat_Odontograma',     'Odontograma da consulta',              'S', 'relatorio\Dentrivale.rav', 'frmConsulta_Manut');

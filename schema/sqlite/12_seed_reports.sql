-- The reports of the report project (relatorio/Dentrivale.rav) offered by each
-- screen's print command: relat_nome is the report's full name in the project,
-- form_nome the screen that lists it, relat_descricao the title the picker shows.
INSERT INTO Relatorio (relat_nome, relat_descricao, relat_ativo, relat_arquivo, form_nome) VALUES
  ('Relat_Pacientes',       'Lista de Pacientes',                   'S', 'relatorio\Dentrivale.rav', 'frmPaciente'),
  ('Relat_Aniversariantes', 'Aniversariantes do Mês',               'S', 'relatorio\Dentrivale.rav', 'frmPaciente'),
  ('Relat_Etiquetas',       'Etiquetas de Endereçamento',           'S', 'relatorio\Dentrivale.rav', 'frmPaciente'),
  ('Relat_Odontograma',     'Odontograma da Consulta',              'S', 'relatorio\Dentrivale.rav', 'frmConsulta_Manut');

INSERT INTO Relatorio (relat_nome, relat_descricao, relat_ativo, relat_arquivo, form_nome) VALUES
  ('Relat_Contatos',        'Lista de Contatos',                    'S', 'relatorio\Dentrivale.rav', 'frmContato');

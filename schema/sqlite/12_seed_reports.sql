-- The reports of the report project (relatorio/Dentrivale.rav) offered by each
-- screen's print command: relat_nome is the report's full name in the project,
-- form_nome the screen that lists it, relat_descricao the title the picker shows.
INSERT INTO Relatorio (relat_nome, relat_descricao, relat_ativo, relat_arquivo, form_nome) VALUES
  ('Relat_Pacientes',       'Lista de Pacientes',                   'S', 'relatorio\Dentrivale.rav', 'frmPaciente'),
  ('Relat_Aniversariantes', 'Aniversariantes do Mês',               'S', 'relatorio\Dentrivale.rav', 'frmPaciente'),
  ('Relat_Etiquetas',       'Etiquetas de Endereçamento',           'S', 'relatorio\Dentrivale.rav', 'frmPaciente'),
  ('Relat_Consultas',       'Consultas do Paciente',                'S', 'relatorio\Dentrivale.rav', 'frmConsulta'),
  ('Relat_Orcamento',       'Orçamento da Consulta',                'S', 'relatorio\Dentrivale.rav', 'frmConsulta_Manut'),
  ('Relat_Documento',       'Documento da Consulta',                'S', 'relatorio\Dentrivale.rav', 'frmConsulta_Manut');

-- The treatment catalogue's lists.
INSERT INTO Relatorio (relat_nome, relat_descricao, relat_ativo, relat_arquivo, form_nome) VALUES
  ('Relat_Servicos',        'Lista de Serviços',                    'S', 'relatorio\Dentrivale.rav', 'frmServico'),
  ('Relat_Convenios',       'Lista de Convênios',                   'S', 'relatorio\Dentrivale.rav', 'frmConvenio');

INSERT INTO Relatorio (relat_nome, relat_descricao, relat_ativo, relat_arquivo, form_nome) VALUES
  ('Relat_Contatos',        'Lista de Contatos',                    'S', 'relatorio\Dentrivale.rav', 'frmContato');

-- The consultation's odontogram: the chart as drawn for the consultation on show.
INSERT INTO Relatorio (relat_nome, relat_descricao, relat_ativo, relat_arquivo, form_nome) VALUES
  ('Relat_Odontograma',     'Odontograma da Consulta',              'S', 'relatorio\Dentrivale.rav', 'frmConsulta_Manut');

-- Money: installments and receipt of a consultation, payables, receivables.
INSERT INTO Relatorio (relat_nome, relat_descricao, relat_ativo, relat_arquivo, form_nome) VALUES
  ('Relat_Parcelas',        'Parcelas da Consulta',                 'S', 'relatorio\Dentrivale.rav', 'frmConsulta_Manut'),
  ('Relat_Recibo',          'Recibo da Parcela',                    'S', 'relatorio\Dentrivale.rav', 'frmConsulta_Manut'),
  ('Relat_ContasPagar',     'Contas a Pagar',                       'S', 'relatorio\Dentrivale.rav', 'frmContasPagar'),
  ('Relat_ContasReceber',   'Contas a Receber',                     'S', 'relatorio\Dentrivale.rav', 'frmSelecaoContasReceber'),
  ('Relat_ContasRecebidas', 'Contas Recebidas',                     'S', 'relatorio\Dentrivale.rav', 'frmSelecaoContasRecebidas');

-- Rows the system relies on: the administrator group and user, every screen
-- the opener can open with the administrator group's permissions, the menu
-- tree, skins, the administrator's preferences and the installation row.
-- dv_makedb fills in what is computed when the database is generated: the
-- administrator's password hash, the release and the generation time.

INSERT INTO grupo (grupo_id, grupo_nome, grupo_ativo) VALUES (1, 'Administradores', 'S');

INSERT INTO usuario (usuario_id, usuario_nome, usuario_login, usuario_senha, usuario_confirma,
                     usuario_email, usuario_ativo, grupo_id)
VALUES (1, 'Administrador', 'admin', NULL, '', '', 'S', 1);

-- form_tipo: see 01_system.sql.
INSERT INTO Formulario (form_nome, form_descricao, form_tag, form_classe, form_ativo, form_tipo) VALUES
  ('frmUsuario',                'Usuários',                             0, 'TfrmUsuario',                'S', 'L'),
  ('frmUsuario_Manut',          'Cadastro de Usuário',                  0, 'TfrmUsuario_Manut',          'S', 'M'),
  ('frmModulo',                 'Módulos do Sistema',                   0, 'TfrmModulo',                 'S', 'S'),
  ('frmModulo_Manut',           'Cadastro de Módulo',                   0, 'TfrmModulo_Manut',           'S', 'S'),
  ('frmModulo_Menu_Manut',      'Menu do Sistema',                      0, 'TfrmModulo_Menu_Manut',      'S', 'S'),
  ('frmBackup',                 'Backup do Banco de Dados',             0, 'TfrmBackup',                 'S', 'D'),
  ('frmGrupo',                  'Grupos e Permissões',                  0, 'TfrmGrupo',                  'S', 'L'),
  ('frmGrupo_Manut',            'Cadastro de Grupo',                    0, 'TfrmGrupo_Manut',            'S', 'M'),
  ('frmServico',                'Serviços',                             0, 'TfrmServico',                'S', 'L'),
  ('frmServico_Manut',          'Cadastro de Serviço',                  0, 'TfrmServico_Manut',          'S', 'M'),
  ('frmPaciente',               'Pacientes',                            0, 'TfrmPaciente',               'S', 'L'),
  ('frmPaciente_Manut',         'Cadastro de Paciente',                 0, 'TfrmPaciente_Manut',         'S', 'M'),
  ('frmContato',                'Contatos',                             0, 'TfrmContato',                'S', 'L'),
  ('frmContato_Manut',          'Cadastro de Contato',                  0, 'TfrmContato_Manut',          'S', 'M'),
  ('frmContasPagar',            'Contas a Pagar',                       0, 'TfrmContasPagar',            'S', 'L'),
  ('frmContasPagar_Manut',      'Cadastro de Conta a Pagar',            0, 'TfrmContasPagar_Manut',      'S', 'M'),
  ('frmConsulta',               'Consultas',                            0, 'TfrmConsulta',               'S', 'L'),
  ('frmConsulta_Manut',         'Consulta (Orçamento e Odontograma)',   0, 'TfrmConsulta_Manut',         'S', 'M'),
  ('frmConvenio',               'Convênios',                            0, 'TfrmConvenio',               'S', 'L'),
  ('frmConvenio_Manut',         'Cadastro de Convênio',                 0, 'TfrmConvenio_Manut',         'S', 'M'),
  ('frmAgenda_Consulta',        'Agenda de Horários',                   0, 'TfrmAgenda_Consulta',        'S', 'D'),
  ('frmAgenda_Manut',           'Agendamento de Paciente',              0, 'TfrmAgenda_Manut',           'S', 'M'),
  ('frmSelecaoContasReceber',   'Contas a Receber',                     0, 'TfrmSelecaoContasReceber',   'S', 'D'),
  ('frmSelecaoContasRecebidas', 'Contas Recebidas',                     0, 'TfrmSelecaoContasRecebidas', 'S', 'D'),
  ('frmEstoque',                'Estoque de Produtos',                  0, 'TfrmEstoque',                'S', 'L'),
  ('frmEstoque_Manut',          'Cadastro de Produto',                  0, 'TfrmEstoque_Manut',          'S', 'M'),
  ('frmIcone',                  'Ícones do Odontograma',                0, 'TfrmIcone',                  'S', 'L'),
  ('frmIcone_Manut',            'Cadastro de Ícone',                    0, 'TfrmIcone_Manut',            'S', 'M'),
  ('frmDentista',               'Dentistas',                            0, 'TfrmDentista',               'S', 'L'),
  ('frmDentista_Manut',         'Cadastro de Dentista',                 0, 'TfrmDentista_Manut',         'S', 'M'),
  ('frmEmpresa',                'Empresa',                              0, 'TfrmEmpresa',                'S', 'L'),
  ('frmEmpresa_Manut',          'Cadastro da Empresa',                  0, 'TfrmEmpresa_Manut',          'S', 'M'),
  ('frmDente',                  'Dentes',                               0, 'TfrmDente',                  'S', 'L'),
  ('frmDente_Manut',            'Cadastro de Dente',                    0, 'TfrmDente_Manut',            'S', 'M');

-- The administrator group may open every registered screen with every right.
INSERT INTO grupo_permissao (grupo_id, form_nome, form_novo, form_editar, form_excluir, form_filtrar,
                             form_imprimir, form_html, form_excel, form_outros)
SELECT 1, form_nome, 'S', 'S', 'S', 'S', 'S', 'S', 'S', 'S' FROM Formulario ORDER BY form_nome;

-- The system menu tree: top-level groups have sub_menu_id 0 and point at the
-- group's main screen; entries under a group share its menu_id. Maintenance
-- screens are reached from their lists, and the module screens only in
-- developer mode, so neither appears here.
INSERT INTO menu_sistema (menu_id, sub_menu_id, menu_nome, menu_ativo, form_nome, menu_ajuda) VALUES
  (1, 0, 'Cadastros', 'S', 'frmPaciente',
   'Cadastros da clínica: pacientes, dentistas, serviços, convênios, contatos, empresa e estoque.'),
  (1, 1, 'Pacientes', 'S', 'frmPaciente',
   'Cadastro de pacientes com anamnese, fotos, tratamentos em aberto e parcelas pendentes.'),
  (1, 2, 'Dentistas', 'S', 'frmDentista',
   'Cadastro de dentistas e dos horários de atendimento de cada dia da semana.'),
  (1, 3, 'Serviços', 'S', 'frmServico',
   'Serviços odontológicos, seus ícones no odontograma e preços por convênio.'),
  (1, 4, 'Convênios', 'S', 'frmConvenio',
   'Convênios e suas tabelas de preços de serviços.'),
  (1, 5, 'Contatos', 'S', 'frmContato',
   'Fornecedores, laboratórios e outros contatos da clínica.'),
  (1, 6, 'Empresa', 'S', 'frmEmpresa',
   'Dados da clínica: razão social, CNPJ, endereço, telefones e logomarca.'),
  (1, 7, 'Estoque de Produtos', 'S', 'frmEstoque',
   'Materiais em estoque, quantidade mínima, fornecedor e último preço.'),
  (1, 8, 'Dentes', 'S', 'frmDente',
   'Figuras dos dentes usadas no odontograma.'),
  (2, 0, 'Clínico', 'S', 'frmConsulta',
   'Atendimento: agenda de horários e consultas com orçamento e odontograma.'),
  (2, 1, 'Agenda de Horários', 'S', 'frmAgenda_Consulta',
   'Agenda de cada dentista: horários livres do dia e pacientes agendados no período.'),
  (2, 2, 'Consultas', 'S', 'frmConsulta',
   'Consultas do paciente: orçamento, odontograma, documentos e parcelas.'),
  (3, 0, 'Financeiro', 'S', 'frmContasPagar',
   'Contas a pagar, contas a receber e contas recebidas.'),
  (3, 1, 'Contas a Pagar', 'S', 'frmContasPagar',
   'Contas a pagar da clínica por período de vencimento.'),
  (3, 2, 'Contas a Receber', 'S', 'frmSelecaoContasReceber',
   'Relatório das parcelas em aberto com vencimento no período.'),
  (3, 3, 'Contas Recebidas', 'S', 'frmSelecaoContasRecebidas',
   'Relatório das parcelas pagas no período.'),
  (4, 0, 'Sistema', 'S', 'frmUsuario',
   'Usuários, grupos de permissão e cópia de segurança do banco de dados.'),
  (4, 1, 'Usuários', 'S', 'frmUsuario',
   'Usuários do sistema, senhas, grupo e preferências de cada um.'),
  (4, 2, 'Grupos e Permissões', 'S', 'frmGrupo',
   'Grupos de usuários e as telas que cada grupo pode abrir.'),
  (4, 3, 'Backup', 'S', 'frmBackup',
   'Cópia de segurança do banco de dados.');

INSERT INTO skin (skin) VALUES
  ('SKIN0081.SKN'),
  ('SKIN0012.SKN'),
  ('SKIN0027.SKN'),
  ('SKIN0045.SKN'),
  ('SKIN0063.SKN');

INSERT INTO Preferencia (usuario_id, skin, pref_fundo, pref_gride) VALUES (1, 'SKIN0081.SKN', '', 16053492);

INSERT INTO configuracao (Sistema_Nome, Sistema_Release, Sistema_DataUpdate, Sistema_LocalUpdate)
VALUES ('Dentrivale', NULL, NULL, 'Instalação');

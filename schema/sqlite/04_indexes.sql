-- Indexes for the screens' queries. Keys already index grupo_permissao by
-- group, menu_sistema by menu_id and anamnese_paciente by patient.

CREATE INDEX ix_usuario_login ON usuario (usuario_login);
CREATE UNIQUE INDEX ix_preferencia_usuario ON Preferencia (usuario_id);
CREATE INDEX ix_relatorio_form ON Relatorio (form_nome);

CREATE INDEX ix_paciente_nome ON paciente (paciente_nome);
CREATE INDEX ix_foto_paciente ON foto (paciente_id);
CREATE INDEX ix_consulta_paciente ON consulta (paciente_id, consulta_data);
CREATE INDEX ix_item_consulta_consulta ON item_consulta (consulta_id);
CREATE INDEX ix_parcela_consulta ON parcela (consulta_id, parcela_numero);
CREATE INDEX ix_parcela_paciente ON parcela (paciente_id);
CREATE INDEX ix_parcela_vencimento ON parcela (parcela_vencimento);
CREATE INDEX ix_parcela_pagamento ON parcela (paracela_data_pagamento);
CREATE INDEX ix_documento_consulta ON documento (consulta_id);

CREATE INDEX ix_agenda_dentista_dia ON agenda (dentista_id, agenda_data_consulta, hora_id);
CREATE INDEX ix_agenda_paciente ON agenda (paciente_id, agenda_data_consulta);
CREATE INDEX ix_horario_dentista_dia ON horario (dentista_id, dia_id, hora_id);
CREATE INDEX ix_servico_nome ON servico (servico_nome);
CREATE INDEX ix_servico_icone_servico ON servico_icone (servico_id, local_dente_id, face_dente);
CREATE INDEX ix_tabela_convenio_plano ON tabela_convenio (convenio_id, servico_id);
CREATE INDEX ix_tabela_convenio_servico ON tabela_convenio (servico_id);
CREATE INDEX ix_contato_nome ON contato (contato_nome);
CREATE INDEX ix_produto_nome ON Produto (prod_nome);
CREATE INDEX ix_conta_vencimento ON conta (conta_vencimento);

-- One appointment per dentist, day and hour, whatever workstation books it; and
-- one working-hour row per dentist, weekday and hour.
CREATE UNIQUE INDEX ux_agenda_slot ON agenda (dentista_id, agenda_data_consulta, hora_id);
CREATE UNIQUE INDEX ux_horario_slot ON horario (dentista_id, dia_id, hora_id);

-- The return and anonymisation lists read every patient's latest consultation and a
-- few patient columns: from these indexes rather than from the wide rows (the
-- patient's carry the photos), and in patient order, so that each page is read once.
CREATE INDEX ix_consulta_ultima ON consulta (paciente_id, consulta_data, dentista_id);
-- The active patients in code order. The birth date keeps the birthday list, which
-- also filters on the active flag, reading this index alone when it chooses it.
CREATE INDEX ix_paciente_ativos ON paciente (paciente_ativo, paciente_id, paciente_nome, paciente_fone,
                                             paciente_celular, paciente_data_nascimento);
-- In name order, the anonymisation list's order.
CREATE INDEX ix_paciente_anonimizacao ON paciente (paciente_nome, paciente_cpf, paciente_data_cadastro);

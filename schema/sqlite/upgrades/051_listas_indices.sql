-- The bookings from a day on, in date order: the return and anonymisation lists read
-- the few patients booked from today on in one range instead of one look-up each.
CREATE INDEX ix_agenda_futuro ON agenda (agenda_data_consulta, paciente_id);
-- The latest consultation of each patient's latest day is the last entry of its day
-- here, dentist included: one look-up instead of the day's entries and a check that
-- none comes later. It does everything the index it replaces did.
DROP INDEX ix_consulta_ultima;
CREATE INDEX ix_consulta_ultima_id ON consulta (paciente_id, consulta_data, consulta_id, dentista_id);
-- The anonymisation list walks the patients in code order now (the screen sorts by
-- name), looking each one's latest consultation up behind it.
DROP INDEX ix_paciente_anonimizacao;
CREATE INDEX ix_paciente_anonimizacao_id ON paciente (paciente_id, paciente_nome, paciente_cpf,
                                                      paciente_data_cadastro);

-- The audit triggers of ../../sqlite/upgrades/007_consentimento_auditoria.sql on the server.

CREATE TRIGGER tr_auditoria_paciente_consentimento_ins AFTER INSERT ON paciente_consentimento
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('consentimento_id', 'paciente_id');

CREATE TRIGGER tr_auditoria_paciente_consentimento_upd AFTER UPDATE ON paciente_consentimento
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('consentimento_id', 'paciente_id');

CREATE TRIGGER tr_auditoria_paciente_consentimento_del AFTER DELETE ON paciente_consentimento
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('consentimento_id', 'paciente_id');

CREATE TRIGGER tr_auditoria_paciente_anonimizado_ins AFTER INSERT ON paciente_anonimizado
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('paciente_id', 'paciente_id');

CREATE TRIGGER tr_auditoria_paciente_anonimizado_upd AFTER UPDATE ON paciente_anonimizado
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('paciente_id', 'paciente_id');

CREATE TRIGGER tr_auditoria_paciente_anonimizado_del AFTER DELETE ON paciente_anonimizado
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('paciente_id', 'paciente_id');

CREATE TRIGGER tr_auditoria_paciente_exportacao_ins AFTER INSERT ON paciente_exportacao
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('exportacao_id', 'paciente_id');

CREATE TRIGGER tr_auditoria_paciente_exportacao_upd AFTER UPDATE ON paciente_exportacao
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('exportacao_id', 'paciente_id');

CREATE TRIGGER tr_auditoria_paciente_exportacao_del AFTER DELETE ON paciente_exportacao
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('exportacao_id', 'paciente_id');

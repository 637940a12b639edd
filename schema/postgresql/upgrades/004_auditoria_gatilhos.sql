-- The audit triggers of ../../sqlite/upgrades/004_auditoria_gatilhos.sql on the
-- server: one function reads any row as JSON, so columns added later are
-- recorded without new triggers. Arguments: the key columns (comma-separated),
-- where the row names its patient ('paciente_id', 'consulta_id' or ''), then the
-- columns recorded only by size (pictures) or as changed (passwords).
-- An advisory lock taken with the first change keeps the trail in commit order
-- between workstations until the transaction ends: the program seals the rows
-- into the hash chain just before it commits.

CREATE FUNCTION dv_auditar() RETURNS trigger LANGUAGE plpgsql AS $$
DECLARE
  velho jsonb;
  novo jsonb;
  linha jsonb;
  antes jsonb := '{}';
  depois jsonb := '{}';
  k text;
  v jsonb;
  chave text := '';
  paciente integer;
  i integer;
  mudou boolean := false;
BEGIN
  PERFORM pg_advisory_xact_lock(7264001);
  IF TG_OP <> 'INSERT' THEN velho := to_jsonb(OLD) - 'dv_rowid'; END IF;
  IF TG_OP <> 'DELETE' THEN novo := to_jsonb(NEW) - 'dv_rowid'; END IF;
  linha := coalesce(novo, velho);
  -- Pictures by size, passwords only as changed.
  FOR i IN 2 .. TG_NARGS - 1 LOOP
    k := split_part(TG_ARGV[i], ':', 1);
    IF split_part(TG_ARGV[i], ':', 2) = 'bytes' THEN
      IF velho ? k AND velho->>k IS NOT NULL THEN
        velho := velho || jsonb_build_object(k, '<' || length(decode(substr(velho->>k, 3), 'hex')) || ' bytes>');
      END IF;
      IF novo ? k AND novo->>k IS NOT NULL THEN
        novo := novo || jsonb_build_object(k, '<' || length(decode(substr(novo->>k, 3), 'hex')) || ' bytes>');
      END IF;
    ELSE
      IF TG_OP = 'UPDATE' AND (OLD IS DISTINCT FROM NEW) AND velho->k IS DISTINCT FROM novo->k THEN
        velho := velho || jsonb_build_object(k, '***');
        novo := novo || jsonb_build_object(k, '***') || jsonb_build_object('dv_mudou_' || k, true);
      ELSE
        IF velho ? k AND velho->>k IS NOT NULL THEN velho := velho || jsonb_build_object(k, '***'); END IF;
        IF novo ? k AND novo->>k IS NOT NULL THEN novo := novo || jsonb_build_object(k, '***'); END IF;
      END IF;
    END IF;
  END LOOP;
  FOR k IN SELECT jsonb_object_keys(linha) ORDER BY 1 LOOP
    IF TG_OP = 'UPDATE' THEN
      IF novo ? ('dv_mudou_' || k) OR velho->k IS DISTINCT FROM novo->k THEN
        antes := antes || jsonb_build_object(k, velho->k);
        depois := depois || jsonb_build_object(k, novo->k);
        mudou := true;
      END IF;
    ELSIF TG_OP = 'INSERT' THEN
      IF jsonb_typeof(novo->k) <> 'null' THEN depois := depois || jsonb_build_object(k, novo->k); END IF;
    ELSE
      IF jsonb_typeof(velho->k) <> 'null' THEN antes := antes || jsonb_build_object(k, velho->k); END IF;
    END IF;
  END LOOP;
  IF TG_OP = 'UPDATE' AND NOT mudou THEN RETURN NULL; END IF;
  FOREACH k IN ARRAY string_to_array(TG_ARGV[0], ',') LOOP
    chave := chave || CASE WHEN chave = '' THEN '' ELSE '/' END || (linha->>k);
  END LOOP;
  IF TG_ARGV[1] = 'consulta_id' THEN
    SELECT c.paciente_id INTO paciente FROM consulta c WHERE c.consulta_id = (linha->>'consulta_id')::integer;
  ELSIF TG_ARGV[1] <> '' THEN
    paciente := (linha->>TG_ARGV[1])::integer;
  END IF;
  INSERT INTO auditoria (auditoria_data, auditoria_tabela, auditoria_chave, auditoria_acao,
                         auditoria_paciente, auditoria_antes, auditoria_depois)
  VALUES (localtimestamp(0), TG_TABLE_NAME, chave, left(TG_OP, 1), paciente,
          CASE WHEN TG_OP = 'INSERT' THEN NULL ELSE antes::text END,
          CASE WHEN TG_OP = 'DELETE' THEN NULL ELSE depois::text END);
  RETURN NULL;
END
$$;

CREATE TRIGGER tr_auditoria_paciente_ins AFTER INSERT ON paciente
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('paciente_id', 'paciente_id', 'paciente_foto:bytes');

CREATE TRIGGER tr_auditoria_paciente_upd AFTER UPDATE ON paciente
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('paciente_id', 'paciente_id', 'paciente_foto:bytes');

CREATE TRIGGER tr_auditoria_paciente_del AFTER DELETE ON paciente
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('paciente_id', 'paciente_id', 'paciente_foto:bytes');

CREATE TRIGGER tr_auditoria_anamnese_paciente_ins AFTER INSERT ON anamnese_paciente
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('paciente_id,anamnese_id', 'paciente_id');

CREATE TRIGGER tr_auditoria_anamnese_paciente_upd AFTER UPDATE ON anamnese_paciente
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('paciente_id,anamnese_id', 'paciente_id');

CREATE TRIGGER tr_auditoria_anamnese_paciente_del AFTER DELETE ON anamnese_paciente
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('paciente_id,anamnese_id', 'paciente_id');

CREATE TRIGGER tr_auditoria_foto_ins AFTER INSERT ON foto
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('foto_id', 'paciente_id', 'foto_img:bytes');

CREATE TRIGGER tr_auditoria_foto_upd AFTER UPDATE ON foto
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('foto_id', 'paciente_id', 'foto_img:bytes');

CREATE TRIGGER tr_auditoria_foto_del AFTER DELETE ON foto
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('foto_id', 'paciente_id', 'foto_img:bytes');

CREATE TRIGGER tr_auditoria_consulta_ins AFTER INSERT ON consulta
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('consulta_id', 'paciente_id');

CREATE TRIGGER tr_auditoria_consulta_upd AFTER UPDATE ON consulta
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('consulta_id', 'paciente_id');

CREATE TRIGGER tr_auditoria_consulta_del AFTER DELETE ON consulta
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('consulta_id', 'paciente_id');

CREATE TRIGGER tr_auditoria_item_consulta_ins AFTER INSERT ON item_consulta
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('item_consulta_id', 'consulta_id');

CREATE TRIGGER tr_auditoria_item_consulta_upd AFTER UPDATE ON item_consulta
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('item_consulta_id', 'consulta_id');

CREATE TRIGGER tr_auditoria_item_consulta_del AFTER DELETE ON item_consulta
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('item_consulta_id', 'consulta_id');

CREATE TRIGGER tr_auditoria_documento_ins AFTER INSERT ON documento
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('doc_id', 'paciente_id');

CREATE TRIGGER tr_auditoria_documento_upd AFTER UPDATE ON documento
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('doc_id', 'paciente_id');

CREATE TRIGGER tr_auditoria_documento_del AFTER DELETE ON documento
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('doc_id', 'paciente_id');

CREATE TRIGGER tr_auditoria_parcela_ins AFTER INSERT ON parcela
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('parcela_id', 'paciente_id');

CREATE TRIGGER tr_auditoria_parcela_upd AFTER UPDATE ON parcela
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('parcela_id', 'paciente_id');

CREATE TRIGGER tr_auditoria_parcela_del AFTER DELETE ON parcela
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('parcela_id', 'paciente_id');

CREATE TRIGGER tr_auditoria_agenda_ins AFTER INSERT ON agenda
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('agenda_id', 'paciente_id');

CREATE TRIGGER tr_auditoria_agenda_upd AFTER UPDATE ON agenda
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('agenda_id', 'paciente_id');

CREATE TRIGGER tr_auditoria_agenda_del AFTER DELETE ON agenda
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('agenda_id', 'paciente_id');

CREATE TRIGGER tr_auditoria_conta_ins AFTER INSERT ON conta
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('conta_id', '');

CREATE TRIGGER tr_auditoria_conta_upd AFTER UPDATE ON conta
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('conta_id', '');

CREATE TRIGGER tr_auditoria_conta_del AFTER DELETE ON conta
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('conta_id', '');

CREATE TRIGGER tr_auditoria_tabela_convenio_ins AFTER INSERT ON tabela_convenio
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('convenio_id,servico_id', '');

CREATE TRIGGER tr_auditoria_tabela_convenio_upd AFTER UPDATE ON tabela_convenio
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('convenio_id,servico_id', '');

CREATE TRIGGER tr_auditoria_tabela_convenio_del AFTER DELETE ON tabela_convenio
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('convenio_id,servico_id', '');

CREATE TRIGGER tr_auditoria_usuario_ins AFTER INSERT ON usuario
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('usuario_id', '', 'usuario_senha:secret', 'usuario_confirma:secret');

CREATE TRIGGER tr_auditoria_usuario_upd AFTER UPDATE ON usuario
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('usuario_id', '', 'usuario_senha:secret', 'usuario_confirma:secret');

CREATE TRIGGER tr_auditoria_usuario_del AFTER DELETE ON usuario
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('usuario_id', '', 'usuario_senha:secret', 'usuario_confirma:secret');

CREATE TRIGGER tr_auditoria_grupo_ins AFTER INSERT ON grupo
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('grupo_id', '');

CREATE TRIGGER tr_auditoria_grupo_upd AFTER UPDATE ON grupo
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('grupo_id', '');

CREATE TRIGGER tr_auditoria_grupo_del AFTER DELETE ON grupo
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('grupo_id', '');

CREATE TRIGGER tr_auditoria_grupo_permissao_ins AFTER INSERT ON grupo_permissao
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('grupo_id,form_nome', '');

CREATE TRIGGER tr_auditoria_grupo_permissao_upd AFTER UPDATE ON grupo_permissao
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('grupo_id,form_nome', '');

CREATE TRIGGER tr_auditoria_grupo_permissao_del AFTER DELETE ON grupo_permissao
  FOR EACH ROW EXECUTE FUNCTION dv_auditar('grupo_id,form_nome', '');

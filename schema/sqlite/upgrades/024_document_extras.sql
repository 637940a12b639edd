-- The clinic's own medicines, picked into prescriptions: name, dosage and how to take it.
CREATE TABLE medicamento (
  medicamento_id         INTEGER PRIMARY KEY AUTOINCREMENT,
  medicamento_nome       VARCHAR(60) COLLATE NOCASE,
  medicamento_dosagem    VARCHAR(40) COLLATE NOCASE,
  medicamento_posologia  VARCHAR(200) COLLATE NOCASE
);

INSERT INTO medicamento (medicamento_nome, medicamento_dosagem, medicamento_posologia) VALUES
  ('Amoxicilina', '500 mg - 21 cápsulas', 'Tomar 1 cápsula de 8 em 8 horas por 7 dias.'),
  ('Ibuprofeno', '600 mg - 9 comprimidos', 'Tomar 1 comprimido de 8 em 8 horas por 3 dias, após as refeições.'),
  ('Dipirona sódica', '500 mg - 12 comprimidos', 'Tomar 1 comprimido de 6 em 6 horas em caso de dor.'),
  ('Paracetamol', '750 mg - 12 comprimidos', 'Tomar 1 comprimido de 6 em 6 horas em caso de dor ou febre.'),
  ('Nimesulida', '100 mg - 6 comprimidos', 'Tomar 1 comprimido de 12 em 12 horas por 3 dias.'),
  ('Clorexidina 0,12% (solução)', '1 frasco de 250 ml', 'Bochechar 15 ml por 1 minuto, 2 vezes ao dia, por 7 dias.'),
  ('Dexametasona', '4 mg - 2 comprimidos', 'Tomar 1 comprimido 1 hora antes do procedimento.');

-- {medicamentos} marks where picked medicines go; the paragraph with {cid} is printed only
-- with the patient's consent; the copies ("1ª via", "2ª via") are printed on pages of their own.
UPDATE documento_modelo SET modelo_texto = 'Paciente: {paciente}
CPF: {cpf}

Uso interno / oral:

{medicamentos}'
WHERE modelo_nome = 'Receituário';

UPDATE documento_modelo SET modelo_texto = 'Emitente: {dentista} - CRO {cro}
Endereço: {endereco}

Paciente: {paciente}   CPF: {cpf}
Endereço: {endereco_paciente}

Prescrição:
{medicamentos}

Identificação do comprador: ______________________  RG: __________
Identificação do fornecedor: ______________________  Data: ___/___/_____'
WHERE modelo_nome = 'Receituário de controle especial';

UPDATE documento_modelo SET modelo_texto = 'Atesto, para os devidos fins, que {paciente}, CPF {cpf}, esteve sob meus cuidados profissionais no dia {data}, devendo permanecer afastado(a) de suas atividades por ____ dia(s) a partir desta data.

CID: {cid} (informado com a autorização expressa do(a) paciente, que assina abaixo).
Assinatura do(a) paciente: ______________________________'
WHERE modelo_nome = 'Atestado com CID';

INSERT INTO Formulario (form_nome, form_descricao, form_tag, form_classe, form_ativo, form_tipo) VALUES
  ('frmDocumentoModelo', 'Modelos de Documentos', 0, 'TfrmDocumentoModelo', 'S', 'L'),
  ('frmDocumentoModelo_Manut', 'Cadastro de Modelo de Documento', 0, 'TfrmDocumentoModelo_Manut', 'S', 'M'),
  ('frmMedicamento', 'Medicamentos', 0, 'TfrmMedicamento', 'S', 'L'),
  ('frmMedicamento_Manut', 'Cadastro de Medicamento', 0, 'TfrmMedicamento_Manut', 'S', 'M'),
  ('frmPaciente_Documentos', 'Documentos do Paciente', 0, 'TfrmPaciente_Documentos', 'S', 'D');

INSERT INTO grupo_permissao (grupo_id, form_nome, form_novo, form_editar, form_excluir, form_filtrar,
                             form_imprimir, form_html, form_excel, form_outros) VALUES
  (1, 'frmDocumentoModelo', 'S', 'S', 'S', 'S', 'S', 'S', 'S', 'S'),
  (1, 'frmDocumentoModelo_Manut', 'S', 'S', 'S', 'S', 'S', 'S', 'S', 'S'),
  (1, 'frmMedicamento', 'S', 'S', 'S', 'S', 'S', 'S', 'S', 'S'),
  (1, 'frmMedicamento_Manut', 'S', 'S', 'S', 'S', 'S', 'S', 'S', 'S'),
  (1, 'frmPaciente_Documentos', 'S', 'S', 'S', 'S', 'S', 'S', 'S', 'S');

INSERT INTO menu_sistema (menu_id, sub_menu_id, menu_nome, menu_ativo, form_nome, menu_ajuda) VALUES
  (1, 9, 'Medicamentos', 'S', 'frmMedicamento',
   'Medicamentos da clínica, com dosagem e modo de usar, para incluir nas receitas.'),
  (4, 5, 'Modelos de Documentos', 'S', 'frmDocumentoModelo',
   'Textos dos documentos da clínica (receitas, atestados, declarações, contrato) e os campos que cada um usa.');

-- documento.doc_usuario (who wrote each document) enters the audit trail.

DROP TRIGGER IF EXISTS tr_auditoria_documento_ins;
DROP TRIGGER IF EXISTS tr_auditoria_documento_del;
DROP TRIGGER IF EXISTS tr_auditoria_documento_upd;

CREATE TRIGGER tr_auditoria_documento_ins AFTER INSERT ON documento
BEGIN
  INSERT INTO auditoria (auditoria_data, auditoria_tabela, auditoria_chave, auditoria_acao,
                         auditoria_paciente, auditoria_antes, auditoria_depois)
  VALUES (datetime('now', 'localtime'), 'documento', CAST(NEW.doc_id AS TEXT), 'I',
    NEW.paciente_id,
    NULL,
    '{' || substr(CASE WHEN NEW.doc_id IS NOT NULL THEN ',"doc_id":' || CASE WHEN NEW.doc_id IS NULL THEN 'null' WHEN typeof(NEW.doc_id) IN ('integer', 'real') THEN CAST(NEW.doc_id AS TEXT) ELSE '"' || replace(replace(replace(replace(replace(CAST(NEW.doc_id AS TEXT), '\', '\\'), '"', '\"'), char(10), '\n'), char(13), '\r'), char(9), '\t') || '"' END ELSE '' END
      || CASE WHEN NEW.consulta_id IS NOT NULL THEN ',"consulta_id":' || CASE WHEN NEW.consulta_id IS NULL THEN 'null' WHEN typeof(NEW.consulta_id) IN ('integer', 'real') THEN CAST(NEW.consulta_id AS TEXT) ELSE '"' || replace(replace(replace(replace(replace(CAST(NEW.consulta_id AS TEXT), '\', '\\'), '"', '\"'), char(10), '\n'), char(13), '\r'), char(9), '\t') || '"' END ELSE '' END
      || CASE WHEN NEW.paciente_id IS NOT NULL THEN ',"paciente_id":' || CASE WHEN NEW.paciente_id IS NULL THEN 'null' WHEN typeof(NEW.paciente_id) IN ('integer', 'real') THEN CAST(NEW.paciente_id AS TEXT) ELSE '"' || replace(replace(replace(replace(replace(CAST(NEW.paciente_id AS TEXT), '\', '\\'), '"', '\"'), char(10), '\n'), char(13), '\r'), char(9), '\t') || '"' END ELSE '' END
      || CASE WHEN NEW.dentista_id IS NOT NULL THEN ',"dentista_id":' || CASE WHEN NEW.dentista_id IS NULL THEN 'null' WHEN typeof(NEW.dentista_id) IN ('integer', 'real') THEN CAST(NEW.dentista_id AS TEXT) ELSE '"' || replace(replace(replace(replace(replace(CAST(NEW.dentista_id AS TEXT), '\', '\\'), '"', '\"'), char(10), '\n'), char(13), '\r'), char(9), '\t') || '"' END ELSE '' END
      || CASE WHEN NEW.doc_nome IS NOT NULL THEN ',"doc_nome":' || CASE WHEN NEW.doc_nome IS NULL THEN 'null' WHEN typeof(NEW.doc_nome) IN ('integer', 'real') THEN CAST(NEW.doc_nome AS TEXT) ELSE '"' || replace(replace(replace(replace(replace(CAST(NEW.doc_nome AS TEXT), '\', '\\'), '"', '\"'), char(10), '\n'), char(13), '\r'), char(9), '\t') || '"' END ELSE '' END
      || CASE WHEN NEW.doc_data IS NOT NULL THEN ',"doc_data":' || CASE WHEN NEW.doc_data IS NULL THEN 'null' WHEN typeof(NEW.doc_data) IN ('integer', 'real') THEN CAST(NEW.doc_data AS TEXT) ELSE '"' || replace(replace(replace(replace(replace(CAST(NEW.doc_data AS TEXT), '\', '\\'), '"', '\"'), char(10), '\n'), char(13), '\r'), char(9), '\t') || '"' END ELSE '' END
      || CASE WHEN NEW.doc_texto IS NOT NULL THEN ',"doc_texto":' || CASE WHEN NEW.doc_texto IS NULL THEN 'null' WHEN typeof(NEW.doc_texto) IN ('integer', 'real') THEN CAST(NEW.doc_texto AS TEXT) ELSE '"' || replace(replace(replace(replace(replace(CAST(NEW.doc_texto AS TEXT), '\', '\\'), '"', '\"'), char(10), '\n'), char(13), '\r'), char(9), '\t') || '"' END ELSE '' END
      || CASE WHEN NEW.doc_usuario IS NOT NULL THEN ',"doc_usuario":' || CASE WHEN NEW.doc_usuario IS NULL THEN 'null' WHEN typeof(NEW.doc_usuario) IN ('integer', 'real') THEN CAST(NEW.doc_usuario AS TEXT) ELSE '"' || replace(replace(replace(replace(replace(CAST(NEW.doc_usuario AS TEXT), '\', '\\'), '"', '\"'), char(10), '\n'), char(13), '\r'), char(9), '\t') || '"' END ELSE '' END, 2) || '}');
END;

CREATE TRIGGER tr_auditoria_documento_del AFTER DELETE ON documento
BEGIN
  INSERT INTO auditoria (auditoria_data, auditoria_tabela, auditoria_chave, auditoria_acao,
                         auditoria_paciente, auditoria_antes, auditoria_depois)
  VALUES (datetime('now', 'localtime'), 'documento', CAST(OLD.doc_id AS TEXT), 'D',
    OLD.paciente_id,
    '{' || substr(CASE WHEN OLD.doc_id IS NOT NULL THEN ',"doc_id":' || CASE WHEN OLD.doc_id IS NULL THEN 'null' WHEN typeof(OLD.doc_id) IN ('integer', 'real') THEN CAST(OLD.doc_id AS TEXT) ELSE '"' || replace(replace(replace(replace(replace(CAST(OLD.doc_id AS TEXT), '\', '\\'), '"', '\"'), char(10), '\n'), char(13), '\r'), char(9), '\t') || '"' END ELSE '' END
      || CASE WHEN OLD.consulta_id IS NOT NULL THEN ',"consulta_id":' || CASE WHEN OLD.consulta_id IS NULL THEN 'null' WHEN typeof(OLD.consulta_id) IN ('integer', 'real') THEN CAST(OLD.consulta_id AS TEXT) ELSE '"' || replace(replace(replace(replace(replace(CAST(OLD.consulta_id AS TEXT), '\', '\\'), '"', '\"'), char(10), '\n'), char(13), '\r'), char(9), '\t') || '"' END ELSE '' END
      || CASE WHEN OLD.paciente_id IS NOT NULL THEN ',"paciente_id":' || CASE WHEN OLD.paciente_id IS NULL THEN 'null' WHEN typeof(OLD.paciente_id) IN ('integer', 'real') THEN CAST(OLD.paciente_id AS TEXT) ELSE '"' || replace(replace(replace(replace(replace(CAST(OLD.paciente_id AS TEXT), '\', '\\'), '"', '\"'), char(10), '\n'), char(13), '\r'), char(9), '\t') || '"' END ELSE '' END
      || CASE WHEN OLD.dentista_id IS NOT NULL THEN ',"dentista_id":' || CASE WHEN OLD.dentista_id IS NULL THEN 'null' WHEN typeof(OLD.dentista_id) IN ('integer', 'real') THEN CAST(OLD.dentista_id AS TEXT) ELSE '"' || replace(replace(replace(replace(replace(CAST(OLD.dentista_id AS TEXT), '\', '\\'), '"', '\"'), char(10), '\n'), char(13), '\r'), char(9), '\t') || '"' END ELSE '' END
      || CASE WHEN OLD.doc_nome IS NOT NULL THEN ',"doc_nome":' || CASE WHEN OLD.doc_nome IS NULL THEN 'null' WHEN typeof(OLD.doc_nome) IN ('integer', 'real') THEN CAST(OLD.doc_nome AS TEXT) ELSE '"' || replace(replace(replace(replace(replace(CAST(OLD.doc_nome AS TEXT), '\', '\\'), '"', '\"'), char(10), '\n'), char(13), '\r'), char(9), '\t') || '"' END ELSE '' END
      || CASE WHEN OLD.doc_data IS NOT NULL THEN ',"doc_data":' || CASE WHEN OLD.doc_data IS NULL THEN 'null' WHEN typeof(OLD.doc_data) IN ('integer', 'real') THEN CAST(OLD.doc_data AS TEXT) ELSE '"' || replace(replace(replace(replace(replace(CAST(OLD.doc_data AS TEXT), '\', '\\'), '"', '\"'), char(10), '\n'), char(13), '\r'), char(9), '\t') || '"' END ELSE '' END
      || CASE WHEN OLD.doc_texto IS NOT NULL THEN ',"doc_texto":' || CASE WHEN OLD.doc_texto IS NULL THEN 'null' WHEN typeof(OLD.doc_texto) IN ('integer', 'real') THEN CAST(OLD.doc_texto AS TEXT) ELSE '"' || replace(replace(replace(replace(replace(CAST(OLD.doc_texto AS TEXT), '\', '\\'), '"', '\"'), char(10), '\n'), char(13), '\r'), char(9), '\t') || '"' END ELSE '' END
      || CASE WHEN OLD.doc_usuario IS NOT NULL THEN ',"doc_usuario":' || CASE WHEN OLD.doc_usuario IS NULL THEN 'null' WHEN typeof(OLD.doc_usuario) IN ('integer', 'real') THEN CAST(OLD.doc_usuario AS TEXT) ELSE '"' || replace(replace(replace(replace(replace(CAST(OLD.doc_usuario AS TEXT), '\', '\\'), '"', '\"'), char(10), '\n'), char(13), '\r'), char(9), '\t') || '"' END ELSE '' END, 2) || '}',
    NULL);
END;

CREATE TRIGGER tr_auditoria_documento_upd AFTER UPDATE ON documento
WHEN OLD.doc_id IS NOT NEW.doc_id OR OLD.consulta_id IS NOT NEW.consulta_id OR OLD.paciente_id IS NOT NEW.paciente_id OR OLD.dentista_id IS NOT NEW.dentista_id OR OLD.doc_nome IS NOT NEW.doc_nome OR OLD.doc_data IS NOT NEW.doc_data OR OLD.doc_texto IS NOT NEW.doc_texto OR OLD.doc_usuario IS NOT NEW.doc_usuario
BEGIN
  INSERT INTO auditoria (auditoria_data, auditoria_tabela, auditoria_chave, auditoria_acao,
                         auditoria_paciente, auditoria_antes, auditoria_depois)
  VALUES (datetime('now', 'localtime'), 'documento', CAST(NEW.doc_id AS TEXT), 'U',
    NEW.paciente_id,
    '{' || substr(CASE WHEN OLD.doc_id IS NOT NEW.doc_id THEN ',"doc_id":' || CASE WHEN OLD.doc_id IS NULL THEN 'null' WHEN typeof(OLD.doc_id) IN ('integer', 'real') THEN CAST(OLD.doc_id AS TEXT) ELSE '"' || replace(replace(replace(replace(replace(CAST(OLD.doc_id AS TEXT), '\', '\\'), '"', '\"'), char(10), '\n'), char(13), '\r'), char(9), '\t') || '"' END ELSE '' END
      || CASE WHEN OLD.consulta_id IS NOT NEW.consulta_id THEN ',"consulta_id":' || CASE WHEN OLD.consulta_id IS NULL THEN 'null' WHEN typeof(OLD.consulta_id) IN ('integer', 'real') THEN CAST(OLD.consulta_id AS TEXT) ELSE '"' || replace(replace(replace(replace(replace(CAST(OLD.consulta_id AS TEXT), '\', '\\'), '"', '\"'), char(10), '\n'), char(13), '\r'), char(9), '\t') || '"' END ELSE '' END
      || CASE WHEN OLD.paciente_id IS NOT NEW.paciente_id THEN ',"paciente_id":' || CASE WHEN OLD.paciente_id IS NULL THEN 'null' WHEN typeof(OLD.paciente_id) IN ('integer', 'real') THEN CAST(OLD.paciente_id AS TEXT) ELSE '"' || replace(replace(replace(replace(replace(CAST(OLD.paciente_id AS TEXT), '\', '\\'), '"', '\"'), char(10), '\n'), char(13), '\r'), char(9), '\t') || '"' END ELSE '' END
      || CASE WHEN OLD.dentista_id IS NOT NEW.dentista_id THEN ',"dentista_id":' || CASE WHEN OLD.dentista_id IS NULL THEN 'null' WHEN typeof(OLD.dentista_id) IN ('integer', 'real') THEN CAST(OLD.dentista_id AS TEXT) ELSE '"' || replace(replace(replace(replace(replace(CAST(OLD.dentista_id AS TEXT), '\', '\\'), '"', '\"'), char(10), '\n'), char(13), '\r'), char(9), '\t') || '"' END ELSE '' END
      || CASE WHEN OLD.doc_nome IS NOT NEW.doc_nome THEN ',"doc_nome":' || CASE WHEN OLD.doc_nome IS NULL THEN 'null' WHEN typeof(OLD.doc_nome) IN ('integer', 'real') THEN CAST(OLD.doc_nome AS TEXT) ELSE '"' || replace(replace(replace(replace(replace(CAST(OLD.doc_nome AS TEXT), '\', '\\'), '"', '\"'), char(10), '\n'), char(13), '\r'), char(9), '\t') || '"' END ELSE '' END
      || CASE WHEN OLD.doc_data IS NOT NEW.doc_data THEN ',"doc_data":' || CASE WHEN OLD.doc_data IS NULL THEN 'null' WHEN typeof(OLD.doc_data) IN ('integer', 'real') THEN CAST(OLD.doc_data AS TEXT) ELSE '"' || replace(replace(replace(replace(replace(CAST(OLD.doc_data AS TEXT), '\', '\\'), '"', '\"'), char(10), '\n'), char(13), '\r'), char(9), '\t') || '"' END ELSE '' END
      || CASE WHEN OLD.doc_texto IS NOT NEW.doc_texto THEN ',"doc_texto":' || CASE WHEN OLD.doc_texto IS NULL THEN 'null' WHEN typeof(OLD.doc_texto) IN ('integer', 'real') THEN CAST(OLD.doc_texto AS TEXT) ELSE '"' || replace(replace(replace(replace(replace(CAST(OLD.doc_texto AS TEXT), '\', '\\'), '"', '\"'), char(10), '\n'), char(13), '\r'), char(9), '\t') || '"' END ELSE '' END
      || CASE WHEN OLD.doc_usuario IS NOT NEW.doc_usuario THEN ',"doc_usuario":' || CASE WHEN OLD.doc_usuario IS NULL THEN 'null' WHEN typeof(OLD.doc_usuario) IN ('integer', 'real') THEN CAST(OLD.doc_usuario AS TEXT) ELSE '"' || replace(replace(replace(replace(replace(CAST(OLD.doc_usuario AS TEXT), '\', '\\'), '"', '\"'), char(10), '\n'), char(13), '\r'), char(9), '\t') || '"' END ELSE '' END, 2) || '}',
    '{' || substr(CASE WHEN OLD.doc_id IS NOT NEW.doc_id THEN ',"doc_id":' || CASE WHEN NEW.doc_id IS NULL THEN 'null' WHEN typeof(NEW.doc_id) IN ('integer', 'real') THEN CAST(NEW.doc_id AS TEXT) ELSE '"' || replace(replace(replace(replace(replace(CAST(NEW.doc_id AS TEXT), '\', '\\'), '"', '\"'), char(10), '\n'), char(13), '\r'), char(9), '\t') || '"' END ELSE '' END
      || CASE WHEN OLD.consulta_id IS NOT NEW.consulta_id THEN ',"consulta_id":' || CASE WHEN NEW.consulta_id IS NULL THEN 'null' WHEN typeof(NEW.consulta_id) IN ('integer', 'real') THEN CAST(NEW.consulta_id AS TEXT) ELSE '"' || replace(replace(replace(replace(replace(CAST(NEW.consulta_id AS TEXT), '\', '\\'), '"', '\"'), char(10), '\n'), char(13), '\r'), char(9), '\t') || '"' END ELSE '' END
      || CASE WHEN OLD.paciente_id IS NOT NEW.paciente_id THEN ',"paciente_id":' || CASE WHEN NEW.paciente_id IS NULL THEN 'null' WHEN typeof(NEW.paciente_id) IN ('integer', 'real') THEN CAST(NEW.paciente_id AS TEXT) ELSE '"' || replace(replace(replace(replace(replace(CAST(NEW.paciente_id AS TEXT), '\', '\\'), '"', '\"'), char(10), '\n'), char(13), '\r'), char(9), '\t') || '"' END ELSE '' END
      || CASE WHEN OLD.dentista_id IS NOT NEW.dentista_id THEN ',"dentista_id":' || CASE WHEN NEW.dentista_id IS NULL THEN 'null' WHEN typeof(NEW.dentista_id) IN ('integer', 'real') THEN CAST(NEW.dentista_id AS TEXT) ELSE '"' || replace(replace(replace(replace(replace(CAST(NEW.dentista_id AS TEXT), '\', '\\'), '"', '\"'), char(10), '\n'), char(13), '\r'), char(9), '\t') || '"' END ELSE '' END
      || CASE WHEN OLD.doc_nome IS NOT NEW.doc_nome THEN ',"doc_nome":' || CASE WHEN NEW.doc_nome IS NULL THEN 'null' WHEN typeof(NEW.doc_nome) IN ('integer', 'real') THEN CAST(NEW.doc_nome AS TEXT) ELSE '"' || replace(replace(replace(replace(replace(CAST(NEW.doc_nome AS TEXT), '\', '\\'), '"', '\"'), char(10), '\n'), char(13), '\r'), char(9), '\t') || '"' END ELSE '' END
      || CASE WHEN OLD.doc_data IS NOT NEW.doc_data THEN ',"doc_data":' || CASE WHEN NEW.doc_data IS NULL THEN 'null' WHEN typeof(NEW.doc_data) IN ('integer', 'real') THEN CAST(NEW.doc_data AS TEXT) ELSE '"' || replace(replace(replace(replace(replace(CAST(NEW.doc_data AS TEXT), '\', '\\'), '"', '\"'), char(10), '\n'), char(13), '\r'), char(9), '\t') || '"' END ELSE '' END
      || CASE WHEN OLD.doc_texto IS NOT NEW.doc_texto THEN ',"doc_texto":' || CASE WHEN NEW.doc_texto IS NULL THEN 'null' WHEN typeof(NEW.doc_texto) IN ('integer', 'real') THEN CAST(NEW.doc_texto AS TEXT) ELSE '"' || replace(replace(replace(replace(replace(CAST(NEW.doc_texto AS TEXT), '\', '\\'), '"', '\"'), char(10), '\n'), char(13), '\r'), char(9), '\t') || '"' END ELSE '' END
      || CASE WHEN OLD.doc_usuario IS NOT NEW.doc_usuario THEN ',"doc_usuario":' || CASE WHEN NEW.doc_usuario IS NULL THEN 'null' WHEN typeof(NEW.doc_usuario) IN ('integer', 'real') THEN CAST(NEW.doc_usuario AS TEXT) ELSE '"' || replace(replace(replace(replace(replace(CAST(NEW.doc_usuario AS TEXT), '\', '\\'), '"', '\"'), char(10), '\n'), char(13), '\r'), char(9), '\t') || '"' END ELSE '' END, 2) || '}');
END;

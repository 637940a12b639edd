#!/usr/bin/env python3
"""Writes the embedded engine's audit triggers for a schema step.

    tools/audit_triggers.py build/app/banco/DBDentrivale.mdb > schema/sqlite/upgrades/NNN_x.sql
    tools/audit_triggers.py build/app/banco/DBDentrivale.mdb agenda >> schema/sqlite/upgrades/NNN_x.sql

Naming tables writes only theirs, each dropped first: for a step that added columns.

The columns are read from a generated installation database, so that a step that
adds columns to an audited table can drop and write the triggers again. The
server needs none of this: its one trigger function reads any row as JSON.
"""
import subprocess
import sys

KEY = "5316428850"
# table: (key columns, how the row names its patient: a column, 'consulta_id' or None)
AUDITED = {
    "paciente": (["paciente_id"], "paciente_id"),
    "anamnese_paciente": (["paciente_id", "anamnese_id"], "paciente_id"),
    "foto": (["foto_id"], "paciente_id"),
    "consulta": (["consulta_id"], "paciente_id"),
    "item_consulta": (["item_consulta_id"], "consulta_id"),
    "documento": (["doc_id"], "paciente_id"),
    "parcela": (["parcela_id"], "paciente_id"),
    "agenda": (["agenda_id"], "paciente_id"),
    "conta": (["conta_id"], None),
    "tabela_convenio": (["convenio_id", "servico_id"], None),
    "usuario": (["usuario_id"], None),
    "grupo": (["grupo_id"], None),
    "grupo_permissao": (["grupo_id", "form_nome"], None),
    "paciente_consentimento": (["consentimento_id"], "paciente_id"),
    "paciente_anonimizado": (["paciente_id"], "paciente_id"),
    "paciente_exportacao": (["exportacao_id"], "paciente_id"),
}
# Never copied into the trail: only that they changed.
SECRET = {"usuario_senha", "usuario_confirma"}


def columns(db, table):
    out = subprocess.run(["sqlcipher", db], input=f"PRAGMA key='{KEY}';\nPRAGMA table_info({table});\n",
                         capture_output=True, text=True, check=True).stdout
    return [(line.split("|")[1], line.split("|")[2].upper()) for line in out.splitlines() if "|" in line]


def value(row, col, typ):
    v = f"{row}.{col}"
    if col in SECRET:
        return f"CASE WHEN {v} IS NULL THEN 'null' ELSE '\"***\"' END"
    if typ == "BLOB":
        return f"CASE WHEN {v} IS NULL THEN 'null' ELSE '\"<' || length({v}) || ' bytes>\"' END"
    return (f"CASE WHEN {v} IS NULL THEN 'null' WHEN typeof({v}) IN ('integer', 'real') THEN CAST({v} AS TEXT) "
            f"ELSE '\"' || replace(replace(replace(replace(replace(CAST({v} AS TEXT), '\\', '\\\\'), '\"', '\\\"'), "
            f"char(10), '\\n'), char(13), '\\r'), char(9), '\\t') || '\"' END")


def obj(row, cols, cond):
    parts = [f"CASE WHEN {cond(c)} THEN ',\"{c}\":' || {value(row, c, t)} ELSE '' END" for c, t in cols]
    return "'{' || substr(" + "\n      || ".join(parts) + ", 2) || '}'"


def patient(row, how):
    if how is None:
        return "NULL"
    if how == "consulta_id":
        return f"(SELECT paciente_id FROM consulta WHERE consulta_id = {row}.consulta_id)"
    return f"{row}.{how}"


def key(row, keys):
    return " || '/' || ".join(f"CAST({row}.{k} AS TEXT)" for k in keys)


def main():
    db = sys.argv[1]
    only = sys.argv[2:]
    unknown = [t for t in only if t not in AUDITED]
    if unknown:
        sys.exit(f"not audited: {', '.join(unknown)}")
    print("-- Audit triggers of the embedded engine (written by tools/audit_triggers.py): each")
    print("-- change of an audited table leaves a row in auditoria, with the values it set")
    print("-- (insert), removed (delete) or changed (update, old and new side by side).")
    print("-- Plain SQL only, so that changes made with the sqlcipher tool are recorded too.")
    for table, (keys, how) in AUDITED.items():
        if only and table not in only:
            continue
        cols = columns(db, table)
        if only:
            print()
            for suffix in ("ins", "del", "upd"):
                print(f"DROP TRIGGER IF EXISTS tr_auditoria_{table}_{suffix};")
        ins = [
            ("ins", "INSERT", "NEW", "NULL", obj("NEW", cols, lambda c: f"NEW.{c} IS NOT NULL"), "I", None),
            ("del", "DELETE", "OLD", obj("OLD", cols, lambda c: f"OLD.{c} IS NOT NULL"), "NULL", "D", None),
            ("upd", "UPDATE", "NEW", obj("OLD", cols, lambda c: f"OLD.{c} IS NOT NEW.{c}"),
             obj("NEW", cols, lambda c: f"OLD.{c} IS NOT NEW.{c}"), "U",
             " OR ".join(f"OLD.{c} IS NOT NEW.{c}" for c, _ in cols)),
        ]
        for suffix, event, row, before, after, action, when in ins:
            print()
            print(f"CREATE TRIGGER tr_auditoria_{table}_{suffix} AFTER {event} ON {table}")
            if when:
                print(f"WHEN {when}")
            print("BEGIN")
            print("  INSERT INTO auditoria (auditoria_data, auditoria_tabela, auditoria_chave, auditoria_acao,")
            print("                         auditoria_paciente, auditoria_antes, auditoria_depois)")
            print(f"  VALUES (datetime('now', 'localtime'), '{table}', {key(row, keys)}, '{action}',")
            print(f"    {patient(row, how)},")
            print(f"    {before},")
            print(f"    {after});")
            print("END;")


main()

-- The triggers of ../sqlite/05_triggers.sql in PL/pgSQL, under the same names
-- (dv_makedb refuses to finish while an embedded trigger has no counterpart).

CREATE FUNCTION parcela_restante() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
  NEW.parcela_valor_restante := coalesce(NEW.parcela_valor_liquido, 0) - coalesce(NEW.parcela_valor_pago, 0);
  RETURN NEW;
END
$$;

CREATE TRIGGER tr_parcela_restante_ins BEFORE INSERT ON parcela
  FOR EACH ROW EXECUTE FUNCTION parcela_restante();

CREATE TRIGGER tr_parcela_restante_upd BEFORE UPDATE OF parcela_valor_liquido, parcela_valor_pago ON parcela
  FOR EACH ROW EXECUTE FUNCTION parcela_restante();

-- The remaining amount of an installment is read by the receipt and the
-- receivables but written by no screen: keep it as net amount minus paid.

CREATE TRIGGER tr_parcela_restante_ins AFTER INSERT ON parcela
BEGIN
  UPDATE parcela
     SET parcela_valor_restante = IFNULL(NEW.parcela_valor_liquido, 0) - IFNULL(NEW.parcela_valor_pago, 0)
   WHERE parcela_id = NEW.parcela_id;
END;

CREATE TRIGGER tr_parcela_restante_upd AFTER UPDATE OF parcela_valor_liquido, parcela_valor_pago ON parcela
BEGIN
  UPDATE parcela
     SET parcela_valor_restante = IFNULL(NEW.parcela_valor_liquido, 0) - IFNULL(NEW.parcela_valor_pago, 0)
   WHERE parcela_id = NEW.parcela_id;
END;

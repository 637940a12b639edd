-- The clinic's Pix key and the beneficiary printed on receipts and installment booklets.
ALTER TABLE empresa ADD COLUMN empresa_pix_chave VARCHAR(77);
ALTER TABLE empresa ADD COLUMN empresa_pix_nome VARCHAR(25);
ALTER TABLE empresa ADD COLUMN empresa_pix_cidade VARCHAR(15);

-- The installment booklet: one slip with a Pix QR code per open installment.
INSERT INTO Relatorio (relat_nome, relat_descricao, relat_ativo, relat_arquivo, form_nome) VALUES
  ('Relat_Carne',           'Carnê de Parcelas',                    'S', 'relatorio\Dentrivale.rav', 'frmConsulta_Manut');

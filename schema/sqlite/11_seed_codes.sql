-- Code tables that come with the installation, the anamnesis questionnaire,
-- the clinic's company row and the "Particular" plan.

INSERT INTO UF (uf_id, uf_nome) VALUES
  ('AC', 'Acre'),
  ('AL', 'Alagoas'),
  ('AP', 'Amapá'),
  ('AM', 'Amazonas'),
  ('BA', 'Bahia'),
  ('CE', 'Ceará'),
  ('DF', 'Distrito Federal'),
  ('ES', 'Espírito Santo'),
  ('GO', 'Goiás'),
  ('MA', 'Maranhão'),
  ('MT', 'Mato Grosso'),
  ('MS', 'Mato Grosso do Sul'),
  ('MG', 'Minas Gerais'),
  ('PA', 'Pará'),
  ('PB', 'Paraíba'),
  ('PR', 'Paraná'),
  ('PE', 'Pernambuco'),
  ('PI', 'Piauí'),
  ('RJ', 'Rio de Janeiro'),
  ('RN', 'Rio Grande do Norte'),
  ('RS', 'Rio Grande do Sul'),
  ('RO', 'Rondônia'),
  ('RR', 'Roraima'),
  ('SC', 'Santa Catarina'),
  ('SP', 'São Paulo'),
  ('SE', 'Sergipe'),
  ('TO', 'Tocantins');

INSERT INTO ramo (ramo_id) VALUES
  ('Clínica Geral'),
  ('Cirurgia Bucomaxilofacial'),
  ('Dentística'),
  ('Endodontia'),
  ('Estética'),
  ('Implantodontia'),
  ('Odontopediatria'),
  ('Ortodontia'),
  ('Periodontia'),
  ('Prevenção'),
  ('Prótese Dentária'),
  ('Radiologia');

INSERT INTO unidade (unidade_id) VALUES
  ('AMP'), ('CJ'), ('CX'), ('FR'), ('G'), ('KG'), ('L'), ('ML'), ('PAR'), ('PCT'), ('RL'), ('TB'), ('UN');

INSERT INTO forma_pagamento (forma_pagamento_id, forma_pagamento_nome) VALUES
  (1, 'Dinheiro'),
  (2, 'Cheque'),
  (3, 'Cartão de crédito'),
  (4, 'Cartão de débito'),
  (5, 'Boleto'),
  (6, 'PIX'),
  (7, 'Convênio'),
  (8, 'Transferência bancária');

INSERT INTO tipo_conta (tipo_conta) VALUES
  ('Aluguel'),
  ('Água'),
  ('Energia elétrica'),
  ('Telefone e internet'),
  ('Material odontológico'),
  ('Laboratório de prótese'),
  ('Salários e encargos'),
  ('Impostos e taxas'),
  ('Manutenção de equipamentos'),
  ('Material de escritório'),
  ('Limpeza e esterilização'),
  ('Outras despesas');

-- Type 1 is the supplier type: the stock screen offers only these contacts.
INSERT INTO tipo_contato (tipo_contato_id, tipo_contato_nome) VALUES
  (1, 'Fornecedor'),
  (2, 'Laboratório de prótese'),
  (3, 'Dentista parceiro'),
  (4, 'Convênio'),
  (5, 'Prestador de serviço'),
  (6, 'Outros');

INSERT INTO local_dente (local_dente_id, local_dente_nome) VALUES
  ('DS', 'Dente superior'),
  ('DI', 'Dente inferior'),
  ('Q1', 'Quadrante superior direito'),
  ('Q2', 'Quadrante superior esquerdo'),
  ('Q3', 'Quadrante inferior esquerdo'),
  ('Q4', 'Quadrante inferior direito'),
  ('TO', 'Prótese / Outros');

-- anamnese_edit 'S' marks the questions whose answer asks for a note ("Qual?").
INSERT INTO anamnese (anamnese_id, anamnese_nome, anamnese_ordem, anamnese_edit) VALUES
  (1,  'Está em tratamento médico atualmente?', 1, 'S'),
  (2,  'Faz uso de algum medicamento? Qual?', 2, 'S'),
  (3,  'Tem alergia a algum medicamento (penicilina, dipirona, anti-inflamatórios)? Qual?', 3, 'S'),
  (4,  'Tem alergia a látex, iodo ou outra substância?', 4, 'S'),
  (5,  'Já teve alguma reação à anestesia local?', 5, 'S'),
  (6,  'Tem ou teve doença cardíaca (sopro, arritmia, infarto, prótese de válvula)?', 6, 'S'),
  (7,  'Tem pressão alta (hipertensão)?', 7, 'N'),
  (8,  'Tem diabetes?', 8, 'N'),
  (9,  'Tem problema de sangramento ou de coagulação?', 9, 'S'),
  (10, 'Toma anticoagulante ou AAS?', 10, 'N'),
  (11, 'Está grávida ou amamentando?', 11, 'S'),
  (12, 'Tem ou teve hepatite, HIV, tuberculose ou outra doença infecciosa?', 12, 'S'),
  (13, 'Tem asma, bronquite ou outro problema respiratório?', 13, 'S'),
  (14, 'Tem epilepsia ou já teve convulsões?', 14, 'N'),
  (15, 'Tem problema renal ou hepático?', 15, 'S'),
  (16, 'É fumante?', 16, 'N'),
  (17, 'Já fez alguma cirurgia? Qual?', 17, 'S'),
  (18, 'Sente dor ou estalos na articulação da mandíbula (ATM)?', 18, 'N');

-- A fictitious clinic; the CNPJ passes the check digits.
INSERT INTO empresa (empresa_id, empresa_nome, empresa_cgc, empresa_endereco, empresa_numero, empresa_bairro,
                     empresa_cidade, empresa_uf, empresa_cep, empresa_fone, empresa_fone2, empresa_logo)
VALUES (1, 'Clínica Odontológica Sorriso do Vale Ltda', '23456789000195', 'Avenida Nove de Julho', '1250',
        'Jardim Apolo', 'São José dos Campos', 'SP', '12243000', '55(012)99741-2200', '55(012)98112-3400', NULL);

INSERT INTO convenio (convenio_id, convenio_nome) VALUES (1, 'Particular');

-- The clinic's own document texts (prescriptions, certificates, declarations, the
-- treatment contract), with fields the consultation fills in: {paciente} {cpf} {rg}
-- {dentista} {cro} {clinica} {cidade} {data} {hora} {total} {parcelas}.
CREATE TABLE documento_modelo (
  modelo_id     INTEGER PRIMARY KEY AUTOINCREMENT,
  modelo_nome   VARCHAR(50) COLLATE NOCASE,
  modelo_texto  TEXT COLLATE NOCASE
);

-- Who wrote each stored document.
ALTER TABLE documento ADD COLUMN doc_usuario VARCHAR(30);

INSERT INTO documento_modelo (modelo_nome, modelo_texto) VALUES
  ('Receituário',
   'Paciente: {paciente}
CPF: {cpf}

Uso interno / oral:

1. ________________________________  ______
   Tomar ________________________________

2. ________________________________  ______
   Tomar ________________________________'),
  ('Receituário de controle especial',
   'RECEITUÁRIO DE CONTROLE ESPECIAL - 1ª via: farmácia / 2ª via: paciente

Emitente: {dentista} - CRO {cro}
Endereço: {endereco}

Paciente: {paciente}   CPF: {cpf}
Endereço: {endereco_paciente}

Prescrição:
1. ________________________________  ______
   ____________________________________________

Identificação do comprador: ______________________  RG: __________
Identificação do fornecedor: ______________________  Data: ___/___/_____'),
  ('Atestado',
   'Atesto, para os devidos fins, que {paciente}, CPF {cpf}, esteve sob meus cuidados profissionais no dia {data}, das ____ às ____ horas, devendo permanecer afastado(a) de suas atividades por ____ dia(s) a partir desta data.'),
  ('Atestado com CID',
   'Atesto, para os devidos fins, que {paciente}, CPF {cpf}, esteve sob meus cuidados profissionais no dia {data}, devendo permanecer afastado(a) de suas atividades por ____ dia(s) a partir desta data.

CID: ______ (informado com a autorização expressa do(a) paciente, que assina abaixo).

Assinatura do(a) paciente: ______________________________'),
  ('Declaração de comparecimento',
   'Declaro, para os devidos fins, que {paciente}, CPF {cpf}, compareceu a esta clínica no dia {data}, das ____ às ____ horas, para tratamento odontológico.'),
  ('Contrato de tratamento',
   'CONTRATO DE PRESTAÇÃO DE SERVIÇOS ODONTOLÓGICOS

Contratada: {clinica}, representada pelo(a) cirurgião(ã)-dentista {dentista}, CRO {cro}.
Contratante: {paciente}, CPF {cpf}.

1. A contratada prestará ao contratante o tratamento odontológico do orçamento aprovado, no valor total de {total}.
2. O pagamento será feito em: {parcelas}.
3. O atraso no pagamento de uma parcela sujeita o contratante a multa de 2% e juros de 1% ao mês.
4. O contratante compromete-se a comparecer às consultas marcadas e a seguir as orientações recebidas.
5. Fica eleito o foro da comarca de {cidade} para dirimir quaisquer dúvidas deste contrato.


______________________________________
{paciente} - contratante');

// Every statement the screens and the data module run, exactly as they write
// it, against a copy of the installation database with a few rows added: each
// must prepare and run, and where the rows make the answer plain, give it.
#include "TempDb.h"
#include "core/db/Currency.h"
#include "core/db/Engine.h"
#include "clinical/PatientAnonymiser.h"
#include "clinical/ReturnList.h"
#include <QtTest>

using namespace dv;

Q_DECLARE_METATYPE(dv::Param)

namespace {

Param pInt(const char* name, qint64 v) {
    return {QString::fromLatin1(name), ParamType::Integer, v};
}
Param pText(const char* name, const QString& v) {
    return {QString::fromLatin1(name), ParamType::String, v};
}
// A month-first date text compared with a date column: the statements that do so
// ask for the conversion with a DateTime parameter (text parameters stay verbatim).
Param pDate(const char* name, const QString& monthFirst) {
    return {QString::fromLatin1(name), ParamType::DateTime, monthFirst};
}

// A small clinic: two dentists (one inactive), a patient born in December with
// an answer and a photo, a service drawn on Q1 and priced in the "Particular"
// plan, a consultation of 01/12/2026 with one item, one document and two
// installments (one open and due 10/12, one paid on 05/12), Tuesday hours
// 08:00-09:00 with 08:30 booked, a supplier, a product and a bill.
const char* const kFixture[] = {
    // The catalogue the installation ships makes way for the fixture's own.
    "delete from servico_icone",
    "delete from tabela_convenio",
    "delete from servico",
    "delete from icone",
    "delete from dente",
    "insert into dentista (dentista_id, dentista_nome, dentista_cro, empresa_id, dentista_ativo) "
    "values (1, 'Ana Souza', 'CRO-SP 12345', 1, 'S')",
    "insert into dentista (dentista_id, dentista_nome, dentista_ativo) values (2, 'Bruno Lima', 'N')",
    "insert into paciente (paciente_id, paciente_nome, paciente_cpf, paciente_rg, paciente_fone, "
    "paciente_celular, "
    "paciente_registro, paciente_data_nascimento, paciente_data_cadastro, paciente_ativo, convenio_id) "
    "values (1, 'Maria da Conceição', '52998224725', '12.345.678-9', '55(012)99123-4567', "
    "'55(012)98765-4321', "
    "'R-001', '1980-12-15 00:00:00', '2026-01-05 00:00:00', 'S', 1)",
    "insert into anamnese_paciente (paciente_id, anamnese_id, anamnese_resposta) values (1, 1, 'N')",
    "insert into foto (paciente_id, foto_titulo, foto_data) values (1, 'Foto', '2026-01-05 00:00:00')",
    "insert into icone (icone_id, icone_nome, icone_arquivo) values (1, 'Restauração oclusal', "
    "'rest_ocl.bmp')",
    "insert into servico (servico_id, servico_nome, ramo_id, servico_ativo, servico_valor) "
    "values (1, 'Restauração em resina  ', 'Dentística', 'S', 1500000)",
    "insert into servico_icone (servico_id, local_dente_id, face_dente, icone_id) values (1, 'Q1', "
    "'Oclusal', 1)",
    "insert into tabela_convenio (convenio_id, servico_id, tabela_valor, tabela_data) "
    "values (1, 1, 1200000, '2026-01-01 00:00:00')",
    "insert into consulta (consulta_id, paciente_id, dentista_id, consulta_data, consulta_validade, "
    "consulta_valor, "
    "consulta_aprovado, forma_pagamento_id) values (1, 1, 1, '2026-12-01 00:00:00', '2026-12-08 00:00:00', "
    "1200000, "
    "'N', 1)",
    "insert into item_consulta (consulta_id, servico_id, dente_id, local_dente_id, icone_id, "
    "item_consulta_valor, "
    "item_consulta_concluido) values (1, 1, 16, 'Q1', 1, 1200000, 'N')",
    "insert into documento (consulta_id, paciente_id, dentista_id, doc_nome, doc_data, doc_texto) "
    "values (1, 1, 1, 'Receita', '2026-12-01 00:00:00', 'Amoxicilina 500 mg')",
    "insert into parcela (parcela_id, consulta_id, paciente_id, parcela_numero, parcela_data, "
    "parcela_vencimento, "
    "parcela_valor, parcela_juros, parcela_desconto, parcela_valor_liquido, parcela_valor_pago, "
    "parcela_quitada) "
    "values (1, 1, 1, 1, '2026-12-01 00:00:00', '2026-12-10 00:00:00', 600000, 0, 0, 600000, 0, 'N')",
    "insert into parcela (parcela_id, consulta_id, paciente_id, parcela_numero, parcela_data, "
    "parcela_vencimento, "
    "parcela_valor, parcela_juros, parcela_desconto, parcela_valor_liquido, parcela_valor_pago, "
    "paracela_data_pagamento, parcela_quitada) values (2, 1, 1, 2, '2026-12-01 00:00:00', '2027-01-10 "
    "00:00:00', "
    "600000, 0, 0, 600000, 600000, '2026-12-05 00:00:00', 'S')",
    "insert into horario (hora_id, dentista_id, dia_id) values ('08:00', 1, 2)",
    "insert into horario (hora_id, dentista_id, dia_id) values ('08:30', 1, 2)",
    "insert into horario (hora_id, dentista_id, dia_id) values ('09:00', 1, 2)",
    "insert into agenda (agenda_id, paciente_id, agenda_data_cadastro, agenda_data_consulta, hora_id, "
    "dentista_id) "
    "values (1, 1, '2026-11-20 00:00:00', '2026-12-01 00:00:00', '08:30', 1)",
    "insert into contato (contato_id, contato_nome, tipo_contato_id, contato_ativo, contato_pessoa, "
    "contato_cpf) "
    "values (1, 'Dental Paulista Ltda', 1, 'S', 'J', '23456789000195')",
    "insert into Produto (prod_nome, prod_estoque, prod_minimo, unidade_id, contato_id, prod_ultimo_preco) "
    "values ('Luva de procedimento', 10, 5, 'CX', 1, 350000)",
    "insert into conta (conta_nome, conta_vencimento, tipo_conta, conta_valor, conta_paga) "
    "values ('Aluguel de dezembro', '2026-12-05 00:00:00', 'Aluguel', 25000000, 'N')",
};

// The agenda's free-slot statement as it builds it for Tuesday 01/12/2026 and dentist 1.
QString freeSlots() {
    return QStringLiteral(" select hora_id from horario ") + QStringLiteral(" where hora_id not in ") +
           QStringLiteral(" ( select hora_id from agenda ") +
           QStringLiteral("  where agenda_data_consulta = #") + QStringLiteral("12/01/2026") +
           QStringLiteral("#") + QStringLiteral("  and dentista_id = ") + QStringLiteral("1") +
           QStringLiteral("  )") + QStringLiteral(" and dentista_id = ") + QStringLiteral("1") +
           QStringLiteral(" and dia_id = ") + QStringLiteral("2") + QStringLiteral(" Order by hora_id");
}

const QString kReceivablesSelect = QStringLiteral(
    "SELECT parcela.consulta_id, parcela.parcela_id, parcela.paciente_id, parcela.parcela_numero, "
    "parcela.parcela_data, "
    "parcela.parcela_vencimento, parcela.parcela_valor, parcela.parcela_juros, parcela.parcela_desconto, "
    "parcela.parcela_valor_liquido, parcela.parcela_valor_pago, parcela.parcela_valor_restante, "
    "parcela.paracela_data_pagamento, parcela.parcela_cheque_numero, parcela.parcela_cheque_data, "
    "parcela.parcela_quitada, consulta.dentista_id, consulta.consulta_data, consulta.consulta_validade, "
    "consulta.consulta_aprovado, consulta.consulta_valor FROM parcela INNER JOIN consulta ON "
    "parcela.consulta_id = "
    "consulta.consulta_id");

const QString kAgendaSelect = QStringLiteral(
    "SELECT agenda.paciente_id, agenda.dentista_id, agenda.agenda_data_cadastro, agenda.agenda_id, "
    "agenda.hora_id, "
    "agenda.agenda_data_consulta, agenda.agenda_observacao, paciente.paciente_nome, paciente.paciente_fone, "
    "paciente.paciente_celular, agenda_falta_atraso, paciente.paciente_registro, agenda.agenda_confirmacao "
    "FROM "
    "agenda INNER JOIN "
    "paciente ON "
    "agenda.paciente_id = paciente.paciente_id");

} // namespace

class TestSqlCatalogue : public QObject {
    Q_OBJECT

    std::unique_ptr<test::InstallDbCopy> m_copy;
    std::unique_ptr<Connection> m_db;

private slots:
    void initTestCase() {
        DV_REQUIRE_SERVER_IF_ASKED();
        m_copy = std::make_unique<test::InstallDbCopy>();
        QStringList rows;
        for (const char* sql : kFixture)
            rows << QString::fromUtf8(sql);
        m_copy->addRows(rows);
        m_db = Connection::open(m_copy->connectionString(), QStringLiteral("/"));
    }
    void cleanupTestCase() {
        m_db.reset();
        m_copy.reset();
    }

    void statement_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<Params>("params");
        QTest::addColumn<int>("expectedRows"); // -1: depends on the seed rows, not checked

        const QString dec1 = QStringLiteral("12/01/2026 00:00:00");
        const QString dec31 = QStringLiteral("12/31/2026 00:00:00");
        auto row = [](const char* name, const QString& sql, const Params& p, int n) {
            QTest::newRow(name) << sql << p << n;
        };

        // The data module's shared datasets, in the order it opens them.
        row("SQL_UF", "select * from UF order by uf_nome", {}, 27);
        row("SQL_Formulario", "select * from Formulario", {}, 44);
        row("SQL_Preferencia", "select * from Preferencia", {}, 1);
        row("SQL_Skin", "select * from skin order by skin", {}, -1);
        row("SQL_Empresa", "select * from empresa order by empresa_nome", {}, 1);
        row("SQL_Grupo", "select * from grupo where grupo_ativo = 'S' order by grupo_nome", {}, 1);
        row("SQL_Configuracao", "select * from configuracao", {}, 1);
        row("SQL_Convenio", "Select * from convenio order by convenio_nome", {}, 1);
        row("SQL_Ramo", "select * from ramo order by ramo_id", {}, -1);
        row("SQL_TipoContato", "select * from tipo_contato order by tipo_contato_nome", {}, -1);
        row("SQL_Horario", "select * from horario order by hora_id", {}, 3);
        row("SQL_Paciente", "select * from paciente order by paciente_nome", {}, 1);
        row("SQL_Anamnese", "select * from anamnese order by anamnese_ordem", {}, -1);
        row("SQL_FormaPagto", "select * from forma_pagamento order by forma_pagamento_nome", {}, -1);
        row("SQL_Servico", "select * from servico order by servico_nome", {}, 1);
        row("SQL_Icone", "select * from icone order by icone_nome, icone_id", {}, 1);
        row("SQL_Dente", "select * from dente", {}, 0);
        row("SQL_LocalDente", "select * from local_dente", {}, 7);
        row("SQL_TipoConta", "select * from tipo_conta order by tipo_conta", {}, -1);
        row("SQL_Unidade", "select * from unidade order by unidade_id", {}, -1);
        row("SQL_Contato", "select * from contato order by contato_nome", {}, 1);
        row("SQL_Tabela", "select * from tabela_convenio where servico_id = :servico_id",
            {pInt("servico_id", 1)}, 1);
        row("SQL_Dentista", "select * from dentista where dentista_ativo = 'S' order by dentista_nome", {},
            1);
        row("SQL_Usuario",
            "Select * from Usuario Where Usuario_Login = :Login AND Usuario_Senha = :Senha AND Usuario_Ativo "
            "= 'S'",
            {pText("Login", "admin"), pText("Senha", "admin")},
            0); // the stored value is a hash, never the password
        row("SQL_GrupoPermissao", "select * from grupo_permissao where grupo_id = :grupo_id",
            {pInt("grupo_id", 1)}, 44);

        // Registries, system tables and their screens.
        row("new service id", "select max(servico_id + 1) as Id from servico", {}, 1);
        row("user list", "Select * from usuario order by Usuario_Nome", {}, 1);
        row("group list", "select * from grupo", {}, 1);
        row("available screens, administrators",
            "select * from Formulario where form_nome not in (select form_nome from grupo_permissao where "
            "grupo_id =  "
            ":grupo_id ) and form_tipo <> 'P' and form_tipo <> 'S' and form_ativo = 'S' order by form_nome",
            {pInt("grupo_id", 1)}, 0);
        row("available screens, new group",
            "select * from Formulario where form_nome not in (select form_nome from grupo_permissao where "
            "grupo_id =  "
            ":grupo_id ) and form_tipo <> 'P' and form_tipo <> 'S' and form_ativo = 'S' order by form_nome",
            {pInt("grupo_id", 2)}, 41);
        row("granted screens", "select * from grupo_permissao where grupo_id = :grupo_id order by form_nome",
            {pInt("grupo_id", 1)}, 44);
        row("menu groups",
            "select * from menu_sistema where sub_menu_id = 0 and menu_ativo = 'S' order by "
            "menu_id,menu_nome",
            {}, -1);
        row("menu entries",
            "select * from menu_sistema where sub_menu_id <> 0 AND menu_id = :menu_id and menu_ativo = 'S' "
            "order by "
            "menu_id,menu_nome",
            {pInt("menu_id", 1)}, -1);
        row("menu grid", "select * from menu_sistema order by menu_id, sub_menu_id", {}, -1);
        row("report picker", "select * from relatorio where form_nome = :pform_nome",
            {pText("pform_nome", "frmPaciente")}, 3);
        row("module reports", "select * from Relatorio where form_nome = :form_nome",
            {pText("form_nome", "frmPaciente")}, 3);
        row("user preferences", "select * from Preferencia where usuario_id  =  :usuario_id",
            {pInt("usuario_id", 1)}, 1);
        row("module list", "select * from formulario order by form_nome", {}, 44);

        // Patients.
        row("birthdays of December", "select * from paciente where month(paciente_data_nascimento) =:mes",
            {pInt("mes", 12)}, 1);
        row("birthdays of January", "select * from paciente where month(paciente_data_nascimento) =:mes",
            {pInt("mes", 1)}, 0);
        row("patient answers", "select * from anamnese_paciente where paciente_id =:paciente_id",
            {pInt("paciente_id", 1)}, 1);
        row("services to be done",
            "SELECT consulta.consulta_id, consulta.consulta_data, consulta.consulta_aprovado, "
            "item_consulta.servico_id, "
            "item_consulta.item_consulta_valor, item_consulta.item_consulta_descricao, "
            "item_consulta.item_consulta_concluido, consulta.paciente_id FROM consulta INNER JOIN "
            "item_consulta ON "
            "consulta.consulta_id = item_consulta.consulta_id where consulta.paciente_id = :paciente_id and "
            "item_consulta.item_consulta_concluido = 'N'",
            {pInt("paciente_id", 1)}, 1);
        row("open installments",
            "SELECT consulta.consulta_id, consulta.consulta_data, parcela.parcela_numero, "
            "parcela.parcela_vencimento, "
            "parcela.parcela_valor_liquido, parcela.parcela_valor_pago, parcela.paracela_data_pagamento, "
            "parcela.parcela_quitada FROM consulta INNER JOIN parcela ON consulta.consulta_id = "
            "parcela.consulta_id "
            "where consulta.paciente_id = :paciente_id and parcela.parcela_quitada = 'N'",
            {pInt("paciente_id", 1)}, 1);
        row("patient photos", "select * from foto where paciente_id = :paciente_id", {pInt("paciente_id", 1)},
            1);

        // Consultations, items, service selection and installments.
        row("consultations", "select * from consulta where paciente_id =:codigo order by consulta_data desc",
            {pInt("codigo", 1)}, 1);
        row("consultations, no patient yet",
            "select * from consulta where paciente_id =:codigo order by consulta_data desc",
            {{"codigo", ParamType::Integer, QVariant()}}, 0);
        row("items", "select * from item_consulta where consulta_id = :consulta_id", {pInt("consulta_id", 1)},
            1);
        row("items total",
            "select sum(item_consulta_valor) as total from item_consulta where consulta_id = :consulta_id",
            {pInt("consulta_id", 1)}, 1);
        row("documents", "select * from documento where consulta_id = :consulta_id", {pInt("consulta_id", 1)},
            1);
        row("an item's price in the patient's plan",
            "select tabela_valor from tabela_convenio where servico_id = :servico_id and convenio_id = (select "
            "convenio_id from paciente where paciente_id = :paciente_id) order by tabela_data desc",
            {pInt("servico_id", 1), pInt("paciente_id", 1)}, 1);
        row("services of the plan at a location",
            "select distinct(Rtrim(S.servico_nome)) as servico_nome_distinto, S.* from Servico as S inner "
            "join "
            "Servico_Icone as SI on (SI.Servico_id = S.Servico_Id) where S.Servico_Id in (Select Servico_Id "
            "from "
            "Tabela_Convenio where convenio_id =:Convenio_Id) AND SI.local_dente_id = :local_dente_id order "
            "by "
            "Servico_Nome",
            {pInt("Convenio_Id", 1), pText("local_dente_id", "Q1")}, 1);
        row("service icons at a location",
            "select si.icone_id, servico_id, icone_nome, icone_arquivo, si.local_dente_id, si.face_dente "
            "from "
            "servico_icone as si inner join icone as i on (si.icone_id = i.icone_id) where servico_id = "
            ":servico_id and "
            "si.local_dente_id = :local",
            {pInt("servico_id", 1), pText("local", "Q1")}, 1);
        row("installments", "select * from parcela where consulta_id = :consulta_id",
            {pInt("consulta_id", 1)}, 2);
        row("installment totals",
            "select sum(parcela_valor) as valor, sum(parcela_valor_liquido) as valor_liquido, "
            "sum(parcela_valor_pago) "
            "as valor_pago, sum(parcela_valor_liquido) - sum(parcela_valor_pago) as valor_restante from "
            "parcela where "
            "consulta_id = :consulta_id",
            {pInt("consulta_id", 1)}, 1);
        row("receipt",
            "SELECT parcela.parcela_id, parcela.parcela_numero,parcela.parcela_data, "
            "parcela.parcela_vencimento, "
            "parcela.parcela_valor, parcela.parcela_valor_pago, parcela.parcela_valor_restante, "
            "paciente.paciente_nome, "
            "paciente.paciente_rg, paciente.paciente_cpf FROM parcela INNER JOIN paciente ON "
            "parcela.paciente_id = "
            "paciente.paciente_id where parcela.parcela_id = :parcela_id",
            {pInt("parcela_id", 1)}, 1);
        row("booklet of the open installments",
            "SELECT parcela.parcela_id, parcela.parcela_numero, parcela.parcela_vencimento, "
            "parcela.parcela_valor, parcela.parcela_valor_liquido, parcela.parcela_valor_pago, "
            "parcela.parcela_valor_restante, (select count(*) from parcela p2 where p2.consulta_id = "
            "parcela.consulta_id) as parcela_total, parcela.consulta_id, paciente.paciente_nome, "
            "paciente.paciente_cpf FROM parcela INNER JOIN paciente ON parcela.paciente_id = "
            "paciente.paciente_id where parcela.consulta_id = :consulta_id and "
            "coalesce(parcela.parcela_quitada, 'N') <> 'S' and coalesce(parcela.parcela_valor_restante, 0) > "
            "0 "
            "order by parcela.parcela_numero",
            {pInt("consulta_id", 1)}, 1);
        row("document models", "select modelo_id, modelo_nome from documento_modelo order by modelo_nome", {},
            6);
        row("one document model",
            "select modelo_nome, modelo_texto from documento_modelo where modelo_id = :id", {pInt("id", 1)},
            1);
        row("document's patient",
            "select paciente_nome, paciente_cpf, paciente_rg, paciente_endereco, paciente_numero, "
            "paciente_bairro, paciente_cidade, uf_id from paciente where paciente_id = :id",
            {pInt("id", 1)}, 1);
        row("document's dentist", "select dentista_nome, dentista_cro from dentista where dentista_id = :id",
            {pInt("id", 1)}, 1);
        row("document's installment plan",
            "select parcela_numero, parcela_vencimento, parcela_valor_liquido from parcela where consulta_id "
            "= "
            ":id order by parcela_numero",
            {pInt("id", 1)}, 2);
        // Document models, the clinic's medicines, the printed document and the patient's documents.
        row("document models list", "select * from documento_modelo order by modelo_nome", {}, 6);
        row("medicines list", "select * from medicamento order by medicamento_nome", {}, 7);
        row("medicines to pick",
            "select medicamento_id, medicamento_nome, medicamento_dosagem from medicamento order by "
            "medicamento_nome",
            {}, 7);
        row("one medicine",
            "select medicamento_nome, medicamento_dosagem, medicamento_posologia from medicamento where "
            "medicamento_id = :id",
            {pInt("id", 1)}, 1);
        row("document to print, one page a copy",
            "select d.doc_id, d.doc_nome, d.doc_data, d.doc_texto, p.paciente_nome as lk_paciente, "
            "t.dentista_nome as lk_dentista, t.dentista_cro as lk_cro, "
            "case when d.doc_nome like '%controle especial%' then "
            "(case when v.via_numero = 1 then '1ª via - farmácia' else '2ª via - paciente' end) else '' end as "
            "doc_via "
            "from documento d "
            "inner join (select 1 as via_numero union all select 2 as via_numero) v "
            "on v.via_numero = 1 or d.doc_nome like '%controle especial%' "
            "left join paciente p on p.paciente_id = d.paciente_id "
            "left join dentista t on t.dentista_id = d.dentista_id "
            "where d.doc_id = :doc_id order by v.via_numero",
            {pInt("doc_id", 1)}, 1);
        row("patient's documents", "select * from documento where paciente_id = :paciente_id order by doc_id",
            {pInt("paciente_id", 1)}, 1);
        row("documents' patient name", "select paciente_nome from paciente where paciente_id = :id",
            {pInt("id", 1)}, 1);
        row("dentists who sign documents",
            "select dentista_id, dentista_nome from dentista where dentista_ativo = 'S' order by dentista_nome",
            {}, 1);
        row("logged user's dentist",
            "select d.dentista_id from dentista d inner join usuario u on lower(u.usuario_nome) = "
            "lower(d.dentista_nome) where u.usuario_login = :login",
            {pText("login", "admin")}, 0);
        row("patient's last dentist",
            "select dentista_id from consulta where paciente_id = :id order by consulta_data desc, consulta_id "
            "desc",
            {pInt("id", 1)}, 1);

        // Agenda.
        row("agenda of the period",
            kAgendaSelect +
                " where agenda.agenda_data_consulta >= :datai and agenda.agenda_data_consulta <= :dataf and "
                "agenda.dentista_id = :dentista_id order by agenda.agenda_data_consulta, agenda.hora_id",
            {pDate("datai", dec1), pDate("dataf", dec31), pInt("dentista_id", 1)}, 1);
        row("agenda of a patient",
            kAgendaSelect +
                " where agenda.agenda_data_consulta >= :datai and agenda.paciente_id = :paciente_id order by "
                "agenda.agenda_data_consulta, agenda.hora_id",
            {pDate("datai", dec1), pInt("paciente_id", 1)}, 1);
        row("free slots of the day", freeSlots(), {}, 2);
        row("hours, design time", "select * from horario", {}, 3);
        row("appointment", "select * from agenda where agenda_id =:agenda_id", {pInt("agenda_id", 1)}, 1);
        row("appointments to confirm, one dentist",
            "SELECT agenda.agenda_id, agenda.hora_id, agenda.agenda_data_consulta, "
            "agenda.agenda_confirmacao, agenda.paciente_id, "
            "paciente.paciente_nome, paciente.paciente_celular, dentista.dentista_nome FROM agenda "
            "INNER JOIN paciente ON agenda.paciente_id = paciente.paciente_id "
            "LEFT JOIN dentista ON agenda.dentista_id = dentista.dentista_id "
            "where agenda.agenda_data_consulta >= :dia and agenda.agenda_data_consulta < :seguinte "
            "and agenda.dentista_id = :dentista_id order by agenda.hora_id, dentista.dentista_nome",
            {pDate("dia", dec1), pDate("seguinte", "12/02/2026 00:00:00"), pInt("dentista_id", 1)}, 1);
        row("active dentists to choose",
            "select dentista_id, dentista_nome from dentista where dentista_ativo = 'S' order by "
            "dentista_nome",
            {}, -1);
        row("confirmation message", "select mensagem_texto from mensagem_modelo where mensagem_nome = :nome",
            {pText("nome", "confirmacao")}, 1);
        row("clinic's name", "select empresa_nome from empresa order by empresa_id", {}, 1);
        row("patients due for a return visit", dv::returns::dueSql(),
            {pDate("limite", "12/31/2026 00:00:00"), pDate("hoje", "12/31/2026 00:00:00")}, -1);
        row("patient booked for", "select paciente_nome from paciente where paciente_id = :paciente_id",
            {pInt("paciente_id", 1)}, 1);
        row("appointment booked for the patient",
            "select agenda_id from agenda where paciente_id = :paciente_id and dentista_id = :dentista_id "
            "and "
            "agenda_data_consulta = :dia and hora_id = :hora_id",
            {pInt("paciente_id", 1), pInt("dentista_id", 1), pDate("dia", dec1), pText("hora_id", "08:00")},
            -1);
        row("patient's next appointment",
            "select agenda.agenda_data_consulta, agenda.hora_id, dentista.dentista_nome from agenda left "
            "join "
            "dentista on dentista.dentista_id = agenda.dentista_id where agenda.paciente_id = :paciente_id "
            "and "
            "agenda.agenda_data_consulta >= :hoje order by agenda.agenda_data_consulta, agenda.hora_id",
            {pInt("paciente_id", 1), pDate("hoje", dec1)}, -1);
        const QString birthdays = QStringLiteral(
            "select paciente.paciente_id, paciente.paciente_nome, paciente.paciente_data_nascimento, "
            "paciente.paciente_fone, paciente.paciente_celular, enviada.mensagem_data from paciente left "
            "join "
            "aniversario_mensagem enviada on enviada.mensagem_id = (select max(m.mensagem_id) from "
            "aniversario_mensagem m where m.paciente_id = paciente.paciente_id) where "
            "paciente.paciente_ativo "
            "= 'S' and month(paciente.paciente_data_nascimento) = :mes ");
        const QString byBirthday =
            QStringLiteral("order by day(paciente.paciente_data_nascimento), paciente.paciente_nome");
        row("birthdays of the month", birthdays + byBirthday, {pInt("mes", 3)}, -1);
        row("birthdays of the day",
            birthdays +
                QStringLiteral("and day(paciente.paciente_data_nascimento) >= :dia and "
                               "day(paciente.paciente_data_nascimento) "
                               "<= :ate ") +
                byBirthday,
            {pInt("mes", 2), pInt("dia", 28), pInt("ate", 29)}, -1);

        // Dentists, services, plans, icons, teeth, contacts, company, stock.
        row("dentist list", "select * from dentista", {}, 2);
        row("dentist hours", "select * from horario where dentista_id =:dentista_id and dia_id = :dia",
            {pInt("dentista_id", 1), pInt("dia", 2)}, 3);
        row("service list", "select * from servico Where servico_id <> 0 order by servico_nome", {}, 1);
        row("service prices", "select * from tabela_convenio where servico_id = :servico_id",
            {pInt("servico_id", 1)}, 1);
        row("service icons",
            "select * from servico_icone where servico_id = :servico_id order by local_dente_id, face_dente",
            {pInt("servico_id", 1)}, 1);
        row("plan list", "select * from convenio order by convenio_nome", {}, 1);
        row("plan prices", "select * from tabela_convenio where convenio_id = :convenio_id",
            {pInt("convenio_id", 1)}, 1);
        row("icon list", "select * from icone", {}, 1);
        row("tooth list", "select * from Dente", {}, 0);
        row("contact list", "select * from contato order by contato_nome", {}, 1);
        row("company list", "select * from empresa", {}, 1);
        row("stock list", "Select * from Produto order by prod_nome", {}, 1);

        // Finance.
        row("bills of the period",
            "select * from conta where conta_vencimento >=:dataI AND conta_vencimento <=:dataF order by "
            "conta_nome",
            {pDate("dataI", "12/01/2026"), pDate("dataF", "12/31/2026")}, 1);
        row("bills total",
            "select sum(conta_valor) as valor_total from conta where conta_vencimento >= :dataI AND "
            "conta_vencimento <= "
            ":dataF",
            {pDate("dataI", "12/01/2026"), pDate("dataF", "12/31/2026")}, 1);
        row("receivables",
            kReceivablesSelect +
                " where parcela.parcela_vencimento >= :dataI and parcela.parcela_vencimento <= :dataF "
                "and parcela.parcela_quitada = 'N' order by parcela.consulta_id, "
                "parcela.parcela_vencimento",
            {pDate("dataI", "12/01/2026"), pDate("dataF", "12/31/2026")}, 1);
        row("received",
            kReceivablesSelect +
                " where parcela.paracela_data_pagamento >= :dataI and parcela.paracela_data_pagamento "
                "<= :dataF and parcela.parcela_valor_pago > 0 order by parcela.consulta_id, "
                "parcela.paracela_data_pagamento",
            {pDate("dataI", "12/01/2026"), pDate("dataF", "12/31/2026")}, 1);

        // Booking: the free slots with bound values, and the checks made before writing.
        const QString freeHours = QStringLiteral(
            " select hora_id from horario   where hora_id not in   ( select hora_id from agenda    where "
            "agenda_data_consulta = :dia   and dentista_id = :dentista_id    )  and dentista_id = :dentista");
        const Param tuesday{QStringLiteral("dia"), ParamType::DateTime,
                            QDateTime(QDate(2026, 12, 1), QTime())};
        row("free slots of a weekday", freeHours + QStringLiteral(" and dia_id = :dia_id  Order by hora_id"),
            {tuesday, pInt("dentista_id", 1), pInt("dentista", 1), pInt("dia_id", 2)}, 2);
        row("free hours of the dentist", freeHours + QStringLiteral("  Order by hora_id"),
            {tuesday, pInt("dentista_id", 1), pInt("dentista", 1)}, 2);
        row("slot is a working hour",
            "select count(*) from horario where dentista_id = :dentista and dia_id = :dia_id and hora_id = "
            ":hora",
            {pInt("dentista", 1), pInt("dia_id", 2), pText("hora", "08:30")}, 1);
        row("slot taken by another appointment",
            "select count(*) from agenda where dentista_id = :dentista and agenda_data_consulta = :dia and "
            "hora_id = :hora and agenda_id <> :agenda",
            {pInt("dentista", 1), tuesday, pText("hora", "08:30"), pInt("agenda", -1)}, 1);

        // The audit trail's screen.
        const QString auditList = QStringLiteral(
            "select a.auditoria_id, a.auditoria_data, a.auditoria_usuario, a.auditoria_estacao, "
            "a.auditoria_tabela, a.auditoria_chave, a.auditoria_acao, a.auditoria_paciente, p.paciente_nome, "
            "a.auditoria_antes, a.auditoria_depois from auditoria a left join paciente p on p.paciente_id = "
            "a.auditoria_paciente where a.auditoria_data >= :dataI and a.auditoria_data <= :dataF and "
            "(:porUsuario = 0 or a.auditoria_usuario = :usuario) and (:porTabela = 0 or a.auditoria_tabela = "
            ":tabela) and (:porId = 0 or a.auditoria_paciente = :pacienteId) and (:porNome = 0 or "
            "p.paciente_nome like :pacienteNome)");
        const Params wholeTrail{pDate("dataI", "01/01/2000"), pDate("dataF", "12/31/2099 23:59:59"),
                                pInt("porUsuario", 0), pText("usuario", ""), pInt("porTabela", 1),
                                pText("tabela", "paciente"), pInt("porId", 1), pInt("pacienteId", 1),
                                pInt("porNome", 1), pText("pacienteNome", "%")};
        row("audit trail", auditList, wholeTrail, -1);
        Params nobody = wholeTrail;
        nobody[2] = pInt("porUsuario", 1);
        nobody[3] = pText("usuario", "nobody");
        row("audit trail of a user with no rows", auditList, nobody, 0);
        row("audit users",
            "select distinct auditoria_usuario from auditoria where auditoria_usuario is not null order by "
            "auditoria_usuario",
            {}, -1);
        row("audited tables", "select distinct auditoria_tabela from auditoria order by auditoria_tabela", {}, -1);

        // The patient's data rights: consent, export, anonymisation.
        row("patient's latest consent of a kind",
            "select consentimento_concedido, consentimento_data, consentimento_usuario from "
            "paciente_consentimento where paciente_id = :paciente_id and consentimento_tipo = :tipo "
            "order by consentimento_id desc limit 1",
            {pInt("paciente_id", 1), pText("tipo", "whatsapp")}, 0);
        row("patient's consent history",
            "select * from paciente_consentimento where paciente_id = :paciente_id order by consentimento_id desc",
            {pInt("paciente_id", 1)}, 0);
        row("exported items of a patient",
            "select item_consulta.* from item_consulta inner join consulta on consulta.consulta_id = "
            "item_consulta.consulta_id where consulta.paciente_id = :paciente_id order by "
            "item_consulta.item_consulta_id",
            {pInt("paciente_id", 1)}, -1);
        row("exported documents of a patient",
            "select * from documento where paciente_id = :paciente_id or consulta_id in (select consulta_id from "
            "consulta where paciente_id = :paciente_id) order by doc_id",
            {pInt("paciente_id", 1)}, -1);
        row("exported trail of a patient",
            "select auditoria_id, auditoria_data, auditoria_estacao, auditoria_usuario, auditoria_tabela, "
            "auditoria_chave, auditoria_acao, auditoria_antes, auditoria_depois from auditoria where "
            "auditoria_paciente = :paciente_id order by auditoria_id",
            {pInt("paciente_id", 1)}, -1);
        row("retention period", "select Sistema_RetencaoAnos from configuracao", {}, 1);
        row("patients past the retention period", dv::anonymisation::candidatesSql(),
            {pDate("hoje", "12/10/2026"), pDate("limite", "12/10/2006")}, -1);
    }
    void statement() {
        QFETCH(QString, sql);
        QFETCH(Params, params);
        QFETCH(int, expectedRows);
        auto cursor = m_db->query(sql, params);
        QVERIFY(!cursor->columns().isEmpty());
        int n = 0;
        while (cursor->next())
            ++n;
        if (expectedRows >= 0) QCOMPARE(n, expectedRows);
    }

    // The one statement that returns no rows; rolled back so the fixture stays whole.
    void deleteAppointment() {
        Transaction t(*m_db);
        QCOMPARE(m_db->execute(QStringLiteral("Delete from agenda where agenda_id = :codigo"),
                               {pInt("codigo", 1)}),
                 qint64(1));
        QCOMPARE(m_db->execute(QStringLiteral("Delete from agenda where agenda_id = :codigo"),
                               {pInt("codigo", 1)}),
                 qint64(0));
    }

    // The confirmation's answer and the message text; rolled back.
    void confirmationWrites() {
        Transaction t(*m_db);
        QCOMPARE(
            m_db->execute(QStringLiteral("update agenda set agenda_confirmacao = :estado, "
                                         "agenda_confirmacao_data = :quando, agenda_confirmacao_usuario = "
                                         ":usuario where agenda_id = :agenda_id"),
                          {pText("estado", "C"), pDate("quando", "12/01/2026 10:15:00"),
                           pText("usuario", "admin"), pInt("agenda_id", 1)}),
            qint64(1));
        const Params text{pText("texto", "Olá {nome}"), pText("nome", "confirmacao")};
        QCOMPARE(m_db->execute(QStringLiteral("update mensagem_modelo set mensagem_texto = :texto where "
                                              "mensagem_nome = :nome"),
                               text),
                 qint64(1));
        QCOMPARE(m_db->execute(QStringLiteral("insert into mensagem_modelo (mensagem_texto, mensagem_nome) "
                                              "values (:texto, :nome)"),
                               {pText("texto", "Olá"), pText("nome", "lembrete")}),
                 qint64(1));
        QCOMPARE(
            m_db->execute(QStringLiteral("insert into retorno_tentativa (paciente_id, tentativa_data, "
                                         "tentativa_usuario, tentativa_obs) values (:paciente_id, :quando, "
                                         ":usuario, :obs)"),
                          {pInt("paciente_id", 1), pDate("quando", "12/01/2026 10:15:00"),
                           pText("usuario", "admin"), pText("obs", "não atendeu")}),
            qint64(1));
        QCOMPARE(m_db->execute(QStringLiteral("insert into aniversario_mensagem (paciente_id, mensagem_data, "
                                              "mensagem_usuario) values (:paciente_id, :quando, :usuario)"),
                               {pInt("paciente_id", 1), pDate("quando", "12/01/2026 10:15:00"),
                                pText("usuario", "admin")}),
                 qint64(1));
    }

    // What the plain answers above rest on: sums come back exact, or NULL over no rows.
    void sumsAndFreeSlots() {
        auto total = m_db->query(QStringLiteral("select sum(item_consulta_valor) as total from item_consulta "
                                                "where consulta_id = :consulta_id"),
                                 {pInt("consulta_id", 1)});
        QVERIFY(total->next());
        QCOMPARE(total->currency(0), Currency::fromRaw(1200000));
        auto none = m_db->query(QStringLiteral("select sum(item_consulta_valor) as total from item_consulta "
                                               "where consulta_id = :consulta_id"),
                                {pInt("consulta_id", 99)});
        QVERIFY(none->next());
        QVERIFY(none->isNull(0));

        auto free = m_db->query(freeSlots());
        QStringList hours;
        while (free->next())
            hours << QString::fromUtf8(free->utf8(0));
        QCOMPARE(hours, (QStringList{"08:00", "09:00"}));
    }

    // The price table of a plan: generated one row per service, removed at once;
    // rolled back so the fixture stays whole.
    void priceTableWrites() {
        Transaction t(*m_db);
        const QString insert = QStringLiteral("insert into tabela_convenio (convenio_id, servico_id, "
                                              "tabela_valor, tabela_data) values (:convenio_id, "
                                              ":servico_id, :tabela_valor, :tabela_data)");
        QCOMPARE(m_db->execute(insert, {pInt("convenio_id", 2),
                                        pInt("servico_id", 1),
                                        {QStringLiteral("tabela_valor"), ParamType::Currency,
                                         QVariant::fromValue(Currency())},
                                        {QStringLiteral("tabela_data"), ParamType::DateTime,
                                         QDateTime(QDate(2026, 8, 3), QTime(0, 0))}}),
                 qint64(1));
        const QString remove = QStringLiteral("delete from tabela_convenio where convenio_id = :convenio_id");
        QCOMPARE(m_db->execute(remove, {pInt("convenio_id", 2)}), qint64(1));
        QCOMPARE(m_db->execute(remove, {pInt("convenio_id", 2)}), qint64(0));
        // What keeps a service or a plan in use from being deleted.
        auto items =
            m_db->query(QStringLiteral("select count(*) from item_consulta where servico_id = :servico_id"),
                        {pInt("servico_id", 1)});
        QVERIFY(items->next());
        QCOMPARE(items->integer(0), qint64(1));
        auto patients =
            m_db->query(QStringLiteral("select count(*) from paciente where convenio_id = :convenio_id"),
                        {pInt("convenio_id", 1)});
        QVERIFY(patients->next());
        QCOMPARE(patients->integer(0), qint64(1));
    }

    // Installments: generated and removed in one go, totals that count an empty sum as
    // zero, and a period's last day taken whole; rolled back so the fixture stays whole.
    void installmentWrites() {
        Transaction t(*m_db);
        const QString insert = QStringLiteral(
            "insert into parcela (consulta_id, paciente_id, parcela_numero, parcela_data, "
            "parcela_vencimento, "
            "parcela_valor, parcela_valor_liquido, parcela_quitada) values (:consulta_id, :paciente_id, "
            ":parcela_numero, :parcela_data, :parcela_vencimento, :parcela_valor, :parcela_valor_liquido, "
            "'N')");
        const QDateTime day(QDate(2027, 2, 10), QTime(0, 0));
        const QVariant value = QVariant::fromValue(Currency::fromRaw(3396600));
        QCOMPARE(
            m_db->execute(insert, {pInt("consulta_id", 1),
                                   pInt("paciente_id", 1),
                                   pInt("parcela_numero", 3),
                                   {QStringLiteral("parcela_data"), ParamType::DateTime, day},
                                   {QStringLiteral("parcela_vencimento"), ParamType::DateTime, day},
                                   {QStringLiteral("parcela_valor"), ParamType::Currency, value},
                                   {QStringLiteral("parcela_valor_liquido"), ParamType::Currency, value}}),
            qint64(1));
        const QString totals = QStringLiteral(
            "select coalesce(sum(parcela_valor), 0) as valor, coalesce(sum(parcela_valor_liquido), 0) as "
            "valor_liquido, coalesce(sum(parcela_valor_pago), 0) as valor_pago, "
            "coalesce(sum(parcela_valor_liquido), 0) - coalesce(sum(parcela_valor_pago), 0) as "
            "valor_restante "
            "from parcela where consulta_id = :consulta_id");
        auto sums = m_db->query(totals, {pInt("consulta_id", 1)});
        QVERIFY(sums->next());
        QCOMPARE(sums->currency(3), Currency::fromRaw(600000 + 3396600));
        auto none = m_db->query(totals, {pInt("consulta_id", 99)});
        QVERIFY(none->next());
        QCOMPARE(none->currency(3), Currency());
        auto lastDay = m_db->query(
            QStringLiteral(
                "select count(*) from conta where conta_vencimento >= :dataI AND conta_vencimento <= "
                ":dataF"),
            {pDate("dataI", QStringLiteral("12/05/2026")),
             pDate("dataF", QStringLiteral("12/05/2026 23:59:59"))});
        QVERIFY(lastDay->next());
        QCOMPARE(lastDay->integer(0), qint64(1));
        const QString removeAll = QStringLiteral("delete from parcela where consulta_id = :consulta_id");
        QCOMPARE(m_db->execute(removeAll, {pInt("consulta_id", 1)}), qint64(3));
    }
};

QTEST_GUILESS_MAIN(TestSqlCatalogue)
#include "tst_sql_catalogue.moc"

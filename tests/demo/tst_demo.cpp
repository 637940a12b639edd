// The demo clinic: built from the installation database, charted as the catalogue
// draws, booked within the dentists' hours, the same every time.
#include "DemoClinic.h"
#include "TestHelpers.h"
#include "core/FieldUtils.h"
#include "core/U_dm.h"
#include "core/db/DbErrors.h"

#include <QCryptographicHash>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace dv;
using namespace dv::test;

namespace {

const QDate kDay(2026, 3, 12); // a Thursday

std::unique_ptr<Connection> openDemo(const QString& file) {
    return Connection::open(Tdm::buildConnectionString(file), QString());
}

QByteArray fileHash(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// Every row of the tables the demo writes, as text (the file itself differs: its key salt).
QByteArray contentDigest(Connection& c) {
    QCryptographicHash h(QCryptographicHash::Sha256);
    for (const char* table :
         {"empresa", "dentista", "horario", "paciente", "anamnese_paciente", "convenio", "tabela_convenio",
          "consulta", "item_consulta", "parcela", "agenda", "contato", "produto", "conta"}) {
        auto q = c.query(QStringLiteral("select * from %1 order by 1").arg(QLatin1String(table)));
        while (q->next())
            for (int col = 0; col < q->columns().size(); ++col) {
                h.addData(q->isNull(col) ? QByteArrayView("\x01") : QByteArrayView(q->blob(col)));
                h.addData(QByteArrayView("\x00", 1));
            }
    }
    return h.result();
}

} // namespace

class TestDemo : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_file;
    std::unique_ptr<Connection> m_db;

    int count(const QString& sql) { return scalar(*m_db, sql).toInt(); }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_file = m_dir.filePath(QStringLiteral("Demo.mdb"));
        const QByteArray installBefore = fileHash(QStringLiteral(DV_INSTALL_DB));
        demo::buildDemoClinic(m_file, kDay, QStringLiteral(DV_INSTALL_DB));
        QCOMPARE(fileHash(QStringLiteral(DV_INSTALL_DB)), installBefore);
        QVERIFY(!QFile::exists(m_file + QStringLiteral(".building")));
        m_db = openDemo(m_file); // opens with the installation's key
    }

    void peopleAndCompany() {
        QCOMPARE(count(QStringLiteral("select count(*) from paciente")), 300);
        for (const QString& cpf : column(*m_db, QStringLiteral("select paciente_cpf from paciente")))
            QVERIFY2(checkCpf(cpf), qPrintable(cpf));
        QVERIFY(count(QStringLiteral("select count(*) from paciente where paciente_foto is not null")) > 20);
        QVERIFY(count(QStringLiteral("select count(distinct paciente_id) from anamnese_paciente")) > 100);
        QCOMPARE(count(QStringLiteral("select count(*) from dentista where dentista_ativo = 'S'")), 3);
        QCOMPARE(count(QStringLiteral(
                     "select count(distinct dentista_id) from horario where dia_id between 1 and 5")),
                 3);
        QCOMPARE(count(QStringLiteral("select count(*) from convenio where convenio_nome <> 'Particular'")),
                 2);
        QCOMPARE(count(QStringLiteral("select count(distinct convenio_id) from tabela_convenio")), 3);
        auto logo = m_db->query(QStringLiteral("select empresa_logo from empresa"));
        QVERIFY(logo->next());
        QVERIFY(!QImage::fromData(logo->blob(0)).isNull());
        QVERIFY(count(QStringLiteral("select count(*) from contato")) > 0);
        QVERIFY(count(QStringLiteral("select count(*) from produto")) > 0);
        QVERIFY(
            count(QStringLiteral("select count(*) from conta where conta_vencimento between '2026-03-01' and "
                                 "'2026-03-31 23:59:59'")) > 0);
    }

    // Each charted item lies on a place and with the icon its service is drawn with,
    // and the chart holds the usual treatments.
    void chartFollowsTheCatalogue() {
        QVERIFY(count(QStringLiteral("select count(*) from item_consulta")) > 500);
        QCOMPARE(count(QStringLiteral(
                     "select count(*) from item_consulta i where not exists (select 1 from servico_icone s "
                     "where s.servico_id = i.servico_id and s.local_dente_id = i.local_dente_id and "
                     "s.icone_id = i.icone_id)")),
                 0);
        QCOMPARE(count(QStringLiteral(
                     "select count(*) from item_consulta where (local_dente_id = 'TO' and dente_id "
                     "not between 101 and 113) or (local_dente_id <> 'TO' and dente_id % 10 "
                     "not between 1 and 8)")),
                 0);
        for (const char* kind : {"Restauração%", "Extração%", "Tratamento de canal%", "Coroa%", "Implante%"})
            QVERIFY2(
                count(QStringLiteral("select count(*) from item_consulta i join servico s using (servico_id) "
                                     "where s.servico_nome like '%1'")
                          .arg(QString::fromUtf8(kind))) > 0,
                kind);
    }

    void moneyAddsUp() {
        QCOMPARE(count(QStringLiteral("select count(*) from consulta c where consulta_valor <> (select "
                                      "sum(item_consulta_valor) from item_consulta i where i.consulta_id = "
                                      "c.consulta_id)")),
                 0);
        QCOMPARE(count(QStringLiteral(
                     "select count(*) from consulta c where exists (select 1 from parcela p where "
                     "p.consulta_id = c.consulta_id) and consulta_valor <> (select "
                     "sum(parcela_valor) from parcela p where p.consulta_id = c.consulta_id)")),
                 0);
        QCOMPARE(
            count(QStringLiteral("select count(*) from parcela where parcela_valor_restante <> "
                                 "parcela_valor_liquido - parcela_valor_pago or (parcela_quitada = 'S') <> "
                                 "(parcela_valor_restante = 0)")),
            0);
        const QString past = QStringLiteral(" and parcela_vencimento < '2026-03-12'");
        QVERIFY(count(QStringLiteral("select count(*) from parcela where parcela_quitada = 'S'") + past) >
                100);
        QVERIFY(count(QStringLiteral("select count(*) from parcela where parcela_quitada = 'N'") + past) > 5);
        QVERIFY(count(QStringLiteral(
                    "select count(*) from parcela where parcela_vencimento > '2026-03-12'")) > 5);
        QCOMPARE(count(QStringLiteral(
                     "select count(*) from parcela where paracela_data_pagamento > '2026-03-12 00:00:00'")),
                 0);
    }

    // This week and the next are partly booked, only in the dentists' hours, never twice.
    void agendaWithinHours() {
        const QDate monday = kDay.addDays(1 - kDay.dayOfWeek());
        for (QDate d = monday; d < monday.addDays(12); d = d.addDays(1)) {
            if (d.dayOfWeek() > 5) continue;
            const int booked =
                count(QStringLiteral("select count(*) from agenda where agenda_data_consulta = '%1'")
                          .arg(d.toString(Qt::ISODate) + QStringLiteral(" 00:00:00")));
            QVERIFY2(booked > 5 && booked < 51, qPrintable(d.toString(Qt::ISODate)));
        }
        QCOMPARE(
            count(QStringLiteral("select count(*) from agenda a where not exists (select 1 from horario h "
                                 "where h.dentista_id = a.dentista_id and h.hora_id = a.hora_id and h.dia_id "
                                 "= cast(strftime('%w', a.agenda_data_consulta) as integer) + (case when "
                                 "strftime('%w', a.agenda_data_consulta) = '0' then 7 else 0 end))")),
            0);
        QCOMPARE(count(QStringLiteral("select count(*) from (select 1 from agenda group by dentista_id, "
                                      "agenda_data_consulta, hora_id having count(*) > 1)")),
                 0);
        QCOMPARE(count(QStringLiteral("select count(*) from agenda where agenda_falta_atraso is not null and "
                                      "agenda_data_consulta >= '2026-03-12'")),
                 0);
    }

    void sameDaySameClinic() {
        const QString again = m_dir.filePath(QStringLiteral("again.mdb"));
        demo::buildDemoClinic(again, kDay, QStringLiteral(DV_INSTALL_DB));
        QCOMPARE(contentDigest(*openDemo(again)), contentDigest(*m_db));
    }

    // A failed build says why and leaves an existing demo as it was.
    void failureKeepsTheOldFile() {
        const QString file = m_dir.filePath(QStringLiteral("kept.mdb"));
        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("old");
        }
        QVERIFY_THROWS_EXCEPTION(
            PlainError, demo::buildDemoClinic(file, kDay, m_dir.filePath(QStringLiteral("missing.mdb"))));
        QVERIFY_THROWS_EXCEPTION(PlainError,
                                 demo::buildDemoClinic(file, QDate(), QStringLiteral(DV_INSTALL_DB)));
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("old"));
        QVERIFY(!QFile::exists(file + QStringLiteral(".building")));
    }
};

QTEST_MAIN(TestDemo)
#include "tst_demo.moc"

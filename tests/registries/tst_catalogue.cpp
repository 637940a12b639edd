#include "CatalogueFixture.h"
#include "core/U_dm.h"
#include "registries/U_frmConvenio.h"
#include "registries/U_frmConvenio_Manut.h"
#include "registries/U_frmDente.h"
#include "registries/U_frmDente_Manut.h"
#include "registries/U_frmIcone.h"
#include "registries/U_frmIcone_Manut.h"
#include "registries/U_frmServico.h"
#include "registries/U_frmServico_Manut.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBImage.h"
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

using namespace dv;
using namespace dv::test;

namespace {

QStringList titles(DBGrid* grid) {
    QStringList out;
    for (const GridColumn& c : grid->columns())
        out << grid->fieldTitle(c.fieldName);
    return out;
}

bool tabShown(TfrmCadastro* r, QWidget* page) {
    return r->PageControl1->isTabVisible(r->PageControl1->indexOf(page));
}

// Files for the picture dialogs: a good PNG and BMP, a PNG cut off half-way and
// text named like a picture.
struct PictureFiles {
    QTemporaryDir dir;
    QString png = dir.filePath(QStringLiteral("coroa.png"));
    QString bmp = dir.filePath(QStringLiteral("canal.bmp"));
    QString cut = dir.filePath(QStringLiteral("cortada.png"));
    QString text = dir.filePath(QStringLiteral("texto.bmp"));
    QByteArray pngBytes = writePicture(png, "PNG", Qt::red);
    QByteArray bmpBytes = writePicture(bmp, "BMP", Qt::blue);
    PictureFiles() {
        writeCutOff(cut, writePicture(dir.filePath(QStringLiteral("inteira.png")), "PNG", Qt::green,
                                      QSize(300, 300)));
        QFile f(text);
        f.open(QIODevice::WriteOnly);
        f.write("isto não é uma imagem");
    }
};

} // namespace

// Icons, teeth, services and plans, driven as a user would.
class TestCatalogue : public QObject {
    Q_OBJECT

private slots:
    void cleanupTestCase() { stopSharedApp(); }

    // A picture is stored only once its whole file decodes as a BMP or PNG; the
    // file name is kept without its folder; "Fechar" drops a chosen picture.
    void iconPictures() {
        PictureFiles files;
        CatalogueApp a({QStringLiteral("delete from servico_icone"), QStringLiteral("delete from icone")});
        auto* list = a.openList<TfrmIcone>(QStringLiteral("frmIcone"));
        QVERIFY(list);
        QCOMPARE(list->windowTitle(), QStringLiteral("Icones"));
        QCOMPARE(titles(list->wwDBGrid1), (QStringList{"Id", "Nome", "Arquivo", "Img"}));
        auto& fd = a.app.s.fileDialogs;

        QVERIFY((a.withRecord<TfrmIcone_Manut>(list, {}, {}, [&](TfrmIcone_Manut* r) {
            QCOMPARE(r->windowTitle(), QStringLiteral("Icone Manutenção"));
            typeAtCaret(r->DBEdit2, QStringLiteral("Coroa"));
            for (const QString& bad : {files.cut, files.text}) {
                a.dialogs().clearMessages();
                fd.queueOpen(bad);
                QTest::mouseDClick(r->DBImage1, Qt::LeftButton);
                QVERIFY2(a.dialogs().lastText().contains(QFileInfo(bad).fileName()),
                         qPrintable(a.dialogs().lastText()));
                QVERIFY(r->editedDataset()->fieldByName(QStringLiteral("icone_img"))->isNull());
                QVERIFY(!r->DBImage1->hasPicture());
            }
            QCOMPARE(fd.requests().last().request.filter,
                     QStringLiteral("BMP Imagem (*.bmp)|*.bmp|PNG Imagem|*.png"));
            fd.queueOpen(files.png);
            QTest::mouseDClick(r->DBImage1, Qt::LeftButton);
            QVERIFY(r->DBImage1->hasPicture());
            QCOMPARE(r->DBEdit3->text(), QStringLiteral("coroa.png"));
            a.dialogs().queueConfirmation(true);
            r->BitBtn1Click();
        })));
        QCOMPARE(a.blob(QStringLiteral("select icone_img from icone where icone_nome = 'Coroa'")),
                 files.pngBytes);
        QCOMPARE(a.text(QStringLiteral("select icone_arquivo from icone")), QStringLiteral("coroa.png"));

        // Another picture chosen, then "Fechar" and "Não": the icon stays as it was.
        const QVariant id = list->SQL_Consulta->fieldByName(QStringLiteral("icone_id"))->asVariant();
        a.dialogs().queueQuestion(DialogService::Answer::No);
        QVERIFY((a.withRecord<TfrmIcone_Manut>(list, QStringLiteral("icone_id"), id, [&](TfrmIcone_Manut* r) {
            fd.queueOpen(files.bmp);
            QTest::mouseDClick(r->DBImage1, Qt::LeftButton);
            QCOMPARE(r->DBEdit3->text(), QStringLiteral("canal.bmp"));
            r->BitBtn2Click();
        })));
        QCOMPARE(a.blob(QStringLiteral("select icone_img from icone")), files.pngBytes);
        QCOMPARE(a.text(QStringLiteral("select icone_arquivo from icone")), QStringLiteral("coroa.png"));

        // The shared icons follow once the list closes.
        QCOMPARE(dm().SQL_Icone->recordCount(), 0);
        list->close();
        QCOMPARE(dm().SQL_Icone->recordCount(), 1);
        DV_VERIFY_DIALOGS(a.dialogs());
    }

    // A tooth needs its number; its picture is checked, then saved at once.
    void toothPictures() {
        PictureFiles files;
        CatalogueApp a(
            {QStringLiteral("delete from dente"),
             QStringLiteral("insert into dente (dente_id, dente_nome) values (20, 'Sem figura')")});
        auto* list = a.openList<TfrmDente>(QStringLiteral("frmDente"));
        QVERIFY(list);
        QCOMPARE(titles(list->wwDBGrid1), (QStringList{"Id", "Nome"}));
        auto& fd = a.app.s.fileDialogs;

        QVERIFY((a.withRecord<TfrmDente_Manut>(list, {}, {}, [&](TfrmDente_Manut* r) {
            QCOMPARE(r->windowTitle(), QStringLiteral("Dente Manutenção"));
            QVERIFY(r->DBEdit1->isEnabled());
            typeAtCaret(r->DBEdit2, QStringLiteral("Siso"));
            QTest::mouseDClick(r->ImagePng, Qt::LeftButton);
            QCOMPARE(a.dialogs().lastText(),
                     QStringLiteral("O campo \"Id\" é de preenchimento obrigatório!"));
            QCOMPARE(fd.requests().size(), 0);
            QCOMPARE(a.count(QStringLiteral("select count(*) from dente")), 1);

            typeAtCaret(r->DBEdit1, QStringLiteral("19"));
            fd.queueOpen(files.cut);
            QTest::mouseDClick(r->ImagePng, Qt::LeftButton);
            QVERIFY(a.dialogs().lastText().contains(QStringLiteral("cortada.png")));
            QCOMPARE(fd.requests().last().request.filter, QStringLiteral("PNG Imagem (*.png)|*.png"));
            QCOMPARE(a.count(QStringLiteral("select count(*) from dente")), 1);

            fd.queueOpen(files.png);
            QTest::mouseDClick(r->ImagePng, Qt::LeftButton);
            QVERIFY(r->ImagePng->hasPicture());
            QVERIFY(!r->BitBtn1->isEnabled()); // posted already
        })));
        QCOMPARE(a.text(QStringLiteral("select dente_nome from dente where dente_id = 19")),
                 QStringLiteral("Siso"));
        QCOMPARE(a.blob(QStringLiteral("select dente_img from dente where dente_id = 19")), files.pngBytes);

        bool shown = true;
        QVERIFY((a.withRecord<TfrmDente_Manut>(list, QStringLiteral("dente_id"), 20, [&](TfrmDente_Manut* r) {
            shown = r->ImagePng->hasPicture();
        })));
        QVERIFY(!shown);

        QVERIFY(!dm().SQL_Dente->locate(QStringLiteral("dente_id"), 19));
        list->close();
        QVERIFY(dm().SQL_Dente->locate(QStringLiteral("dente_id"), 19));
        DV_VERIFY_DIALOGS(a.dialogs());
    }

    // The database numbers a new service when it is saved: never 0, never a number
    // another workstation could take as well.
    void newServiceNumber_data() {
        QTest::addColumn<QStringList>("sql");
        QTest::addColumn<QString>("expected"); // empty: any number above 0
        QTest::newRow("highest 41")
            << QStringList{QStringLiteral(
                   "insert into servico (servico_id, servico_nome, servico_ativo) values "
                   "(41, 'Coroa', 'S')")}
            << QStringLiteral("42");
        QTest::newRow("empty table") << QStringList{QStringLiteral("delete from servico")} << QString();
    }
    void newServiceNumber() {
        QFETCH(QStringList, sql);
        QFETCH(QString, expected);
        if (!expected.isEmpty()) sql.prepend(QStringLiteral("delete from servico where servico_id >= 41"));
        CatalogueApp a(sql);
        auto* list = a.openList<TfrmServico>(QStringLiteral("frmServico"));
        QVERIFY(list);
        QCOMPARE(titles(list->wwDBGrid1), (QStringList{"Serviço", "Ramo", "Ativo", "id"}));
        QVERIFY(!list->Novo1->isVisible() && !list->Excluir1->isVisible());
        bool pagesBefore = true, pagesAfter = false;
        QString active;
        QVERIFY((a.withRecord<TfrmServico_Manut>(list, {}, {}, [&](TfrmServico_Manut* r) {
            QCOMPARE(r->windowTitle(), QStringLiteral("Manutenção de Serviço"));
            active = r->editedDataset()->fieldByName(QStringLiteral("servico_ativo"))->asString();
            pagesBefore = tabShown(r, r->TabSheet2) || tabShown(r, r->TabSheet3);
            typeAtCaret(r->DBEdit2, QStringLiteral("Gengivoplastia por sextante"));
            a.dialogs().queueConfirmation(true);
            r->BitBtn1Click();
            pagesAfter = tabShown(r, r->TabSheet2) && tabShown(r, r->TabSheet3);
        })));
        QCOMPARE(active, QStringLiteral("S"));
        QVERIFY(!pagesBefore);
        QVERIFY(pagesAfter);
        const QString id = a.text(QStringLiteral(
            "select servico_id from servico where servico_nome = 'Gengivoplastia por sextante'"));
        if (expected.isEmpty())
            QVERIFY(id.toInt() >= 1);
        else
            QCOMPARE(id, expected);
        QVERIFY(list->SQL_Consulta->locate(QStringLiteral("servico_nome"),
                                           QStringLiteral("Gengivoplastia por sextante")));
        // Saved first, then the shared list read again: the other screens offer it.
        QVERIFY(dm().SQL_Servico->locate(QStringLiteral("servico_nome"),
                                         QStringLiteral("Gengivoplastia por sextante")));
        DV_VERIFY_DIALOGS(a.dialogs());
    }

    // Each icon row shows its icon in the preview and, for a quadrant, the faces
    // around it.
    void iconPageFaces() {
        CatalogueApp a(
            {QStringLiteral("delete from servico_icone where servico_id = 500"),
             QStringLiteral("insert into icone (icone_id, icone_nome) values (900, 'A'), (901, 'B')"),
             QStringLiteral("insert into servico (servico_id, servico_nome, servico_ativo) values "
                            "(500, 'Teste', 'S')"),
             QStringLiteral("insert into servico_icone (servico_id, local_dente_id, face_dente, icone_id) "
                            "values (500, 'Q1', 'a', 900), (500, 'Q2', 'b', 901), (500, 'Q3', 'c', 900), "
                            "(500, 'Q4', 'd', 901), (500, 'TO', 'e', 900), (500, 'DS', 'f', 999)")});
        LoggedIn::reopen(dm().SQL_Icone);
        auto* list = a.openList<TfrmServico>(QStringLiteral("frmServico"));
        QStringList seen;
        QVERIFY((a.withRecord<TfrmServico_Manut>(
            list, QStringLiteral("servico_id"), 500, [&](TfrmServico_Manut* r) {
                QCOMPARE(r->PageControl1->tabText(2), QStringLiteral("Icones"));
                QCOMPARE(titles(r->wwDBGrid1), (QStringList{"Local", "Face", "Icone"}));
                QVERIFY(r->wwDBGrid1->columnLookup(QStringLiteral("icone_id")));
                QCOMPARE(r->wwDBGrid1->columnLookup(QStringLiteral("icone_id"))->pictureField,
                         QStringLiteral("icone_img"));
                Dataset* rows = r->SQL_ServicoIcone;
                for (rows->first(); !rows->eof(); rows->next())
                    seen << rows->fieldByName(QStringLiteral("local_dente_id"))->asString() +
                                QLatin1Char(':') +
                                QStringList{r->lbT->text(), r->lbR->text(), r->lbB->text(), r->lbL->text()}
                                    .join(',') +
                                QLatin1Char(':') +
                                dm().SQL_Icone->fieldByName(QStringLiteral("icone_id"))->asString();
            })));
        // An icon that is not there leaves the preview on the last one found.
        QCOMPARE(seen, (QStringList{"DS:,,,:900", "Q1:V-T,M-R,P-B,D-L:900", "Q2:V-T,D-R,P-B,M-L:901",
                                    "Q3:L-T,D-R,V-B,M-L:900", "Q4:L-T,M-R,V-B,D-L:901", "TO:,,,:900"}));
    }

    // A fresh installation can chart and price: every tooth has its picture, every
    // service its icons and a "Particular" price.
    void shippedCatalogue() {
        CatalogueApp a;
        QStringList teeth = a.texts(QStringLiteral("select dente_id from dente order by dente_id"));
        QCOMPARE(teeth.size(), 1 + 32 + 20);
        QCOMPARE(teeth.first(), QStringLiteral("0"));
        for (const QString& t : teeth) {
            const QImage tooth = QImage::fromData(
                a.blob(QStringLiteral("select dente_img from dente where dente_id = %1").arg(t)), "PNG");
            QVERIFY2(!tooth.isNull() && tooth.hasAlphaChannel(), qPrintable(t));
        }
        for (const QString& i : a.texts(QStringLiteral("select icone_id from icone")))
            QVERIFY2(!QImage::fromData(
                          a.blob(QStringLiteral("select icone_img from icone where icone_id = %1").arg(i)))
                          .isNull(),
                     qPrintable(i));
        // Services without an icon row that names a real icon and place, or without a price.
        QCOMPARE(
            a.texts(QStringLiteral(
                "select servico_nome from servico s where servico_id <> 0 and (not exists (select 1 from "
                "servico_icone si join icone i on i.icone_id = si.icone_id join local_dente l on "
                "l.local_dente_id = si.local_dente_id where si.servico_id = s.servico_id and i.icone_img is "
                "not "
                "null) or not exists (select 1 from tabela_convenio t where t.servico_id = s.servico_id and "
                "t.convenio_id = 1))")),
            QStringList());
        QCOMPARE(a.texts(QStringLiteral("select distinct local_dente_id from servico_icone order by 1")),
                 (QStringList{"DI", "DS", "Q1", "Q2", "Q3", "Q4", "TO"}));
        QVERIFY(a.count(QStringLiteral("select count(*) from servico")) >= 30);
        auto* list = a.openList<TfrmServico>(QStringLiteral("frmServico"));
        QCOMPARE(list->SQL_Consulta->recordCount(), a.count(QStringLiteral("select count(*) from servico")));
    }

    // A service charted in a consultation, or a plan with patients, is not deleted;
    // one in no use is.
    void deleteRefusedWhileInUse_data() {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("refused");
        QTest::newRow("service")
            << "frmServico"
            << "servico_id"
            << "servico"
            << "O serviço \"Consulta / avaliação inicial\" está em 1 item(ns) de consulta e não "
               "pode ser excluído.";
        QTest::newRow("plan") << "frmConvenio"
                              << "convenio_id"
                              << "convenio"
                              << "O convênio \"Particular\" tem 1 paciente(s) e não pode ser excluído.";
    }
    void deleteRefusedWhileInUse() {
        QFETCH(QString, form);
        QFETCH(QString, key);
        QFETCH(QString, table);
        QFETCH(QString, refused);
        CatalogueApp a(
            {QStringLiteral("insert into convenio (convenio_id, convenio_nome) values (2, 'Sem uso')"),
             QStringLiteral("insert into paciente (paciente_id, paciente_nome, convenio_id) values (500, "
                            "'Ana', 1)"),
             QStringLiteral("insert into consulta (consulta_id, paciente_id) values (500, 500)"),
             QStringLiteral("insert into item_consulta (consulta_id, servico_id, dente_id, local_dente_id) "
                            "values (500, 1, 0, 'TO')")});
        auto* list = a.openList<TfrmModelo4>(form);
        QVERIFY(list);
        const QString count = QStringLiteral("select count(*) from %1 where %2 = %3").arg(table, key);
        QVERIFY(list->SQL_Consulta->locate(key, 1));
        list->btnExcluirClick();
        QCOMPARE(a.dialogs().lastText(), refused);
        QCOMPARE(a.count(count.arg(1)), 1);

        QVERIFY(list->SQL_Consulta->locate(key, 2));
        a.dialogs().queueConfirmation(true);
        list->btnExcluirClick();
        QCOMPARE(a.count(count.arg(2)), 0);
        DV_VERIFY_DIALOGS(a.dialogs());
    }

    // One price per service at 0,00, all written or none; removal says how many
    // prices go.
    void priceTable() {
        CatalogueApp a({QStringLiteral("delete from tabela_convenio"), QStringLiteral("delete from servico"),
                        QStringLiteral("insert into servico (servico_id, servico_nome, servico_ativo) values "
                                       "(1, 'Consulta', 'S'), (2, 'Canal', 'N'), (3, 'Coroa', 'S')")});
        LoggedIn::reopen(dm().SQL_Servico);
        a.app.s.clock.set(QDateTime(QDate(2026, 8, 3), QTime(9, 0)));
        auto* list = a.openList<TfrmConvenio>(QStringLiteral("frmConvenio"));
        QVERIFY(list);
        QCOMPARE(titles(list->wwDBGrid1), (QStringList{"Convênio", "Id"}));

        bool enabledNew = true, enabledSaved = false;
        QVERIFY((a.withRecord<TfrmConvenio_Manut>(list, {}, {}, [&](TfrmConvenio_Manut* r) {
            enabledNew = r->btnAtualiza->isEnabled() || r->btnRemove->isEnabled();
            typeAtCaret(r->DBEdit2, QStringLiteral("Odontoprev"));
            a.dialogs().queueConfirmation(true);
            r->BitBtn1Click();
            enabledSaved = r->btnAtualiza->isEnabled() && r->btnRemove->isEnabled();
        })));
        QVERIFY(!enabledNew);
        QVERIFY(enabledSaved);
        QVERIFY(dm().SQL_Convenio->locate(QStringLiteral("convenio_nome"), QStringLiteral("Odontoprev")));
        const QString plan =
            a.text(QStringLiteral("select convenio_id from convenio where convenio_nome = 'Odontoprev'"));
        const QString prices =
            QStringLiteral("select servico_id || '=' || tabela_valor || '@' || tabela_data from "
                           "tabela_convenio where convenio_id = %1 order by servico_id")
                .arg(plan);

        // A failure half-way leaves no price at all.
        a.db().execute(
            QStringLiteral("create trigger tr_falha before insert on tabela_convenio when NEW.servico_id = 3 "
                           "begin select raise(abort, 'falha no disco'); end"));
        QVERIFY((a.withRecord<TfrmConvenio_Manut>(list, QStringLiteral("convenio_id"), plan.toInt(),
                                                  [&](TfrmConvenio_Manut* r) {
                                                      click(r->btnAtualiza);
                                                      QVERIFY(r->ProgressBar1->isHidden());
                                                      QCOMPARE(r->SQL_Tabela->recordCount(), 0);
                                                  })));
        QVERIFY(a.dialogs().lastText().contains(QStringLiteral("falha no disco")));
        QCOMPARE(a.texts(prices), QStringList());
        a.db().execute(QStringLiteral("drop trigger tr_falha"));

        const QString generated = QStringLiteral("Como foi criado um novo convênio, é necessário definir os "
                                                 "preços da tabela para cada serviço, por padrão "
                                                 "todos os serviços vão receber o valor (R$ 0,00) !");
        QString label;
        QVERIFY((a.withRecord<TfrmConvenio_Manut>(
            list, QStringLiteral("convenio_id"), plan.toInt(), [&](TfrmConvenio_Manut* r) {
                a.dialogs().clearMessages();
                click(r->btnAtualiza);
                QCOMPARE(a.dialogs().texts(), QStringList{generated});
                label = r->lbRegistro->text();
                // Priced: refused until the prices are removed.
                click(r->btnAtualiza);
                QCOMPARE(a.dialogs().lastText(),
                         QStringLiteral("Você tem que excluir a Tabela de Preços para gerar novamente!"));
                QCOMPARE(r->SQL_Tabela->recordCount(), 3);

                a.dialogs().queueConfirmation(false);
                click(r->btnRemove);
                QCOMPARE(a.dialogs().lastText(),
                         QStringLiteral("Deseja gerar a tabela de Preços novamente?\n\n3 preços "
                                        "deste convênio serão excluídos."));
                QCOMPARE(r->SQL_Tabela->recordCount(), 3);
                a.dialogs().queueConfirmation(true);
                click(r->btnRemove);
                QCOMPARE(r->SQL_Tabela->recordCount(), 0);
                QCOMPARE(r->lbRegistro->text(), QStringLiteral("Registro(s): 0"));
            })));
        QCOMPARE(label, QStringLiteral("Registro(s): 3"));
        QCOMPARE(a.texts(prices), QStringList());
        // The plan "Particular" keeps its prices.
        QVERIFY(a.count(QStringLiteral("select count(*) from tabela_convenio")) == 0);

        // Generated again: inactive services too, at 0,00 and today's date.
        QVERIFY((a.withRecord<TfrmConvenio_Manut>(list, QStringLiteral("convenio_id"), plan.toInt(),
                                                  [&](TfrmConvenio_Manut* r) { click(r->btnAtualiza); })));
        QCOMPARE(a.texts(prices), (QStringList{"1=0@2026-08-03 00:00:00", "2=0@2026-08-03 00:00:00",
                                               "3=0@2026-08-03 00:00:00"}));
        DV_VERIFY_DIALOGS(a.dialogs());
    }

    // Every text of the English and Spanish files reaches its screen.
    void languageFiles_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("form");
        for (const char* language : {"en", "es"})
            for (const char* form : {"frmIcone", "frmIcone_Manut", "frmDente", "frmDente_Manut", "frmServico",
                                     "frmServico_Manut", "frmConvenio", "frmConvenio_Manut"})
                QTest::addRow("%s %s", language, form)
                    << QString::fromLatin1(language) << QString::fromLatin1(form);
    }
    void languageFiles() {
        QFETCH(QString, language);
        QFETCH(QString, form);
        LoggedIn::Options opt = catalogueOptions();
        opt.folder.language = language;
        LoggedIn app(opt);
        const QString listName = form.section(QLatin1Char('_'), 0, 0);
        app.opener().open(listName);
        auto* list = qobject_cast<TfrmModelo4*>(app.opener().openScreen(listName));
        QVERIFY(list);
        QStringList problems;
        if (form == listName) {
            problems = languageProblems(list, languageFile(app, language, form));
        } else {
            QVERIFY(inModal<TfrmCadastro>(
                [list] { list->btnEditarClick(); },
                [&](TfrmCadastro* m) { problems = languageProblems(m, languageFile(app, language, form)); }));
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(TestCatalogue)
#include "tst_catalogue.moc"

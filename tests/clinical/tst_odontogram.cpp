// The odontogram of the consultation record and the service selection: slots at
// their rectangles, each item's icon on its slot with its hint, the chart as a
// picture, services offered by place and plan, items added and removed from the
// chart, and the chart printed for this consultation.
#include "../reporting/ReportFixture.h"
#include "ClinicalFixture.h"
#include "clinical/OdontogramaWidget.h"
#include "clinical/U_frmConsulta.h"
#include "clinical/U_frmConsulta_Manut.h"
#include "clinical/U_frmSelecaoServico.h"
#include "core/Session.h"
#include "core/db/DbErrors.h"
#include "reporting/PdfFileReportOutput.h"
#include "reporting/ReportOutput.h"
#include "toolkit/DBEdit.h"
#include "toolkit/TransparentPicture.h"
#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QSignalSpy>
#include <QtTest>

using namespace dv;
using namespace dv::test;

namespace {

// Maria (plan "Particular") with a treatment plan on both arches and the strip, an
// item typed in the grid (tooth 0) and one whose place is no slot (DS 48); two
// services of our own for the lower-left faces, one of them without a price.
const QStringList kClinic = {
    "insert into dentista (dentista_id, dentista_nome, dentista_cro, dentista_ativo) "
    "values (901, 'Ana Souza', 'CRO-SP 1234', 'S')",
    "insert into convenio (convenio_id, convenio_nome) values (9, 'Sem tabela')",
    "insert into paciente (paciente_id, paciente_nome, convenio_id, paciente_ativo) "
    "values (801, 'Maria da Conceição', 1, 'S')",
    "insert into paciente (paciente_id, paciente_nome, convenio_id, paciente_ativo) "
    "values (802, 'João Pedro', 9, 'S')",
    "insert into servico (servico_id, servico_nome, ramo_id, servico_ativo) "
    "values (9101, 'Zircônia oclusal   ', 'Dentística', 'S')",
    "insert into servico (servico_id, servico_nome, ramo_id, servico_ativo) "
    "values (9102, 'Sem preço no plano', 'Dentística', 'S')",
    "insert into servico_icone (servico_id, local_dente_id, face_dente, icone_id) values "
    "(9101, 'Q3', 'Oclusal', 5), (9101, 'Q3', 'Mesial', 4), (9102, 'Q3', 'Oclusal', 5)",
    "insert into tabela_convenio (convenio_id, servico_id, tabela_valor) values (1, 9101, 990000)",
    "insert into consulta (consulta_id, paciente_id, dentista_id, consulta_data, consulta_aprovado, "
    "forma_pagamento_id, consulta_valor, consulta_validade) values (7001, 801, 901, '2026-01-10 00:00:00', "
    "'N', 1, 0, '2026-01-17 00:00:00')",
    "insert into consulta (consulta_id, paciente_id, dentista_id, consulta_data, consulta_aprovado, "
    "forma_pagamento_id, consulta_valor, consulta_validade) values (7002, 802, 901, '2026-01-10 00:00:00', "
    "'N', 1, 0, '2026-01-17 00:00:00')",
    "insert into item_consulta (item_consulta_id, consulta_id, servico_id, dente_id, local_dente_id, "
    "icone_id, item_consulta_concluido, item_consulta_valor) values "
    "(3701, 7001, 7, 16, 'Q1', 5, 'N', 2200000), "
    "(3702, 7001, 10, 48, 'DI', 7, 'S', 2500000), "
    "(3703, 7001, 1, 0, 'TO', 17, 'N', 1500000), "
    "(3704, 7001, 1, 103, 'TO', 17, 'N', 1500000), "
    "(3705, 7001, 21, 55, 'DS', 11, 'N', 0), "
    "(3706, 7001, 21, 48, 'DS', 11, 'N', 0), "
    "(3707, 7001, 8, 16, 'Q1', 1, 'N', 1600000)",
};

LoggedIn& clinic() {
    return sharedApp(QStringLiteral("odontogram"), clinicalOptions, kClinic);
}

TfrmConsulta* openConsultation(LoggedIn& app, qint64 patient, qint64 consultation) {
    app.opener().open(QStringLiteral("frmConsulta"), {{QStringLiteral("paciente_id"), patient}});
    auto* list = qobject_cast<TfrmConsulta*>(app.opener().openScreen(QStringLiteral("frmConsulta")));
    if (list && !list->SQL_Consulta->locate(QStringLiteral("consulta_id"), consultation)) return nullptr;
    return list;
}

// Runs the work in the record of the list's current consultation; closes it afterwards.
bool withRecord(TfrmConsulta* list, const std::function<void(TfrmConsulta_Manut*)>& work) {
    bool ran = false;
    whenModal([&](QWidget* w) {
        QPointer<QWidget> guard(w);
        if (auto* r = qobject_cast<TfrmConsulta_Manut*>(w)) {
            try {
                work(r);
                ran = true;
            } catch (const Error& e) {
                qWarning() << "error in the record:" << e.message();
            }
        }
        if (guard && guard->isVisible()) guard->close();
    });
    list->btnEditarClick();
    return ran;
}

// Clicks a place of the chart and runs the work in the service selection it opens.
bool withSelection(TfrmConsulta_Manut* r, const QString& place,
                   const std::function<void(TfrmSelecaoServico*)>& work) {
    auto* target = r->odontograma->findChild<OdontogramaPlace*>(place);
    if (!target) {
        qWarning() << "no place" << place;
        return false;
    }
    bool ran = false;
    whenModal([&](QWidget* w) {
        QPointer<QWidget> guard(w);
        if (auto* d = qobject_cast<TfrmSelecaoServico*>(w)) {
            work(d);
            ran = true;
        }
        if (guard && guard->isVisible()) guard->close();
    });
    QTest::mouseClick(target, Qt::LeftButton, {}, target->rect().center());
    return ran;
}

OdontogramaPlace* icon(TfrmConsulta_Manut* r, const QString& name) {
    return r->odontograma->findChild<OdontogramaPlace*>(name);
}

QStringList icons(TfrmConsulta_Manut* r) {
    QStringList names;
    for (auto* p : r->odontograma->findChildren<OdontogramaPlace*>())
        if (p->item() != 0) names << p->objectName();
    names.sort();
    return names;
}

QStringList comboItems(QComboBox* box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

qint64 scalar(LoggedIn& app, const QString& sql) {
    auto c = app.db().query(sql);
    return c->next() && !c->isNull(0) ? c->integer(0) : -1;
}

QImage storedIcon(LoggedIn& app, int id) {
    auto c = app.db().query(QStringLiteral("select icone_img from icone where icone_id = %1").arg(id));
    return c->next() ? withColourKey(QImage::fromData(c->blob(0))) : QImage();
}

} // namespace

class TestOdontogram : public QObject {
    Q_OBJECT

private slots:
    void cleanupTestCase() { stopSharedApp(); }
    void cleanup() {
        if (LoggedIn* app = SharedAppSlot::get().app.get()) DV_VERIFY_SERVICES(app->s);
    }

    void slotsStandAtTheirRectangles_data() {
        QTest::addColumn<QString>("location");
        QTest::addColumn<int>("tooth");
        QTest::addColumn<QString>("panel");
        QTest::addColumn<QRect>("rect");
        QTest::newRow("upper tooth 18") << "DS" << 18 << "pnlPermanentes" << QRect(15, 44, 37, 75);
        QTest::newRow("upper face 21") << "Q2" << 21 << "pnlPermanentes" << QRect(357, 128, 29, 29);
        QTest::newRow("lower face 36") << "Q3" << 36 << "pnlPermanentes" << QRect(551, 185, 29, 29);
        QTest::newRow("lower face 35") << "Q3" << 35 << "pnlPermanentes" << QRect(506, 185, 29, 29);
        QTest::newRow("lower tooth 43") << "DI" << 43 << "pnlPermanentes" << QRect(238, 222, 37, 75);
        QTest::newRow("lower face 48") << "Q4" << 48 << "pnlPermanentes" << QRect(16, 185, 29, 29);
        QTest::newRow("deciduous 55") << "DS" << 55 << "pnlDeciduos" << QRect(136, 44, 37, 75);
        QTest::newRow("deciduous face 61") << "Q2" << 61 << "pnlDeciduos" << QRect(357, 128, 29, 29);
        QTest::newRow("deciduous face 75") << "Q3" << 75 << "pnlDeciduos" << QRect(530, 187, 29, 29);
        QTest::newRow("deciduous face 84") << "Q4" << 84 << "pnlDeciduos" << QRect(192, 185, 29, 29);
        QTest::newRow("deciduous lower 85") << "DI" << 85 << "pnlDeciduos" << QRect(136, 225, 37, 75);
        QTest::newRow("strip first") << "TO" << 101 << "pnlProtese" << QRect(11, 7, 42, 41);
        QTest::newRow("strip second, wider") << "TO" << 102 << "pnlProtese" << QRect(61, 7, 43, 41);
        QTest::newRow("strip last") << "TO" << 113 << "pnlProtese" << QRect(641, 7, 42, 41);
    }
    void slotsStandAtTheirRectangles() {
        QFETCH(QString, location);
        QFETCH(int, tooth);
        QFETCH(QString, panel);
        QFETCH(QRect, rect);
        clinic();
        OdontogramaWidget chart(session().filePath(QStringLiteral("skins/")));
        OdontogramaPlace* slot =
            chart.findChild<OdontogramaPlace*>(OdontogramaWidget::slotName(location, tooth));
        QVERIFY(slot);
        QCOMPARE(chart.slotAt(location, tooth), slot);
        QCOMPARE(slot->geometry(), rect);
        QCOMPARE(slot->parentWidget()->objectName(), panel);
        QCOMPARE(slot->tooth(), tooth);
        QCOMPARE(slot->location(), location);
        QCOMPARE(slot->toolTip(), QStringLiteral("Adicionar Serviço"));
        QCOMPARE(slot->cursor().shape(), Qt::PointingHandCursor);
    }

    // Exactly the places of the chart have slots; others are no place at all.
    void onlyThePlacesOfTheChartAreSlots() {
        clinic();
        OdontogramaWidget chart(session().filePath(QStringLiteral("skins/")));
        QCOMPARE(chart.findChildren<OdontogramaPlace*>().size(), 117);
        for (const auto& [location, tooth] : QList<QPair<QString, int>>{{"DS", 48},
                                                                        {"DS", 19},
                                                                        {"DI", 55},
                                                                        {"Q1", 21},
                                                                        {"Q5", 51},
                                                                        {"TO", 100},
                                                                        {"TO", 114},
                                                                        {"TO", 11}})
            QVERIFY2(!chart.slotAt(location, tooth), qPrintable(location + QString::number(tooth)));
        QVERIFY(!chart.showItem(QStringLiteral("DS"), 48, 1, QImage(), QString()));
    }

    // The strip's frame darkens under the mouse, over a free place or an icon on it.
    void stripFrameFollowsTheMouse() {
        clinic();
        OdontogramaWidget chart(session().filePath(QStringLiteral("skins/")));
        auto* frame = chart.findChild<QLabel*>(QStringLiteral("imgMoldura105"));
        const QImage normal =
            chart.findChild<QLabel*>(QStringLiteral("imgMolduraNormal"))->pixmap().toImage();
        const QImage highlighted =
            chart.findChild<QLabel*>(QStringLiteral("imgMolduraDestaque"))->pixmap().toImage();
        QVERIFY(normal != highlighted);
        QCOMPARE(frame->pixmap().toImage(), normal);
        OdontogramaPlace* icon = chart.showItem(QStringLiteral("TO"), 105, 9, QImage(), QStringLiteral("x"));
        for (QWidget* place :
             {static_cast<QWidget*>(chart.slotAt(QStringLiteral("TO"), 105)), static_cast<QWidget*>(icon)}) {
            QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
            QApplication::sendEvent(place, &enter);
            QCOMPARE(frame->pixmap().toImage(), highlighted);
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(place, &leave);
            QCOMPARE(frame->pixmap().toImage(), normal);
        }
        QCOMPARE(chart.findChild<QLabel*>(QStringLiteral("imgMoldura104"))->pixmap().toImage(), normal);
    }

    // By keyboard: one Tab stop per panel, the arrows walk the places as the chart
    // shows them (an icon after the slot it lies on), Enter and Space act as a click;
    // the focus mark is not printed.
    void keyboardWalksTheChart() {
        clinic();
        QWidget window;
        auto* before = new QLineEdit(&window);
        auto* chart = new OdontogramaWidget(session().filePath(QStringLiteral("skins/")), &window);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(before);
        layout->addWidget(chart);
        chart->showItem(QStringLiteral("Q1"), 17, 5, QImage(), QStringLiteral("Resina"));
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const auto stops = [](QWidget* panel) {
            QStringList names;
            for (auto* p : panel->findChildren<OdontogramaPlace*>(QString(), Qt::FindDirectChildrenOnly))
                if (p->focusPolicy() & Qt::TabFocus) names << p->objectName();
            return names;
        };
        for (QWidget* panel : {static_cast<QWidget*>(chart->pnlPermanentes),
                               static_cast<QWidget*>(chart->pnlDeciduos), chart->pnlProtese})
            QCOMPARE(stops(panel).size(), 1);
        QCOMPARE(stops(chart->pnlPermanentes), QStringList{"img_DS18"});
        const QImage unfocused = chart->chartPicture();

        before->setFocus();
        for (int i = 0; i < 3 && !qobject_cast<OdontogramaPlace*>(QApplication::focusWidget()); ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        const auto walk = [](Qt::Key key) {
            QTest::keyClick(QApplication::focusWidget(), key);
            return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
        };
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("img_DS18"));
        QCOMPARE(walk(Qt::Key_Left), QString("img_DS18")); // the edge
        QCOMPARE(walk(Qt::Key_Down), QString("img_Q118"));
        QCOMPARE(walk(Qt::Key_Right), QString("img_Q117"));
        QCOMPARE(walk(Qt::Key_Right), QString("img_Q1175"));
        QCOMPARE(walk(Qt::Key_Right), QString("img_Q116"));
        QCOMPARE(walk(Qt::Key_Left), QString("img_Q1175"));
        QCOMPARE(walk(Qt::Key_Down), QString("img_Q447"));
        QCOMPARE(walk(Qt::Key_Up), QString("img_Q117")); // the slot before the icon on it
        QCOMPARE(walk(Qt::Key_Up), QString("img_DS17"));
        QCOMPARE(stops(chart->pnlPermanentes), QStringList{"img_DS17"}); // Tab comes back here
        QCOMPARE(chart->chartPicture(), unfocused);

        QSignalSpy clicks(chart, &OdontogramaWidget::placeClicked);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        walk(Qt::Key_Down);
        walk(Qt::Key_Right);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(clicks.size(), 2);
        QCOMPARE(clicks[0], (QList<QVariant>{17, qint64(0), QString("DS")}));
        QCOMPARE(clicks[1], (QList<QVariant>{17, qint64(5), QString("Q1")}));
        // The icon holding the stop goes: the panel keeps one.
        chart->removeItem(QStringLiteral("Q1"), 17, 5);
        QCOMPARE(stops(chart->pnlPermanentes).size(), 1);
    }

    // Every item with a place is drawn on its slot with its hint; the grid's items
    // (tooth 0) and places that are no slot are listed but not drawn; a second icon
    // on a face lies on top.
    void recordDrawsEveryItemAtItsSlot() {
        LoggedIn& app = clinic();
        TfrmConsulta* list = openConsultation(app, 801, 7001);
        QVERIFY(list);
        QVERIFY(withRecord(list, [&](TfrmConsulta_Manut* r) {
            QCOMPARE(r->SQL_ItemConsulta->recordCount(), 7);
            QCOMPARE(icons(r), (QStringList{"img_DI483702", "img_DS553705", "img_Q1163701", "img_Q1163707",
                                            "img_TO1033704"}));
            for (const auto& [name, slot] : QList<QPair<QString, QString>>{{"img_DI483702", "img_DI48"},
                                                                           {"img_DS553705", "img_DS55"},
                                                                           {"img_Q1163701", "img_Q116"},
                                                                           {"img_TO1033704", "img_TO103"}}) {
                OdontogramaPlace* i = icon(r, name);
                OdontogramaPlace* s = r->odontograma->findChild<OdontogramaPlace*>(slot);
                QCOMPARE(i->geometry(), s->geometry());
                QCOMPARE(i->parentWidget(), s->parentWidget());
                QCOMPARE(i->tooth(), s->tooth());
                QVERIFY2(!i->picture().isNull(), qPrintable(name));
            }
            QCOMPARE(icon(r, "img_Q1163701")->toolTip(),
                     QStringLiteral("Restauração em resina composta (por face) .... (Não Conclúido)"));
            QCOMPARE(icon(r, "img_DI483702")->toolTip(), QStringLiteral("Extração simples .... (Concluído)"));
            QCOMPARE(icon(r, "img_Q1163701")->item(), 3701);

            // The one drawn last takes the clicks of the face.
            QWidget* panel = r->odontograma->pnlPermanentes;
            QCOMPARE(panel->childAt(QPoint(120 + 14, 128 + 14)), icon(r, "img_Q1163707"));

            // Marking an item done changes its hint only.
            QVERIFY(r->SQL_ItemConsulta->locate(QStringLiteral("item_consulta_id"), 3701));
            r->SQL_ItemConsulta->edit();
            r->SQL_ItemConsulta->fieldByName(QStringLiteral("item_consulta_concluido"))->setAsString("S");
            r->SQL_ItemConsulta->post();
            QCOMPARE(icon(r, "img_Q1163701")->toolTip(),
                     QStringLiteral("Restauração em resina composta (por face) .... (Concluído)"));
            QCOMPARE(icon(r, "img_Q1163701")->geometry(), QRect(120, 128, 29, 29));
            QCOMPARE(icons(r).size(), 5);

            // Deleting the typed item touches no icon.
            QVERIFY(r->SQL_ItemConsulta->locate(QStringLiteral("item_consulta_id"), 3703));
            r->SQL_ItemConsulta->deleteRecord();
            QCOMPARE(icons(r).size(), 5);
        }));
        app.db().execute(QStringLiteral("update item_consulta set item_consulta_concluido = 'N' where "
                                        "item_consulta_id = 3701"));
    }

    // The chart's picture: the background and each icon at its slot, compared with a
    // picture composed here from the stored pictures and the chart's coordinates.
    void chartPictureMatchesItsComposition() {
        LoggedIn& app = clinic();
        TfrmConsulta* list = openConsultation(app, 801, 7001);
        QImage shown;
        QVERIFY(withRecord(list, [&](TfrmConsulta_Manut* r) {
            r->odontograma->setCurrentIndex(2);
            shown = r->odontograma->chartPicture();
            QCOMPARE(r->odontograma->currentIndex(), 0); // the strip prints the permanent teeth
        }));
        QCOMPARE(shown.size(), QSize(695, 338));
        if (qEnvironmentVariableIsSet("DV_CHART_SHOT")) shown.save(qEnvironmentVariable("DV_CHART_SHOT"));

        QImage expected(695, 338, QImage::Format_RGB32);
        expected.fill(Qt::white);
        {
            QPainter p(&expected);
            p.drawImage(0, 10,
                        QImage(session().filePath(QStringLiteral("skins/odontograma_permanentes.png"))));
            p.save();
            p.setClipRect(QRect(15, 222, 37, 75));
            p.drawImage(15, 222, storedIcon(app, 7));
            p.restore();
            p.save();
            p.setClipRect(QRect(120, 128, 29, 29));
            p.drawImage(120, 128, storedIcon(app, 5));
            p.drawImage(120, 128, storedIcon(app, 1));
            p.restore();
        }
        // Captions stand outside the compared area.
        const QRect area(14, 16, 668, 306);
        int different = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) {
                const QColor a = shown.pixelColor(x, y), b = expected.pixelColor(x, y);
                if (qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue()) > 48)
                    ++different;
            }
        QVERIFY2(different < area.width() * area.height() / 500, qPrintable(QString::number(different)));
        // And the marks are really there: the icons' own pixels differ from the bare tooth.
        QImage bare(695, 338, QImage::Format_RGB32);
        bare.fill(Qt::white);
        QPainter(&bare).drawImage(
            0, 10, QImage(session().filePath(QStringLiteral("skins/odontograma_permanentes.png"))));
        int marked = 0;
        for (int y = 128; y < 157; ++y)
            for (int x = 120; x < 149; ++x)
                marked += shown.pixel(x, y) != bare.pixel(x, y);
        QVERIFY(marked > 20);
    }

    // Tooth 36's occlusal face: the services with an icon there priced in the plan,
    // each once; Incluir adds the variant at the place with the plan's price, the
    // icon appears and the total follows; Excluir from the icon removes that item.
    void serviceChosenAtToothThirtySix() {
        LoggedIn& app = clinic();
        TfrmConsulta* list = openConsultation(app, 801, 7001);
        qint64 added = 0;
        QVERIFY(withRecord(list, [&](TfrmConsulta_Manut* r) {
            QVERIFY(withSelection(r, "img_Q336", [&](TfrmSelecaoServico* d) {
                QCOMPARE(d->windowTitle(), QStringLiteral("Seleção de Serviço ou Procedimento"));
                const QStringList offered = comboItems(d->DBLookupComboServico);
                QVERIFY(offered.contains(QStringLiteral("Zircônia oclusal")));
                QVERIFY(!offered.contains(QStringLiteral("Sem preço no plano")));
                QCOMPARE(offered.count(QStringLiteral("Restauração em resina composta (por face)")), 1);
                QVERIFY(!offered.contains(QStringLiteral("Extração simples"))); // whole tooth only
                QCOMPARE(d->DBLookupComboServico->currentIndex(), 0);
                d->DBLookupComboServico->setCurrentIndex(offered.indexOf(QStringLiteral("Zircônia oclusal")));
                QCOMPARE(d->SQL_Icone->recordCount(), 2);
                QVERIFY(d->SQL_Icone->locate(QStringLiteral("face_dente"), QStringLiteral("Mesial")));
                QVERIFY(!d->imgIcone->pixmap().isNull());
                QVERIFY(!d->imgDente->pixmap().isNull());
                QCOMPARE(d->imgIcone->pos(), QPoint(44, 39)); // over the generic tooth
                QTest::mouseClick(d->BitBtn1, Qt::LeftButton);
                QVERIFY(!d->isVisible());
            }));
            added = scalar(app, "select max(item_consulta_id) from item_consulta where consulta_id = 7001");
            QVERIFY(icon(r, QStringLiteral("img_Q336%1").arg(added)));
            QCOMPARE(icon(r, QStringLiteral("img_Q336%1").arg(added))->toolTip(),
                     QStringLiteral("Zircônia oclusal .... (Não Conclúido)"));
            QCOMPARE(r->DBEditValorTotal->text(), QStringLiteral("1.029,00"));
        }));
        auto row =
            app.db().query(QStringLiteral("select dente_id, local_dente_id, icone_id, item_consulta_valor, "
                                          "item_consulta_concluido, servico_id from item_consulta "
                                          "where item_consulta_id = %1")
                               .arg(added));
        QVERIFY(row->next());
        QCOMPARE(row->integer(0), 36);
        QCOMPARE(QString::fromUtf8(row->utf8(1)), QStringLiteral("Q3"));
        QCOMPARE(row->integer(2), 4);
        QCOMPARE(row->currency(3), Currency::fromRaw(990000));
        QCOMPARE(QString::fromUtf8(row->utf8(4)), QStringLiteral("N"));
        QCOMPARE(row->integer(5), 9101);
        QCOMPARE(scalar(app, "select consulta_valor from consulta where consulta_id = 7001"), 10290000);

        QVERIFY(withRecord(list, [&](TfrmConsulta_Manut* r) {
            // A free face: Excluir deletes nothing and the dialog stays.
            QVERIFY(withSelection(r, "img_Q337", [&](TfrmSelecaoServico* d) {
                app.s.dialogs.queueConfirmation(true);
                d->BitBtn3Click();
                QVERIFY(d->isVisible());
            }));
            QCOMPARE(r->SQL_ItemConsulta->recordCount(), 8);
            // From the icon: its service and its own variant, then that item alone goes.
            QVERIFY(withSelection(r, QStringLiteral("img_Q336%1").arg(added), [&](TfrmSelecaoServico* d) {
                QCOMPARE(d->DBLookupComboServico->currentText(), QStringLiteral("Zircônia oclusal"));
                QCOMPARE(d->SQL_Icone->fieldByName(QStringLiteral("face_dente"))->asString(),
                         QStringLiteral("Mesial"));
                app.s.dialogs.queueConfirmation(true);
                QTest::mouseClick(d->BitBtn3, Qt::LeftButton);
                QVERIFY(!d->isVisible());
            }));
            QVERIFY(!icon(r, QStringLiteral("img_Q336%1").arg(added)));
            QCOMPARE(r->SQL_ItemConsulta->recordCount(), 7);
        }));
        QCOMPARE(app.s.dialogs.texts(ScriptedDialogs::Kind::Confirmation),
                 (QStringList{"Deseja realmente excluir o serviço?", "Deseja realmente excluir o serviço?"}));
        QCOMPARE(scalar(app, QStringLiteral("select count(*) from item_consulta where item_consulta_id = %1")
                                 .arg(added)),
                 0);
        QCOMPARE(scalar(app, "select count(*) from item_consulta where consulta_id = 7001"), 7);
    }

    // A plan without prices offers nothing; an item that cannot be stored is not left
    // pending in the record.
    void nothingOfferedAndFailedPost() {
        LoggedIn& app = clinic();
        TfrmConsulta* list = openConsultation(app, 802, 7002);
        QVERIFY(withRecord(list, [&](TfrmConsulta_Manut* r) {
            QVERIFY(withSelection(r, "img_Q336", [&](TfrmSelecaoServico* d) {
                QCOMPARE(d->DBLookupComboServico->count(), 0);
                QCOMPARE(d->SQL_Icone->recordCount(), 0);
                d->BitBtn1Click();
                QVERIFY(d->isVisible());
            }));
        }));
        QCOMPARE(app.s.dialogs.texts(ScriptedDialogs::Kind::MessageBox),
                 QStringList{"Não existe serviços a serem incluídos! Selecione outro..."});

        app.db().execute(QStringLiteral("create temp trigger tr_falha before insert on item_consulta "
                                        "begin select raise(abort, 'injected failure'); end"));
        list = openConsultation(app, 801, 7001);
        QVERIFY(withRecord(list, [&](TfrmConsulta_Manut* r) {
            QVERIFY(withSelection(r, "img_Q336", [&](TfrmSelecaoServico* d) {
                QTest::mouseClick(d->BitBtn1, Qt::LeftButton);
                QVERIFY(d->isVisible());
            }));
            QCOMPARE(r->SQL_ItemConsulta->state(), DatasetState::Browse);
            QCOMPARE(r->SQL_ItemConsulta->recordCount(), 7);
            QCOMPARE(icons(r).size(), 5);
        }));
        app.db().execute(QStringLiteral("drop trigger tr_falha"));
        QVERIFY(app.s.dialogs.texts().join(' ').contains(QStringLiteral("injected failure")));
        QCOMPARE(scalar(app, "select count(*) from item_consulta where consulta_id = 7001"), 7);
    }

    // The chart of this consultation and its priced items, printed from a picture
    // drawn for it (nothing is written beside the program).
    void printsTheChartOfThisConsultation() {
        LoggedIn& app = clinic();
        QTemporaryDir out;
        PdfFileReportOutput pdf(out.filePath(QStringLiteral("odontograma.pdf")));
        setReportOutput(&pdf);
        const auto restore = qScopeGuard([] { setReportOutput(nullptr); });
        TfrmConsulta* list = openConsultation(app, 801, 7001);
        QVERIFY(withRecord(list, [&](TfrmConsulta_Manut* r) {
            QVERIFY(!r->btnOdontograma->isHidden());
            QCOMPARE(r->btnOdontograma->toolTip(), QStringLiteral("Imprimir odontograma"));
            r->odontograma->setCurrentIndex(2);
            QTest::mouseClick(r->btnOdontograma, Qt::LeftButton);
            QCOMPARE(r->odontograma->currentIndex(), 0);
        }));
        const QString text = ReportFixture::pdfText(pdf.fileName());
        QVERIFY2(text.contains(QStringLiteral("Maria da Conceição")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Extração simples")));
        QVERIFY(text.contains(QStringLiteral("Restauração em resina composta")));
        QCOMPARE(ReportFixture::pdfImageObjects(pdf.fileName()).size(), 1); // the chart
        QVERIFY(!QFile::exists(session().filePath(QStringLiteral("Odontograma.bmp"))));
    }
};

QTEST_MAIN(TestOdontogram)
#include "tst_odontogram.moc"

#include "U_frmAuditoria.h"
#include "core/CodeTexts.h"
#include "core/DateUtils.h"
#include "core/ErrorTranslator.h"
#include "core/Services.h"
#include "core/ToolkitTexts.h"
#include "core/U_dm.h"
#include "core/WaitCursor.h"
#include "core/db/AuditChain.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"
#include "toolkit/DBDateEdit.h"
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>

using dv::FieldDef;
using dv::ParamType;

namespace {

template <typename W> W* named(W* w, const char* name) {
    w->setObjectName(QLatin1String(name));
    return w;
}

QJsonObject jsonObject(const dv::Field* f) {
    if (!f || f->isNull()) return {};
    return QJsonDocument::fromJson(f->asString().toUtf8()).object();
}

QString shown(const QJsonValue& v) {
    if (v.isUndefined()) return {};
    if (v.isNull()) return QStringLiteral("(nulo)");
    if (v.isString()) return v.toString();
    if (v.isDouble()) return QString::number(v.toDouble(), 'g', 15);
    if (v.isBool()) return v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    return QString::fromUtf8(QJsonDocument(v.toObject()).toJson(QJsonDocument::Compact));
}

} // namespace

TfrmAuditoria::TfrmAuditoria(QWidget* parent)
    : TfrmModelo4(parent, QStringLiteral("frmAuditoria"), QStringLiteral("Trilha de Auditoria")) {
    // Every filter is a parameter: an unused one is switched off by its flag.
    SQL_Consulta->sql() = {QStringLiteral(
        "select a.auditoria_id, a.auditoria_data, a.auditoria_usuario, a.auditoria_estacao, "
        "a.auditoria_tabela, a.auditoria_chave, a.auditoria_acao, a.auditoria_paciente, p.paciente_nome, "
        "a.auditoria_antes, a.auditoria_depois from auditoria a left join paciente p on p.paciente_id = "
        "a.auditoria_paciente where a.auditoria_data >= :dataI and a.auditoria_data <= :dataF and "
        "(:porUsuario = 0 or a.auditoria_usuario = :usuario) and (:porTabela = 0 or a.auditoria_tabela = "
        ":tabela) and (:porId = 0 or a.auditoria_paciente = :pacienteId) and (:porNome = 0 or "
        "p.paciente_nome like :pacienteNome)")};
    for (const FieldDef& def : {
             FieldDef::column("auditoria_data", "Data/Hora", 18).withFormat("dd/mm/yyyy hh:nn:ss"),
             FieldDef::column("auditoria_usuario", "Usuário", 12),
             FieldDef::column("auditoria_estacao", "Estação", 16),
             FieldDef::column("auditoria_tabela", "Tabela", 18),
             FieldDef::column("auditoria_chave", "Chave", 10),
             FieldDef::column("auditoria_acao", "Ação", 5),
             FieldDef::column("auditoria_paciente", "Paciente", 8),
             FieldDef::column("paciente_nome", "Nome do Paciente", 30),
             FieldDef::column("auditoria_id", "Id", 8),
             FieldDef::hidden("auditoria_antes"),
             FieldDef::hidden("auditoria_depois"),
         })
        SQL_Consulta->addField(def);
    setOpeningSort(QStringLiteral("auditoria_id"), false);

    lbDataI = named(new QLabel(QStringLiteral("De:"), this), "lbDataI");
    wwDataI = named(new dv::DBDateEdit(this), "wwDataI");
    lbDataF = named(new QLabel(QStringLiteral("Até:"), this), "lbDataF");
    wwDataF = named(new dv::DBDateEdit(this), "wwDataF");
    lbUsuario = named(new QLabel(QStringLiteral("Usuário:"), this), "lbUsuario");
    cbUsuario = named(new QComboBox(this), "cbUsuario");
    lbTabela = named(new QLabel(QStringLiteral("Tabela:"), this), "lbTabela");
    cbTabela = named(new QComboBox(this), "cbTabela");
    lbPaciente = named(new QLabel(QStringLiteral("Paciente (código ou nome):"), this), "lbPaciente");
    edPaciente = named(new QLineEdit(this), "edPaciente");
    edPaciente->setMaxLength(60);
    btnAplicar = named(new QPushButton(QStringLiteral("Aplicar"), this), "btnAplicar");
    btnVerificar = named(new QPushButton(QStringLiteral("Verificar cadeia"), this), "btnVerificar");
    btnVerificar->setToolTip(QStringLiteral("Confere se nenhum registro da trilha foi alterado ou excluído"));
    for (QComboBox* box : {cbUsuario, cbTabela})
        box->setMinimumContentsLength(12);

    QHBoxLayout* strip = toolStrip();
    for (QWidget* w :
         std::initializer_list<QWidget*>{lbDataI, wwDataI, lbDataF, wwDataF, lbUsuario, cbUsuario, lbTabela,
                                         cbTabela, lbPaciente, edPaciente, btnAplicar})
        strip->addWidget(w);
    strip->addStretch(1);
    strip->addWidget(btnVerificar);
    for (QWidget* w : std::initializer_list<QWidget*>{wwDataI, wwDataF, edPaciente})
        w->installEventFilter(this);
    connect(btnAplicar, &QPushButton::clicked, this, [this] { dv::guarded([this] { btnAplicarClick(); }); });
    connect(btnVerificar, &QPushButton::clicked, this,
            [this] { dv::guarded([this] { btnVerificarClick(); }); });

    gridAlteracoes = named(new QTableWidget(0, 3, this), "gridAlteracoes");
    gridAlteracoes->setHorizontalHeaderLabels(
        {QStringLiteral("Campo"), QStringLiteral("Antes"), QStringLiteral("Depois")});
    gridAlteracoes->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridAlteracoes->verticalHeader()->hide();
    gridAlteracoes->horizontalHeader()->setStretchLastSection(true);
    gridAlteracoes->setColumnWidth(0, 200);
    gridAlteracoes->setColumnWidth(1, 360);
    gridAlteracoes->setMaximumHeight(180);
    addBelowGrid(gridAlteracoes);
    connect(dsConsulta, &dv::DataSource::dataChanged, this, [this](dv::Field* f) {
        if (!f) showChanges();
    });

    // The trail is written by the triggers alone.
    // The toolbar keeps its buttons in place, greyed; the grid's menu drops them.
    for (QToolButton* b : {btnNovo, btnEditar, btnExcluir})
        b->setEnabled(false);
    for (QAction* a : {Novo1, Alterar1, Excluir1}) {
        a->setEnabled(false);
        a->setVisible(false);
    }
}

void TfrmAuditoria::fillChoices() {
    dv::Connection& db = *dm().ADOConexao();
    const std::pair<QComboBox*, QString> lists[] = {
        // Who wrote the trail, users removed since included.
        {cbUsuario,
         QStringLiteral("select distinct auditoria_usuario from auditoria where auditoria_usuario is "
                        "not null order by auditoria_usuario")},
        {cbTabela,
         QStringLiteral("select distinct auditoria_tabela from auditoria order by auditoria_tabela")},
    };
    for (const auto& [box, sql] : lists) {
        const QString kept = box->currentText();
        box->clear();
        box->addItem(QString());
        auto c = db.query(sql);
        while (c->next())
            box->addItem(QString::fromUtf8(c->utf8(0)));
        box->setCurrentIndex(qMax(0, box->findText(kept)));
    }
}

void TfrmAuditoria::setFilters() {
    SQL_Consulta->setParam(QStringLiteral("dataI"), ParamType::DateTime, dv::usDateText(wwDataI->date()));
    // The last day counts whole.
    SQL_Consulta->setParam(QStringLiteral("dataF"), ParamType::DateTime,
                           dv::usDateText(wwDataF->date()) + QStringLiteral(" 23:59:59"));
    const auto choice = [this](const char* flag, const char* name, const QString& value) {
        SQL_Consulta->setParam(QLatin1String(flag), ParamType::Integer, value.isEmpty() ? 0 : 1);
        SQL_Consulta->setParam(QLatin1String(name), ParamType::String, value);
    };
    choice("porUsuario", "usuario", cbUsuario->currentText().trimmed());
    choice("porTabela", "tabela", cbTabela->currentText().trimmed());
    const QString patient = edPaciente->text().trimmed();
    bool isId = false;
    const qint64 id = patient.toLongLong(&isId);
    SQL_Consulta->setParam(QStringLiteral("porId"), ParamType::Integer, isId ? 1 : 0);
    SQL_Consulta->setParam(QStringLiteral("pacienteId"), ParamType::Integer, isId ? id : 0);
    choice("porNome", "pacienteNome",
           isId || patient.isEmpty() ? QString() : QLatin1Char('%') + patient + QLatin1Char('%'));
}

void TfrmAuditoria::FormShow() {
    const QDate today = dv::services().clock().today();
    wwDataI->setDate(today.addDays(-30));
    wwDataF->setDate(today);
    fillChoices();
    SQL_Consulta->close();
    setFilters();
    TfrmModelo4::FormShow();
}

void TfrmAuditoria::btnAplicarClick() {
    for (dv::DBDateEdit* box : {wwDataI, wwDataF}) {
        if (box->date().isValid()) continue;
        dv::services().dialogs().warning(dv::toolkitText(dv::ToolkitText::CalendarInvalidDate));
        box->setFocus();
        return;
    }
    dv::WaitCursor busy;
    {
        dv::ControlsDisabled off(SQL_Consulta);
        SQL_Consulta->close();
        setFilters();
        SQL_Consulta->open();
    }
    showRecordCount();
    showChanges();
}

void TfrmAuditoria::btnVerificarClick() {
    dv::WaitCursor busy;
    const dv::AuditCheck check = dv::checkAuditChain(*dm().ADOConexao());
    if (check.brokenRow == 0) {
        dv::services().dialogs().information(
            dv::text("Trilha íntegra (%1 registros)").arg(check.rowsChecked));
        return;
    }
    if (SQL_Consulta->isActive())
        SQL_Consulta->locate(QStringLiteral("auditoria_id"), QVariant(check.brokenRow));
    const QString why = check.problem == dv::AuditCheck::NotSealed
                            ? dv::text("gravado fora do sistema, sem selo")
                            : dv::text("alterado, ou fora de ordem depois de uma exclusão");
    dv::services().dialogs().warning(
        dv::text("A trilha está quebrada no registro %1: %2.").arg(check.brokenRow).arg(why));
}

void TfrmAuditoria::showChanges() {
    gridAlteracoes->setRowCount(0);
    if (!SQL_Consulta->isActive() || SQL_Consulta->isEmpty()) return;
    const QJsonObject before = jsonObject(SQL_Consulta->findField(QStringLiteral("auditoria_antes")));
    const QJsonObject after = jsonObject(SQL_Consulta->findField(QStringLiteral("auditoria_depois")));
    QStringList columns = before.keys();
    for (const QString& k : after.keys())
        if (!before.contains(k)) columns << k;
    gridAlteracoes->setRowCount(int(columns.size()));
    for (int row = 0; row < columns.size(); ++row) {
        const QString& k = columns[row];
        gridAlteracoes->setItem(row, 0, new QTableWidgetItem(k));
        gridAlteracoes->setItem(row, 1, new QTableWidgetItem(shown(before.value(k))));
        gridAlteracoes->setItem(row, 2, new QTableWidgetItem(shown(after.value(k))));
    }
}

bool TfrmAuditoria::eventFilter(QObject* watched, QEvent* event) {
    // Enter in a filter box applies the filters.
    if ((watched == wwDataI || watched == wwDataF || watched == edPaciente) &&
        event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            dv::guarded([this] { btnAplicarClick(); });
            return true;
        }
    }
    return TfrmModelo4::eventFilter(watched, event);
}

#include "U_frmDentista_Manut.h"
#include "OfficeForms.h"
#include "core/CodeTexts.h"
#include "core/ErrorTranslator.h"
#include "core/Services.h"
#include "core/U_dm.h"
#include "core/db/DbErrors.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBLookupCombo.h"
#include "toolkit/DBNavigator.h"
#include "toolkit/DBRadioGroup.h"
#include "ui_U_frmDentista_Manut.h"
#include "ui_U_frmDentista_Manut_TabSheet2.h"
#include <QPointer>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QTabWidget>

using dv::FieldDef;

TfrmDentista_Manut::TfrmDentista_Manut(QWidget* parent)
    : TfrmCadastro(parent, QStringLiteral("frmDentista_Manut"), QStringLiteral("Manutenção de Dentista")) {
    Ui::frmDentista_Manut dados;
    dados.setupUi(TabSheet1);
    DBEdit2 = dados.DBEdit2;
    DBLookupComboBox1 = dados.DBLookupComboBox1;
    DBLookupComboBox2 = dados.DBLookupComboBox2;
    dv::office::setUfLookup(DBLookupComboBox1);
    DBLookupComboBox2->setLookup(dm().dsEmpresa, QStringLiteral("empresa_id"),
                                 {QStringLiteral("empresa_nome"), QStringLiteral("empresa_id")},
                                 {QStringLiteral("Empresa"), QStringLiteral("id")});
    DBLookupComboBox2->setDisplayWidths({30, 6});

    SQL_Horario = new dv::Dataset(dm().ADOConexao(), QStringLiteral("SQL_Horario"), this);
    SQL_Horario->sql() = {
        QStringLiteral("select * from horario where dentista_id =:dentista_id and dia_id = :dia")};
    SQL_Horario->setParam(QStringLiteral("dentista_id"), dv::ParamType::Integer, QVariant());
    SQL_Horario->setParam(QStringLiteral("dia"), dv::ParamType::Integer, 1);
    SQL_Horario->addField(FieldDef::column("hora_id", "Horario", 21).withMask("##:##;1;_").withTag(1));
    SQL_Horario->addField(FieldDef::hidden("dentista_id"));
    SQL_Horario->addField(FieldDef::hidden("dia_id"));
    SQL_Horario->OnNewRecord = [this](dv::Dataset&) { SQL_HorarioNewRecord(); };
    SQL_Horario->BeforePost = [this](dv::Dataset&) { SQL_HorarioBeforePost(); };
    dsHorario = new dv::DataSource(SQL_Horario, QStringLiteral("dsHorario"), this);

    TabSheet2 = new QWidget;
    PageControl1->addTab(TabSheet2, QString());
    Ui::frmDentista_Manut_TabSheet2 horas;
    horas.setupUi(TabSheet2);
    PageControl1->setTabText(PageControl1->indexOf(TabSheet2), TabSheet2->windowTitle());
    rgDia = horas.rgDia;
    wwDBGrid1 = horas.wwDBGrid1;
    DBNavigator1 = horas.DBNavigator1;
    rgDia->setItemIndex(0);
    wwDBGrid1->setDataSource(dsHorario);
    wwDBGrid1->setEnterMovesToNextColumn(true);
    DBNavigator1->setDataSource(dsHorario);
    DBNavigator1->setVisibleButtons({dv::DBNavigator::Prior, dv::DBNavigator::Next, dv::DBNavigator::Insert,
                                     dv::DBNavigator::Delete, dv::DBNavigator::Edit, dv::DBNavigator::Post,
                                     dv::DBNavigator::Cancel, dv::DBNavigator::Refresh});
    connect(rgDia, &dv::DBRadioGroup::changed, this, [this] { dv::guarded([this] { rgDiaClick(); }); });
    resize(620, 560);
}

// The children go after this screen: none of their signals may reach it then.
TfrmDentista_Manut::~TfrmDentista_Manut() {
    disconnect(rgDia, nullptr, this, nullptr);
    SQL_Horario->OnNewRecord = nullptr;
    SQL_Horario->BeforePost = nullptr;
}

int TfrmDentista_Manut::selectedDay() const {
    return qMax(0, rgDia->itemIndex()) + 1;
}

bool TfrmDentista_Manut::dentistSaved() const {
    dv::Dataset* dentist = editedDataset();
    return dentist && dentist->isActive() && dentist->state() != dv::DatasetState::Insert &&
           !dentist->isEmpty() && !dentist->fieldByName(QStringLiteral("dentista_id"))->isNull();
}

void TfrmDentista_Manut::FormShow() {
    TfrmCadastro::FormShow();
    if (!m_linked && editedDataset()) {
        SQL_Horario->setMasterSource(dsUpdate);
        m_linked = true;
    }
    showHoursPage();
    DBEdit2->setFocus();
}

void TfrmDentista_Manut::showHoursPage() {
    // Hours typed before the dentist has a key would be stored without one.
    const bool saved = dentistSaved();
    PageControl1->setTabVisible(PageControl1->indexOf(TabSheet2), saved);
    if (saved) openHours();
}

void TfrmDentista_Manut::openHours() {
    m_day = selectedDay();
    SQL_Horario->close();
    SQL_Horario->setParam(QStringLiteral("dia"), dv::ParamType::Integer, m_day);
    SQL_Horario->open();
}

void TfrmDentista_Manut::rgDiaClick() {
    if (SQL_Horario->isEditing()) {
        // An hour being typed is saved or given up by the user, never lost in silence.
        if (SQL_Horario->isModified() &&
            dv::services().dialogs().confirmation(dv::text("Gravar o horário digitado?"))) {
            try {
                SQL_Horario->post();
            } catch (...) {
                // Back on the weekday the hour belongs to, without asking again.
                const QSignalBlocker quiet(rgDia);
                rgDia->setItemIndex(m_day - 1);
                throw;
            }
        } else {
            SQL_Horario->cancel();
        }
    }
    if (selectedDay() == m_day && SQL_Horario->isActive()) return;
    if (dentistSaved()) openHours();
}

void TfrmDentista_Manut::SQL_HorarioNewRecord() {
    SQL_Horario->fieldByName(QStringLiteral("dia_id"))->setAsInteger(m_day);
}

void TfrmDentista_Manut::SQL_HorarioBeforePost() {
    dv::Field* hour = SQL_Horario->fieldByName(QStringLiteral("hora_id"));
    const QString text = hour->asString().trimmed();
    static const QRegularExpression valid(QStringLiteral("^([01][0-9]|2[0-3]):[0-5][0-9]$"));
    if (!valid.match(text).hasMatch()) {
        dv::services().dialogs().warning(
            dv::text("Horário inválido: \"%1\". Digite a hora e os minutos, de 00:00 a 23:59.").arg(text));
        throw dv::Abort();
    }
    if (hour->asString() != text) hour->setAsString(text);
    // The dataset holds every hour of this dentist on this weekday.
    for (int row = 0; row < SQL_Horario->recordCount(); ++row) {
        if (row == SQL_Horario->currentRow()) continue;
        if (SQL_Horario->value(row, hour).toString() == text) {
            dv::services().dialogs().warning(
                dv::text("O horário %1 já está cadastrado neste dia da semana.").arg(text));
            throw dv::Abort();
        }
    }
}

void TfrmDentista_Manut::BitBtn1Click() {
    QPointer<TfrmDentista_Manut> self(this);
    TfrmCadastro::BitBtn1Click();
    if (!self) return;
    // Every dentist choice (agenda, consultations) sees the change.
    dv::office::reopenShared(dm().SQL_Dentista);
    if (isVisible() && !PageControl1->isTabVisible(PageControl1->indexOf(TabSheet2))) showHoursPage();
}

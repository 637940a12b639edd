#pragma once
// A small list screen over the patients table, shown under the form name of a real
// list (its permission and registry rows exist), and a maintenance dialog that does
// what the test asks with the current list query.
#include "../shell/AccessFixture.h"
#include "core/db/Dataset.h"
#include "framework/U_frmModelo4.h"
#include <QDialog>
#include <QMenu>
#include <QTimer>
#include <functional>

namespace dv::test {

inline const QString kListForm = QStringLiteral("frmConvenio");

// What the test list screen is made with; reset by every test's fixture.
struct ListScreenConfig {
    QString sql = QStringLiteral("select * from paciente");
    bool withOptions = false;
    bool layoutInIni = false;
    int ownPanels = 0; // status panels of the screen's own
    static ListScreenConfig& get() {
        static ListScreenConfig config;
        return config;
    }
};

class TfrmListaTeste : public TfrmModelo4 {
public:
    explicit TfrmListaTeste(QWidget* parent)
        : TfrmModelo4(parent, kListForm, QStringLiteral("  Lista de Teste ")) {
        const ListScreenConfig& c = ListScreenConfig::get();
        SQL_Consulta->setSql(c.sql);
        SQL_Consulta->addField(
            {.name = QStringLiteral("paciente_nome"), .displayLabel = QStringLiteral("Nome")});
        SQL_Consulta->addField(
            {.name = QStringLiteral("paciente_cpf"), .displayLabel = QStringLiteral("CPF")});
        SQL_Consulta->addField({.name = QStringLiteral("paciente_data_nascimento"),
                                .displayLabel = QStringLiteral("Nascimento")});
        SQL_Consulta->addField({.name = QStringLiteral("paciente_num_dependentes"),
                                .displayLabel = QStringLiteral("Dependentes")});
        SQL_Consulta->addField({.name = QStringLiteral("convenio_nome"),
                                .displayLabel = QStringLiteral("Convênio"),
                                .kind = FieldKind::Lookup,
                                .lookupDataset = dm().SQL_Convenio,
                                .keyFields = QStringLiteral("convenio_id"),
                                .lookupKeyFields = QStringLiteral("convenio_id"),
                                .lookupResultField = QStringLiteral("convenio_nome")});
        SQL_Consulta->addField(
            {.name = QStringLiteral("paciente_anotacao"), .displayLabel = QStringLiteral("Anotação")});
        for (int i = 0; i < c.ownPanels; ++i)
            addStatusPanel(QStringLiteral("pnlProprio%1").arg(i + 1), i == c.ownPanels - 1 ? 0 : 100);
        if (c.withOptions) {
            auto* option = PopupOpcoes->addAction(QStringLiteral("Etiquetas"));
            option->setObjectName(QStringLiteral("Etiquetas1"));
        }
    }

protected:
    bool layoutInIniFile() const override { return ListScreenConfig::get().layoutInIni; }
};

// The maintenance screen: records how it found the list query, runs the test's
// action on it, and closes.
struct ManutLog {
    int opened = 0;
    bool gotListQuery = false;
    DatasetState state = DatasetState::Inactive;
    std::function<void(Dataset&)> action;
    static ManutLog& get() {
        static ManutLog log;
        return log;
    }
};

class TestManutDialog : public QDialog {
public:
    explicit TestManutDialog(QWidget* parent) : QDialog(parent) {
        setObjectName(kListForm + QStringLiteral("_Manut"));
    }

protected:
    void showEvent(QShowEvent* e) override {
        QDialog::showEvent(e);
        QTimer::singleShot(0, this, [this] {
            ManutLog& log = ManutLog::get();
            Dataset* q = screenContext().editedRecord();
            ++log.opened;
            log.gotListQuery = q && q->objectName() == QLatin1String("SQL_Consulta");
            log.state = q ? q->state() : DatasetState::Inactive;
            if (q && log.action) log.action(*q);
            accept();
        });
    }
};

inline ScreenRegistration listTestScreens() {
    return [](ScreenRegistry& r) {
        r.setFactory(kListForm, [](QWidget* p) { return new TfrmListaTeste(p); });
        r.setFactory(kListForm + QStringLiteral("_Manut"), [](QWidget* p) { return new TestManutDialog(p); });
    };
}

// Four patients (two plans), inserted before start-up.
inline QStringList listTestRows() {
    return {
        QStringLiteral("INSERT INTO convenio (convenio_id, convenio_nome) VALUES (2, 'Bradesco')"),
        QStringLiteral(
            "INSERT INTO paciente (paciente_id, paciente_nome, paciente_cpf, paciente_data_nascimento, "
            "paciente_num_dependentes, convenio_id, paciente_email, paciente_anotacao) VALUES "
            "(1, 'Carlos Souza', '111.111.111-11', '1980-05-02 00:00:00', 2, 1, 'carlos@ex.com', "
            "'alérgico'), "
            "(2, 'Ana Lima', '333.333.333-33', '1975-11-20 00:00:00', 0, 2, NULL, NULL), "
            "(3, 'Beatriz Melo', '222.222.222-22', '1990-01-15 00:00:00', 1, 1, NULL, NULL), "
            "(4, 'Álvaro Dias', '444.444.444-44', '1968-07-30 00:00:00', 3, 2, NULL, 'usa \"aparelho\"')"),
    };
}

} // namespace dv::test

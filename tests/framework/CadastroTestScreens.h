#pragma once
// A small contact maintenance screen on the maintenance base, opened under the real
// form name frmContato_Manut, and the contact list query it edits.
#include "core/ComponentTag.h"
#include "core/Session.h"
#include "core/U_dm.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"
#include "framework/U_frmCadastro.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBNavigator.h"
#include <QEvent>
#include <QFormLayout>
#include <QTabWidget>
#include <QVBoxLayout>

namespace dv::test {

class TfrmTesteContato_Manut : public TfrmCadastro {
public:
    explicit TfrmTesteContato_Manut(QWidget* parent)
        : TfrmCadastro(parent, QStringLiteral("frmContato_Manut"), QStringLiteral("Cadastro de Contato")) {
        auto* dados = new QFormLayout(TabSheet1);
        edtId = box(TabSheet1, dados, "DBEdit1", "Código", "contato_id");
        edtNome = box(TabSheet1, dados, "DBEdit2", "Nome", "contato_nome");
        edtCpf = box(TabSheet1, dados, "DBEdit3", "CPF", "contato_cpf");
        edtCep = box(TabSheet1, dados, "DBEdit4", "CEP", "contato_cep");
        edtFone = box(TabSheet1, dados, "DBEdit5", "Fone", "contato_fone");
        edtCelular = box(TabSheet1, dados, "DBEdit6", "Celular", "contato_celular");
        edtEmail = box(TabSheet1, dados, "DBEdit7", "E-mail", "contato_email");
        setComponentTag(edtEmail, 1); // kept as typed
        edtSite = box(TabSheet1, dados, "DBEdit8", "Site", "contato_site");
        edtSite->setReadOnly(true);

        TabSheet2 = new QWidget;
        TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
        PageControl1->addTab(TabSheet2, QStringLiteral("Endereço"));
        auto* page2 = new QVBoxLayout(TabSheet2);
        auto* endereco = new QFormLayout;
        page2->addLayout(endereco);
        // Tagged: the first box of a page would otherwise be taken for a key box.
        edtEndereco = box(TabSheet2, endereco, "DBEdit11", "Endereço", "contato_endereco");
        setComponentTag(edtEndereco, 1);
        edtBairro = box(TabSheet2, endereco, "DBEdit9", "Bairro", "contato_bairro");
        edtCidade = box(TabSheet2, endereco, "DBEdit10", "Cidade", "contato_cidade");
        edtCidade->installEventFilter(this); // the screen's own focus handler

        dsUF = new DataSource(dm().SQL_UF, QStringLiteral("dsUF"), this);
        grid = new DBGrid(TabSheet2);
        grid->setObjectName(QStringLiteral("wwDBGrid1"));
        grid->setDataSource(dsUF);
        page2->addWidget(grid);
        navigator = new DBNavigator(TabSheet2);
        navigator->setObjectName(QStringLiteral("DBNavigator1"));
        navigator->setDataSource(dsUpdate);
        page2->addWidget(navigator);

        BitBtn4->show();
        resize(560, 420);
    }

    DBEdit *edtId, *edtNome, *edtCpf, *edtCep, *edtFone, *edtCelular, *edtEmail, *edtSite, *edtEndereco,
        *edtBairro, *edtCidade;
    QWidget* TabSheet2;
    DataSource* dsUF;
    DBGrid* grid;
    DBNavigator* navigator;
    int ownFocusIns = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == edtCidade && event->type() == QEvent::FocusIn) ++ownFocusIns;
        return TfrmCadastro::eventFilter(watched, event);
    }

private:
    DBEdit* box(QWidget* page, QFormLayout* form, const char* name, const char* label, const char* field) {
        auto* e = new DBEdit(page);
        e->setObjectName(QLatin1String(name));
        e->bind(dsUpdate, QLatin1String(field));
        form->addRow(QString::fromUtf8(label), e);
        return e;
    }
};

// The contact list's query as a list screen holds it: field 0 labelled "ID" (so the
// first activation goes to the name), the neighbourhood required, the mobile phone's
// field tagged.
class ContactQuery {
public:
    ContactQuery() : q(dm().ADOConexao(), QStringLiteral("SQL_Consulta")) {
        q.setSql(QStringLiteral("select * from contato"));
        auto add = [this](const char* name, const char* label, bool required = false) {
            FieldDef def;
            def.name = QLatin1String(name);
            def.displayLabel = QString::fromUtf8(label);
            def.required = required;
            return q.addField(def);
        };
        add("contato_id", "ID");
        add("contato_nome", "Nome");
        add("contato_cpf", "CPF");
        add("contato_cep", "CEP");
        add("contato_fone", "Fone");
        add("contato_celular", "Celular")->setTag(1);
        add("contato_email", "E-mail");
        add("contato_site", "Site");
        add("contato_bairro", "Bairro", true);
        add("contato_cidade", "Cidade");
        q.open();
        screenContext().setEditedRecord(&q);
    }
    ~ContactQuery() {
        if (screenContext().editedRecord() == &q) screenContext().setEditedRecord(nullptr);
    }
    Dataset q;
};

} // namespace dv::test

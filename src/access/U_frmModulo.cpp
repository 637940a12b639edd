#include "U_frmModulo.h"
#include "core/ErrorTranslator.h"
#include "core/U_dm.h"
#include "core/db/Dataset.h"
#include "framework/ScreenContext.h"
#include "toolkit/DBGrid.h"
#include <QAction>
#include <QMenu>

using dv::FieldDef;

TfrmModulo::TfrmModulo(QWidget* parent)
    : TfrmModelo4(parent, QStringLiteral("frmModulo"), QStringLiteral("Módulos do Sistema")) {
    SQL_Consulta->sql() = {QStringLiteral("select * from formulario order by form_nome")};
    SQL_Consulta->addField(
        FieldDef::column(QStringLiteral("form_nome"), QStringLiteral("Nome"), 23).withSize(50));
    SQL_Consulta->addField(
        FieldDef::column(QStringLiteral("form_descricao"), QStringLiteral("Descrição"), 45).withSize(100));
    SQL_Consulta->addField(FieldDef::column(QStringLiteral("form_ativo"), QStringLiteral("Ativo"), 4));
    SQL_Consulta->addField(
        FieldDef::column(QStringLiteral("form_tipo"), QStringLiteral("Tipo"), 4).withSize(1));
    SQL_Consulta->addField(FieldDef::column(QStringLiteral("form_tag"), QStringLiteral("Tag"), 5));
    SQL_Consulta->addField(FieldDef::column(QStringLiteral("form_classe"), QStringLiteral("Classe"), 25)
                               .withSize(51)
                               .asReadOnly());
    wwDBGrid1->setCheckBoxField(QStringLiteral("form_ativo"));

    MenudoSistema1 = PopupOpcoes->addAction(QStringLiteral("Menu do Sistema"));
    MenudoSistema1->setObjectName(QStringLiteral("MenudoSistema1"));
    connect(MenudoSistema1, &QAction::triggered, this,
            [this] { dv::guarded([&] { MenudoSistema1Click(); }); });

    SQL_Consulta->OnNewRecord = [this](dv::Dataset&) { SQL_ConsultaNewRecord(); };
    SQL_Consulta->AfterPost = [this](dv::Dataset&) { SQL_ConsultaAfterPost(); };
    // A module deleted is gone from the shared registry as well.
    SQL_Consulta->AfterDelete = [this](dv::Dataset&) { SQL_ConsultaAfterPost(); };
}

void TfrmModulo::MenudoSistema1Click() {
    dv::screenContext().openScreen(QStringLiteral("frmModulo_Menu_Manut"));
}

void TfrmModulo::SQL_ConsultaNewRecord() {
    SQL_Consulta->fieldByName(QStringLiteral("form_ativo"))->setAsString(QStringLiteral("S"));
}

void TfrmModulo::SQL_ConsultaAfterPost() {
    dm().SQL_Formulario->close();
    dm().SQL_Formulario->open();
}

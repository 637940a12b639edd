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
    SQL_Consulta->addField(FieldDef{.name = QStringLiteral("form_nome"),
                                    .displayLabel = QStringLiteral("Nome"),
                                    .size = 50,
                                    .displayWidth = 23});
    SQL_Consulta->addField(FieldDef{.name = QStringLiteral("form_descricao"),
                                    .displayLabel = QStringLiteral("Descrição"),
                                    .size = 100,
                                    .displayWidth = 45});
    SQL_Consulta->addField(FieldDef{
        .name = QStringLiteral("form_ativo"), .displayLabel = QStringLiteral("Ativo"), .displayWidth = 4});
    SQL_Consulta->addField(FieldDef{.name = QStringLiteral("form_tipo"),
                                    .displayLabel = QStringLiteral("Tipo"),
                                    .size = 1,
                                    .displayWidth = 4});
    SQL_Consulta->addField(FieldDef{
        .name = QStringLiteral("form_tag"), .displayLabel = QStringLiteral("Tag"), .displayWidth = 5});
    SQL_Consulta->addField(FieldDef{.name = QStringLiteral("form_classe"),
                                    .displayLabel = QStringLiteral("Classe"),
                                    .size = 51,
                                    .displayWidth = 25,
                                    .readOnly = true});
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

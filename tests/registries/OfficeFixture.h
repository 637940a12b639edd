#pragma once
// The application with the office registries (and the clinical screens, whose
// dentist choices follow the dentists saved here).
#include "../shell/AccessFixture.h"
#include "clinical/ClinicalScreens.h"
#include "registries/OfficeScreens.h"
#include "registries/U_frmContato.h"
#include "registries/U_frmContato_Manut.h"
#include "registries/U_frmDentista.h"
#include "registries/U_frmDentista_Manut.h"
#include "registries/U_frmEmpresa.h"
#include "registries/U_frmEmpresa_Manut.h"
#include "registries/U_frmEstoque.h"
#include "registries/U_frmEstoque_Manut.h"

namespace dv::test {

class OfficeApp {
public:
    OfficeApp()
        : app(sharedApp(QStringLiteral("office"), [] {
              LoggedIn::Options o;
              o.screens = [](ScreenRegistry& r) {
                  registerOfficeScreens(r);
                  registerClinicalScreens(r);
              };
              return o;
          })) {}

    LoggedIn& app;
    ScriptedDialogs& dialogs() { return app.s.dialogs; }

    // Opens a list screen through the opener.
    template <class List> List* openList(const QString& formName) {
        app.opener().open(formName);
        return qobject_cast<List*>(app.opener().openScreen(formName));
    }
    qint64 insert(const QString& sql, const QString& key = QString()) {
        return key.isEmpty() ? app.db().execute(sql) : app.db().insert(sql, {}, key);
    }
    QVariant value(const QString& sql) { return scalar(app.db(), sql); }

    // Works on the maintenance screen that "Novo" (key 0) or "Alterar" on the row with
    // the key (the current row when no key field is named) opens from the list;
    // closes it afterwards.
    template <class Manut, class List>
    static bool withRecord(List* list, const QString& keyField, qint64 key,
                           const std::function<void(Manut*)>& work) {
        return inModal<Manut>(
            [&] {
                if (key == 0) {
                    list->btnNovoClick();
                } else if (keyField.isEmpty() || list->SQL_Consulta->locate(keyField, key)) {
                    list->btnEditarClick();
                }
            },
            work);
    }
};

} // namespace dv::test

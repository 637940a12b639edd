#pragma once
#include "framework/U_frmModelo4.h"

class QAction;

// The registry of screens (Formulario), a developer screen. Its options open the
// maintenance of the system menu; every post refreshes the shared registry, so the
// opener, the window list and the permission editor see the change at once.
class TfrmModulo : public TfrmModelo4 {
    Q_OBJECT
public:
    explicit TfrmModulo(QWidget* parent = nullptr);

    QAction* MenudoSistema1;

    void MenudoSistema1Click();
    void SQL_ConsultaNewRecord();
    void SQL_ConsultaAfterPost();
};

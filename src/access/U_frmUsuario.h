#pragma once
#include "framework/U_frmModelo4.h"

// The user list: name, login, group (looked up among the active groups), e-mail and
// the active flag. Its column layout lives in the ini file beside the executable.
class TfrmUsuario : public TfrmModelo4 {
    Q_OBJECT
public:
    explicit TfrmUsuario(QWidget* parent = nullptr);

    void SQL_ConsultaNewRecord();

protected:
    bool layoutInIniFile() const override { return true; }
};

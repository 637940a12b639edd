#pragma once
#include "framework/U_frmModelo4.h"

// The odontogram's icons: the small pictures that draw a service on a tooth, a
// face or a prosthesis place. Kept by the people who set the system up.
class TfrmIcone : public TfrmModelo4 {
    Q_OBJECT
public:
    explicit TfrmIcone(QWidget* parent = nullptr);

    void FormClose() override;
};

#pragma once
#include "framework/U_frmModelo4.h"

// The clinic's company rows: they come with the database and are only changed.
class TfrmEmpresa : public TfrmModelo4 {
    Q_OBJECT
public:
    explicit TfrmEmpresa(QWidget* parent = nullptr);

    void FormShow() override;
};

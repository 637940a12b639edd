#pragma once
#include "framework/U_frmModelo4.h"

// Every dentist, active or not; the maintenance screen keeps the weekday hours.
class TfrmDentista : public TfrmModelo4 {
    Q_OBJECT
public:
    explicit TfrmDentista(QWidget* parent = nullptr);

    void SQL_ConsultaNewRecord();
};

#pragma once
#include "framework/U_frmModelo4.h"

// The clinic's document texts (prescriptions, certificates, declarations, the treatment
// contract) that the documents pages fill in; kept by the administrator.
class TfrmDocumentoModelo : public TfrmModelo4 {
    Q_OBJECT
public:
    explicit TfrmDocumentoModelo(QWidget* parent = nullptr);
};

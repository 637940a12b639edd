#pragma once
#include "framework/U_frmModelo4.h"

// Suppliers and the other people and firms the clinic deals with.
class TfrmContato : public TfrmModelo4 {
    Q_OBJECT
public:
    explicit TfrmContato(QWidget* parent = nullptr);
    ~TfrmContato() override;

    void SQL_ConsultaNewRecord();
};

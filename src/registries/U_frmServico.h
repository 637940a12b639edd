#pragma once
#include "framework/U_frmModelo4.h"

// The treatments the clinic performs, with their odontogram drawing and their
// price under each plan (kept in the record).
class TfrmServico : public TfrmModelo4 {
    Q_OBJECT
public:
    explicit TfrmServico(QWidget* parent = nullptr);
    ~TfrmServico() override;

    void SQL_ConsultaNewRecord();
    // A service charted in consultations stays: its items would lose their name.
    void btnExcluirClick() override;
};

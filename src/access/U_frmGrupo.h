#pragma once
#include "framework/U_frmModelo4.h"

// The group list. The administrator group (grupo_id 1) cannot be deleted outside
// developer mode; every post refreshes the shared list of active groups.
class TfrmGrupo : public TfrmModelo4 {
    Q_OBJECT
public:
    explicit TfrmGrupo(QWidget* parent = nullptr);

    void btnExcluirClick() override;
    void SQL_ConsultaNewRecord();
    void SQL_ConsultaAfterPost();
};

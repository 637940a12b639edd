#pragma once
#include "framework/U_frmModeloSelecao.h"

// A period dialog over the consultations' installments: "Imprimir" selects the period's
// rows and opens the report picker, and the dialog stays open so that several periods
// can be printed in turn.
class TfrmSelecaoParcelas : public TfrmModeloSelecao {
    Q_OBJECT
public:
    // `condition` and `order` follow the shared select list; `connection` is the name
    // the reports read the rows by.
    TfrmSelecaoParcelas(QWidget* parent, const QString& formName, const QString& caption,
                        const QString& condition, const QString& order, const QString& connection);
    ~TfrmSelecaoParcelas() override;

    void BitBtn4Click() override;
};

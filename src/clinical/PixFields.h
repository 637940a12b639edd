#pragma once
#include <QString>

namespace dv {
class Dataset;
}

// Gives a closed dataset of installments calculated fields for the printed Pix charge:
// "pix_copia_cola" (the BR Code text), "pix_qr" (its QR code as PNG) and "pix_instrucao"
// (how to pay), for the row's `amountColumn` to the clinic's key on the company record,
// with "PARC" and the row's `idColumn` as reference. They stay empty when the clinic has
// no valid key or nothing is left to pay, so a slip never invites a payment nobody can make.
void addPixFields(dv::Dataset* installments, const QString& amountColumn, const QString& idColumn);

#include "PixFields.h"
#include "core/PixPayload.h"
#include "core/QrCode.h"
#include "core/U_dm.h"
#include "core/db/Dataset.h"
#include "core/db/FieldDef.h"

namespace {

// The company row's text, or `fallback` when the column is empty or absent.
QString companyText(const char* column, const char* fallback = nullptr) {
    dv::Dataset* company = dm().SQL_Empresa;
    if (!company || !company->isActive() || company->isEmpty()) return {};
    const dv::Field* f = company->findField(QLatin1String(column));
    QString text = f ? f->asString().trimmed() : QString();
    if (text.isEmpty() && fallback) return companyText(fallback);
    return text;
}

} // namespace

void addPixFields(dv::Dataset* installments, const QString& amountColumn, const QString& idColumn) {
    installments->addField(
        dv::FieldDef::calculated(QStringLiteral("pix_copia_cola"), QStringLiteral("Pix"), 60));
    installments->addField(dv::FieldDef::calculated(QStringLiteral("pix_qr"), QStringLiteral("QR Pix"), 10,
                                                    dv::FieldType::Blob));
    installments->addField(
        dv::FieldDef::calculated(QStringLiteral("pix_instrucao"), QStringLiteral("Instrução Pix"), 60));
    installments->OnCalcFields = [amountColumn, idColumn](dv::Dataset& d) {
        const dv::Field* amount = d.fieldByName(amountColumn);
        if (amount->isNull() || amount->asCurrency() <= dv::Currency()) return;
        dv::pix::Charge charge;
        charge.key = companyText("empresa_pix_chave");
        charge.name = companyText("empresa_pix_nome", "empresa_nome");
        charge.city = companyText("empresa_pix_cidade", "empresa_cidade");
        charge.amount = amount->asCurrency();
        charge.reference = QStringLiteral("PARC") + d.fieldByName(idColumn)->asString();
        const QString text = dv::pix::payload(charge);
        if (text.isEmpty()) return;
        d.fieldByName(QStringLiteral("pix_copia_cola"))->setAsString(text);
        d.fieldByName(QStringLiteral("pix_qr"))->setBytes(dv::qrPng(text));
        d.fieldByName(QStringLiteral("pix_instrucao"))
            ->setAsString(QStringLiteral("Pague com Pix: abra o aplicativo do seu banco e leia o QR Code ou "
                                         "use o código copia e cola impresso abaixo."));
    };
}

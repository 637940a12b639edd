#include "U_frmEmpresa_Manut.h"
#include "OfficeForms.h"
#include "core/CodeTexts.h"
#include "core/ErrorTranslator.h"
#include "core/FileDialogService.h"
#include "core/PixPayload.h"
#include "core/Services.h"
#include "core/U_dm.h"
#include "core/db/Dataset.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBImage.h"
#include "toolkit/DBLookupCombo.h"
#include "ui_U_frmEmpresa_Manut.h"
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QPointer>

TfrmEmpresa_Manut::TfrmEmpresa_Manut(QWidget* parent)
    : TfrmCadastro(parent, QStringLiteral("frmEmpresa_Manut"), QStringLiteral("Manutenção de Empresa")) {
    Ui::frmEmpresa_Manut dados;
    dados.setupUi(TabSheet1);
    DBEdit2 = dados.DBEdit2;
    DBLookupComboBox1 = dados.DBLookupComboBox1;
    DBImage1 = dados.DBImage1;
    DBEditPixChave = dados.DBEditPixChave;
    dv::office::setUfLookup(DBLookupComboBox1);
    DBImage1->setCenter(true);
    DBImage1->setProportional(true);
    DBImage1->setCursor(Qt::PointingHandCursor);
    DBImage1->installEventFilter(this);
    resize(600, 680);
}

void TfrmEmpresa_Manut::FormShow() {
    TfrmCadastro::FormShow();
    DBEdit2->setFocus();
}

bool TfrmEmpresa_Manut::eventFilter(QObject* watched, QEvent* event) {
    if (watched == DBImage1 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        dv::guarded([this] { DBImage1Click(); });
    return TfrmCadastro::eventFilter(watched, event);
}

void TfrmEmpresa_Manut::DBImage1Click() {
    dv::Dataset* company = editedDataset();
    if (!company || !company->isActive() || company->isEmpty()) return;
    dv::FileDialogRequest request;
    request.filter = dv::text("Bitmaps (*.bmp)|*.bmp");
    const QString file = dv::services().fileDialogs().openFile(request);
    if (file.isEmpty()) return;
    const QString shown = QDir::toNativeSeparators(file);
    QFile f(file);
    QByteArray bytes;
    if (f.open(QIODevice::ReadOnly)) bytes = f.readAll();
    // Checked before anything changes: a bad file leaves the stored logo as it was.
    if (bytes.isEmpty() || QImage::fromData(bytes, "BMP").isNull()) {
        dv::services().dialogs().warning(
            dv::text("O arquivo \"%1\" não é um bitmap válido. O logo não foi alterado.").arg(shown));
        return;
    }
    if (!company->isEditing()) company->edit();
    company->fieldByName(QStringLiteral("empresa_logo"))->setBytes(bytes);
    DBImage1->update();
}

void TfrmEmpresa_Manut::BitBtn1Click() {
    checkBeforePost(); // the key being typed reaches its field first
    if (!pixKeyAccepted()) return;
    QPointer<TfrmEmpresa_Manut> self(this);
    TfrmCadastro::BitBtn1Click();
    if (!self) return;
    dv::office::reopenShared(dm().SQL_Empresa);
}

// A key the banks would refuse would print QR codes nobody can pay: it is refused here,
// and a valid one is stored as the banks write it.
bool TfrmEmpresa_Manut::pixKeyAccepted() {
    dv::Dataset* company = editedDataset();
    if (!company || !company->isActive() || !company->isEditing()) return true;
    dv::Field* key = company->findField(QStringLiteral("empresa_pix_chave"));
    if (!key || key->asString().trimmed().isEmpty()) return true;
    const QString normalized = dv::pix::normalizedKey(key->asString());
    if (normalized.isEmpty()) {
        dv::services().dialogs().warning(
            dv::text("A chave Pix \"%1\" não é válida. Use CPF, CNPJ, e-mail, celular com +55 ou a chave "
                     "aleatória do banco.")
                .arg(key->asString().trimmed()));
        DBEditPixChave->setFocus();
        return false;
    }
    if (normalized != key->asString()) key->setAsString(normalized);
    return true;
}

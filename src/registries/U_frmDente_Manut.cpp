#include "U_frmDente_Manut.h"
#include "core/CodeTexts.h"
#include "core/ErrorTranslator.h"
#include "core/Services.h"
#include "core/db/Dataset.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBImage.h"
#include "toolkit/PictureFile.h"
#include "ui_U_frmDente_Manut.h"
#include <QEvent>

TfrmDente_Manut::TfrmDente_Manut(QWidget* parent)
    : TfrmCadastro(parent, QStringLiteral("frmDente_Manut"), QStringLiteral("Dente Manutenção")) {
    Ui::frmDente_Manut ui;
    ui.setupUi(TabSheet1);
    DBEdit1 = ui.DBEdit1;
    DBEdit2 = ui.DBEdit2;
    Panel1 = ui.Panel1;
    ImagePng = ui.ImagePng;
    ImagePng->installEventFilter(this);
    resize(520, 340);
}

void TfrmDente_Manut::FormShow() {
    TfrmCadastro::FormShow();
    showStoredPicture();
}

bool TfrmDente_Manut::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ImagePng && event->type() == QEvent::MouseButtonDblClick) {
        dv::guarded([this] { ImagePngDblClick(); });
        return true;
    }
    return TfrmCadastro::eventFilter(watched, event);
}

void TfrmDente_Manut::showStoredPicture() {
    dv::Dataset* tooth = editedDataset();
    if (!tooth || !tooth->isActive() || tooth->isEmpty()) return;
    dv::Field* img = tooth->fieldByName(QStringLiteral("dente_img"));
    if (img->isNull()) return;
    ImagePng->setPictureData(img->asBytes());
}

void TfrmDente_Manut::ImagePngDblClick() {
    dv::Dataset* tooth = editedDataset();
    if (!tooth) return;
    // The picture is saved at once, with the row: the number must be there first,
    // or the database would invent one.
    if (tooth->isEditing()) checkBeforePost();
    dv::FileDialogRequest request;
    request.filter = dv::text("PNG Imagem (*.png)|*.png");
    const QString file = dv::services().fileDialogs().openFile(request);
    if (file.isEmpty()) return;
    QString message;
    const auto png = dv::readPictureFile(file, {QByteArrayLiteral("png")}, &message);
    if (!png) {
        dv::services().dialogs().warning(message);
        return;
    }
    if (!tooth->isEditing()) tooth->edit();
    tooth->fieldByName(QStringLiteral("dente_img"))->setBytes(*png);
    tooth->post();
    showStoredPicture();
}

#include "U_frmIcone_Manut.h"
#include "core/CodeTexts.h"
#include "core/ErrorTranslator.h"
#include "core/Services.h"
#include "core/db/Dataset.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBImage.h"
#include "toolkit/PictureFile.h"
#include "ui_U_frmIcone_Manut.h"
#include <QEvent>

namespace {

// The name without its folder, whichever separator the path uses.
QString fileNameOnly(const QString& path) {
    return path.mid(qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\'))) + 1);
}

} // namespace

TfrmIcone_Manut::TfrmIcone_Manut(QWidget* parent)
    : TfrmCadastro(parent, QStringLiteral("frmIcone_Manut"), QStringLiteral("Icone Manutenção")) {
    Ui::frmIcone_Manut ui;
    ui.setupUi(TabSheet1);
    DBEdit1 = ui.DBEdit1;
    DBEdit2 = ui.DBEdit2;
    DBEdit3 = ui.DBEdit3;
    Panel1 = ui.Panel1;
    DBImage1 = ui.DBImage1;
    DBImage1->installEventFilter(this);
    resize(560, 320);
}

bool TfrmIcone_Manut::eventFilter(QObject* watched, QEvent* event) {
    if (watched == DBImage1 && event->type() == QEvent::MouseButtonDblClick) {
        dv::guarded([this] { DBImage1DblClick(); });
        return true;
    }
    return TfrmCadastro::eventFilter(watched, event);
}

void TfrmIcone_Manut::DBImage1DblClick() {
    dv::Dataset* icon = editedDataset();
    if (!icon) return;
    dv::FileDialogRequest request;
    request.filter = dv::text("BMP Imagem (*.bmp)|*.bmp|PNG Imagem|*.png");
    const QString file = dv::services().fileDialogs().openFile(request);
    if (file.isEmpty()) return;
    // Read and checked before the row is touched: a bad file changes nothing.
    QString message;
    const auto bytes =
        dv::readPictureFile(file, {QByteArrayLiteral("bmp"), QByteArrayLiteral("png")}, &message);
    if (!bytes) {
        dv::services().dialogs().warning(message);
        return;
    }
    if (!icon->isEditing()) icon->edit();
    // Written with the row by "Salvar"; "Fechar" drops it with the rest.
    icon->fieldByName(QStringLiteral("icone_img"))->setBytes(*bytes);
    icon->fieldByName(QStringLiteral("icone_arquivo"))->setAsString(fileNameOnly(file));
}

#include "ScreenContext.h"
#include "core/CodeTexts.h"
#include "core/U_dm.h"
#include "core/db/DbErrors.h"
#include <QWidget>

namespace dv {

bool ScreenContext::openScreen(const QString& formName, const ScreenArgs&) {
    throw PlainError(dv::text("Não há como abrir a tela %1 aqui.").arg(formName));
}

QWidget* ScreenContext::openList(const QString&) const {
    return nullptr;
}

void ScreenContext::setHeaderCaption(const QString&) {}

void ScreenContext::setProgress(int, int) {}

QWidget* ScreenContext::mainWindow() const {
    return nullptr;
}

bool ScreenContext::hostsScreen(const QWidget*) const {
    return false;
}

Dataset* ScreenContext::permissionRow() const {
    return dmExists() ? dm().SQL_GrupoPermissao : nullptr;
}

namespace {
ScreenContext*& installed() {
    static ScreenContext* context = nullptr;
    return context;
}
} // namespace

ScreenContext& screenContext() {
    static ScreenContext fallback;
    return installed() ? *installed() : fallback;
}

void setScreenContext(ScreenContext* context) {
    installed() = context;
}

void centreOnMainWindow(QWidget* window) {
    QWidget* main = screenContext().mainWindow();
    if (!main || !main->isVisible() || !window) return;
    QRect r = window->frameGeometry();
    r.moveCenter(main->frameGeometry().center());
    window->move(r.topLeft());
}

} // namespace dv

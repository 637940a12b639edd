#include "QtDialogService.h"
#include "Localization.h"
#include <QApplication>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace dv {

namespace {
// The system separates lines with a lone '\r', which a label would not break on.
QString displayed(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QWidget* dialogParent() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return QApplication::activeWindow();
}

void showOk(QMessageBox::Icon icon, const QString& caption, const QString& text) {
    QMessageBox box(icon, caption, displayed(text), QMessageBox::NoButton, dialogParent());
    box.addButton(dialogTexts().ok, QMessageBox::AcceptRole);
    box.exec();
}
} // namespace

void QtDialogService::information(const QString& text) {
    showOk(QMessageBox::Information, dialogTexts().informationCaption, text);
}

void QtDialogService::warning(const QString& text) {
    showOk(QMessageBox::Warning, dialogTexts().warningCaption, text);
}

void QtDialogService::error(const QString& text) {
    showOk(QMessageBox::Critical, dialogTexts().errorCaption, text);
}

bool QtDialogService::confirmation(const QString& text) {
    const DialogTexts& t = dialogTexts();
    QMessageBox box(QMessageBox::Question, t.confirmationCaption, displayed(text), QMessageBox::NoButton,
                    dialogParent());
    QPushButton* yes = box.addButton(t.yes, QMessageBox::YesRole);
    QPushButton* no = box.addButton(t.no, QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

DialogService::Answer QtDialogService::question(const QString& text) {
    const DialogTexts& t = dialogTexts();
    QMessageBox box(QMessageBox::Question, t.confirmationCaption, displayed(text), QMessageBox::NoButton,
                    dialogParent());
    QPushButton* yes = box.addButton(t.yes, QMessageBox::YesRole);
    QPushButton* no = box.addButton(t.no, QMessageBox::NoRole);
    QPushButton* cancel = box.addButton(t.cancel, QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == yes) return Answer::Yes;
    if (box.clickedButton() == no) return Answer::No;
    return Answer::Cancel;
}

void QtDialogService::messageBox(const QString& text, const QString& caption) {
    QString title = caption;
    if (title.isEmpty()) title = QGuiApplication::applicationDisplayName();
    showOk(QMessageBox::NoIcon, title, text);
}

std::optional<QString> QtDialogService::inputBox(const QString& caption, const QString& prompt,
                                                 const QString& defaultValue) {
    const DialogTexts& t = dialogTexts();
    QInputDialog dialog(dialogParent());
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultValue);
    dialog.setOkButtonText(t.ok);
    dialog.setCancelButtonText(t.cancel);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue();
}

} // namespace dv

#pragma once
#include "framework/ScreenContext.h"
#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace dv {
namespace messages {
class MessageTemplate;
}
class DataSource;
class Dataset;
class DBDateEdit;
class DBGrid;
} // namespace dv

// The active patients whose birthday falls on a day (today at first) or in that
// day's month, with the number a WhatsApp message goes to. The receptionist opens
// the chat with the clinic's birthday message and sends it by hand; each message
// opened is noted, so that nobody writes twice.
class TfrmAniversario : public QDialog, public dv::HostedScreen {
    Q_OBJECT
public:
    explicit TfrmAniversario(QWidget* parent = nullptr);

    QRadioButton *rbDia, *rbMes;
    dv::DBDateEdit* edtDia;
    QPushButton *btnAtualizar, *btnWhatsApp, *btnSalvarModelo, *btnFechar;
    QLabel* lblTotal;
    dv::DBGrid* gridPacientes;
    QPlainTextEdit* memModelo;
    dv::Dataset* SQL_Aniversario;
    dv::DataSource* dsAniversario;

    void btnAtualizarClick();
    // Opens the chat with the current patient and notes the message.
    void btnWhatsAppClick();
    void applyArguments(const dv::ScreenArgs&) override {}

    // The message for the current patient, from the text on the screen.
    QString currentMessage() const;

protected:
    void showEvent(QShowEvent* event) override;
    // Closed by Fechar, Escape or the close box alike: a changed message is offered
    // to be kept first.
    void done(int result) override;

private:
    bool hasPatient() const;
    // Whether a birthday message was already opened for the current patient on
    // this birthday; asks before a second one.
    bool mayWriteAgain() const;
    dv::messages::MessageTemplate* m_template;
    bool m_shown = false;
};

#pragma once
#include "framework/ScreenContext.h"
#include <QDialog>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace dv {
namespace messages {
class MessageTemplate;
}
class DataSource;
class Dataset;
class DBDateEdit;
class DBGrid;
} // namespace dv

// The appointments of a day, for confirming them with the patients: the WhatsApp
// conversation opens with the clinic's message ready to send by hand, and the
// answer is noted on the appointment. Nothing is sent by itself.
class TfrmConfirmacao : public QDialog, public dv::HostedScreen {
    Q_OBJECT
public:
    explicit TfrmConfirmacao(QWidget* parent = nullptr);

    dv::DBDateEdit* edtDia;
    QComboBox* cbDentista; // "Todos" first, then the active dentists
    QPushButton *btnAtualizar, *btnWhatsApp, *btnConfirmada, *btnDesmarcada, *btnSemResposta,
        *btnSalvarModelo, *btnFechar;
    QLabel* lblTotal;
    dv::DBGrid* gridConsultas;
    QPlainTextEdit* memModelo;
    dv::Dataset* SQL_Confirmacao;
    dv::DataSource* dsConfirmacao;

    void btnAtualizarClick();
    void btnWhatsAppClick();
    // 'C' confirmada, 'D' desmarcada, 'S' sem resposta.
    void setConfirmation(const QString& state);
    void applyArguments(const dv::ScreenArgs&) override {}

    // The message for the current appointment, from the template on the screen.
    QString currentMessage() const;

protected:
    void showEvent(QShowEvent* event) override;
    // Closed by Fechar, Escape or the close box alike: a changed message is offered
    // to be kept first.
    void done(int result) override;

private:
    void FormShow();
    void loadDentists();
    bool hasAppointment() const;
    dv::messages::MessageTemplate* m_template;
    bool m_shown = false;
};

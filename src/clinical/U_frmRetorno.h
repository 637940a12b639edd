#pragma once
#include "framework/ScreenContext.h"
#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace dv {
namespace messages {
class MessageTemplate;
}
class DataSource;
class Dataset;
class DBGrid;
} // namespace dv

// The patients due for a return visit: their last consultation is older than the
// months asked and nothing is booked for them. The receptionist calls or writes by
// WhatsApp (the message typed by hand in the chat) and records each attempt.
class TfrmRetorno : public QDialog, public dv::HostedScreen {
    Q_OBJECT
public:
    explicit TfrmRetorno(QWidget* parent = nullptr);

    QSpinBox* spnMeses;
    QPushButton *btnAtualizar, *btnAgendar, *btnWhatsApp, *btnContato, *btnSalvarModelo, *btnFechar;
    QLabel *lblTotal, *lblAgendado;
    dv::DBGrid* gridPacientes;
    QPlainTextEdit* memModelo;
    dv::Dataset* SQL_Retorno;
    dv::DataSource* dsRetorno;

    void btnAtualizarClick();
    // Opens the agenda to book the current patient with the last dentist; once
    // booked the patient leaves the list and the booking is named below it.
    void btnAgendarClick();
    void btnWhatsAppClick();
    // Notes a contact attempt with the current patient, with an optional remark.
    void btnContatoClick();
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
    dv::messages::MessageTemplate* m_template;
    bool m_shown = false;
};

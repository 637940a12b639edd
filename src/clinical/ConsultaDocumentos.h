#pragma once
#include <QHash>
#include <QObject>
#include <QVariant>
#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace dv {
class Dataset;
}

// Whom a new document is about: the patient and dentist, and the consultation when it
// comes from one (its total and installment plan fill the contract).
struct DocumentSubject {
    QVariant patient, dentist, consultation, total;
};

// The documents page's models and medicines: "Novo do modelo" adds a document with the
// chosen text filled in (patient, dentist, clinic, total, installment plan), and the
// medicine box writes a medicine of the clinic's list into the prescription being
// edited. The filled text is what is stored, so printing it again later gives the same
// paper whatever changes afterwards. The CID of a certificate goes into the text only
// when the patient's consent is ticked.
class ConsultaDocumentos : public QObject {
    Q_OBJECT
public:
    // page holds the documents page's widgets (ConsultaManutDocumentos.ui).
    ConsultaDocumentos(dv::Dataset* documents, std::function<DocumentSubject()> subject, QWidget* page,
                       QObject* parent);

    // Reads the models and medicines again (after the administrator changed them).
    void loadModels();
    void addFromModel();
    void addMedicine();
    // The field values for the subject on show, by field name.
    QHash<QString, QString> values() const;

private:
    dv::Dataset* m_documents;
    std::function<DocumentSubject()> m_subject;
    QComboBox *m_models, *m_medicines;
    QLineEdit* m_cid;
    QCheckBox* m_cidConsent;
    QPlainTextEdit* m_text;
};

#pragma once
#include <QHash>
#include <QObject>
#include <functional>

class QComboBox;
class QPushButton;

namespace dv {
class Dataset;
}

// The documents tab's models: the combo lists the clinic's document texts and the button
// adds a document to the consultation with the chosen text filled in (patient, dentist,
// clinic, total, installment plan). The filled text is what is stored, so printing it
// again later gives the same paper whatever changes afterwards.
class ConsultaDocumentos : public QObject {
    Q_OBJECT
public:
    ConsultaDocumentos(dv::Dataset* documents, std::function<dv::Dataset*()> consultation, QComboBox* models,
                       QPushButton* add, QObject* parent);

    // Reads the models again (after the administrator changed them).
    void loadModels();
    void addFromModel();
    // The values of the consultation on show, by field name.
    QHash<QString, QString> values() const;

private:
    dv::Dataset* m_documents;
    std::function<dv::Dataset*()> m_consultation; // the record being edited
    QComboBox* m_models;
};

#pragma once
#include <QObject>

namespace dv {
class Dataset;
}

// The printed page of one stored document: its stored text, the patient and dentist it
// names, and one page per copy. A "controle especial" prescription prints two copies,
// "1ª via" for the pharmacy and "2ª via" for the patient, each on a page of its own.
// The report reads it through the RvDocumento connection.
class DocumentPrint : public QObject {
    Q_OBJECT
public:
    explicit DocumentPrint(QObject* owner);

    // Reads the document and stands it as the report's connection, owned by this
    // object's parent. False when the document is not stored.
    bool prepare(qint64 documentId);
    dv::Dataset* dataset() const { return m_print; }

private:
    dv::Dataset* m_print;
};

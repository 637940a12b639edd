#pragma once
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// The clinic's document texts ("Receituário", "Atestado", the contract...) with fields in
// braces: {paciente} becomes the patient's name. A field the values lack stays as typed,
// so a misspelt one shows on the screen instead of vanishing from the printed paper.
QString fillDocumentModel(const QString& model, const QHash<QString, QString>& values);

struct DocumentField {
    QString name;        // without braces, lower case
    QString description; // what it becomes, for the model editor (Portuguese; shown through dv::text)
};
// Every field a model may use, in the order the model editor lists them.
const QList<DocumentField>& documentFields();
// The {fields} of a model that are not among documentFields(), as typed, once each.
QStringList unknownDocumentFields(const QString& model);
// The model without the paragraphs (lines up to a blank one) that use {field}: the CID
// the patient did not consent to print, with the signature that consents to it.
QString withoutFieldParagraphs(const QString& model, const QString& field);

// Where picked medicines go in a filled model: the {medicamentos} field, removed.
struct FilledDocument {
    QString text;
    qsizetype medicinesAt = -1; // offset in text; -1 when the model has no such field
};
FilledDocument fillDocumentModelAt(const QString& model, const QHash<QString, QString>& values);

// One prescribed medicine as printed: "2. Amoxicilina - 500 mg" and how to take it below.
QString prescriptionLine(int number, const QString& name, const QString& dosage, const QString& howTo);
// The number the next medicine of a prescription text takes (lines starting "N. ").
int nextPrescriptionNumber(const QString& text);

#pragma once
#include <QHash>
#include <QString>

// The clinic's document texts ("Receituário", "Atestado", the contract...) with fields in
// braces: {paciente} becomes the patient's name. A field the values lack stays as typed,
// so a misspelt one shows on the screen instead of vanishing from the printed paper.
QString fillDocumentModel(const QString& model, const QHash<QString, QString>& values);

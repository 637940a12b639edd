#include "DocumentModel.h"
#include "core/CodeTexts.h"
#include <QRegularExpression>

namespace {
const QRegularExpression& fieldPattern() {
    static const QRegularExpression field(QStringLiteral("\\{([A-Za-z_]+)\\}"));
    return field;
}
const QString kMedicines = QStringLiteral("medicamentos");
} // namespace

QString fillDocumentModel(const QString& model, const QHash<QString, QString>& values) {
    QString out;
    qsizetype last = 0;
    for (auto it = fieldPattern().globalMatch(model); it.hasNext();) {
        const auto m = it.next();
        out += model.mid(last, m.capturedStart() - last);
        const QString name = m.captured(1).toLower();
        out += values.contains(name) ? values.value(name) : m.captured(0);
        last = m.capturedEnd();
    }
    return out + model.mid(last);
}

const QList<DocumentField>& documentFields() {
    static const QList<DocumentField> fields{
        {QStringLiteral("paciente"), QStringLiteral(DV_TEXT("Nome do paciente"))},
        {QStringLiteral("cpf"), QStringLiteral(DV_TEXT("CPF do paciente"))},
        {QStringLiteral("rg"), QStringLiteral(DV_TEXT("RG do paciente"))},
        {QStringLiteral("endereco_paciente"), QStringLiteral(DV_TEXT("Endereço do paciente"))},
        {QStringLiteral("dentista"), QStringLiteral(DV_TEXT("Nome do dentista"))},
        {QStringLiteral("cro"), QStringLiteral(DV_TEXT("CRO do dentista"))},
        {QStringLiteral("clinica"), QStringLiteral(DV_TEXT("Nome da clínica"))},
        {QStringLiteral("endereco"), QStringLiteral(DV_TEXT("Endereço da clínica"))},
        {QStringLiteral("cidade"), QStringLiteral(DV_TEXT("Cidade da clínica"))},
        {QStringLiteral("data"), QStringLiteral(DV_TEXT("Data de hoje"))},
        {QStringLiteral("hora"), QStringLiteral(DV_TEXT("Hora de agora"))},
        {QStringLiteral("total"), QStringLiteral(DV_TEXT("Valor total da consulta"))},
        {QStringLiteral("parcelas"),
         QStringLiteral(DV_TEXT("Parcelas da consulta com valores e vencimentos"))},
        {kMedicines, QStringLiteral(DV_TEXT("Lugar dos medicamentos escolhidos na receita"))},
        {QStringLiteral("cid"),
         QStringLiteral(DV_TEXT("CID do atestado (o parágrafo só sai com a autorização do paciente)"))},
    };
    return fields;
}

QStringList unknownDocumentFields(const QString& model) {
    QStringList unknown;
    for (auto it = fieldPattern().globalMatch(model); it.hasNext();) {
        const auto m = it.next();
        const QString name = m.captured(1).toLower();
        const bool known = std::any_of(documentFields().cbegin(), documentFields().cend(),
                                       [&](const DocumentField& f) { return f.name == name; });
        if (!known && !unknown.contains(m.captured(0))) unknown << m.captured(0);
    }
    return unknown;
}

QString withoutFieldParagraphs(const QString& model, const QString& field) {
    static const QRegularExpression blank(QStringLiteral("\n[ \t]*\n"));
    const QString marker = QLatin1Char('{') + field + QLatin1Char('}');
    QStringList kept;
    for (const QString& paragraph : model.split(blank))
        if (!paragraph.contains(marker, Qt::CaseInsensitive)) kept << paragraph;
    return kept.join(QStringLiteral("\n\n"));
}

FilledDocument fillDocumentModelAt(const QString& model, const QHash<QString, QString>& values) {
    const qsizetype at =
        model.indexOf(QLatin1Char('{') + kMedicines + QLatin1Char('}'), 0, Qt::CaseInsensitive);
    if (at < 0) return {fillDocumentModel(model, values), -1};
    const QString before = fillDocumentModel(model.left(at), values);
    return {before + fillDocumentModel(model.mid(at + kMedicines.size() + 2), values), before.size()};
}

QString prescriptionLine(int number, const QString& name, const QString& dosage, const QString& howTo) {
    QString line = QStringLiteral("%1. %2").arg(number).arg(name.trimmed());
    if (!dosage.trimmed().isEmpty()) line += QStringLiteral(" - ") + dosage.trimmed();
    line += QLatin1Char('\n');
    if (!howTo.trimmed().isEmpty()) line += QStringLiteral("   ") + howTo.trimmed() + QLatin1Char('\n');
    return line;
}

int nextPrescriptionNumber(const QString& text) {
    static const QRegularExpression numbered(QStringLiteral("^(\\d+)\\. "),
                                             QRegularExpression::MultilineOption);
    int highest = 0;
    for (auto it = numbered.globalMatch(text); it.hasNext();)
        highest = qMax(highest, it.next().captured(1).toInt());
    return highest + 1;
}

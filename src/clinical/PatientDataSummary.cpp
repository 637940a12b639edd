#include "PatientDataSummary.h"
#include <QDateTime>
#include <QJsonArray>
#include <QRegularExpression>

namespace dv {

namespace {

constexpr double kLeft = 15, kWidth = 180, kTop = 15, kBottom = 280, kLine = 4.3;
constexpr int kCharsPerLine = 118;

struct Section {
    const char* table;
    const char* caption;
};
const Section kSections[] = {
    {"anamnese_paciente", "Anamnese"},
    {"foto", "Fotos (arquivos na pasta fotos)"},
    {"consulta", "Consultas"},
    {"item_consulta", "Itens das consultas"},
    {"documento", "Documentos"},
    {"parcela", "Parcelas"},
    {"agenda", "Agendamentos"},
    {"retorno_tentativa", "Contatos de retorno"},
    {"paciente_consentimento", "Consentimentos"},
    {"paciente_exportacao", "Exportações anteriores"},
};

// Values as people read them: dates day first, money with a comma.
QString shown(const QJsonValue& v) {
    if (v.isDouble()) return QString::number(qint64(v.toDouble()));
    const QString s = v.toString();
    static const QRegularExpression date(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}T\\d{2}:\\d{2}:\\d{2}$"));
    static const QRegularExpression money(QStringLiteral("^-?\\d+\\.\\d{4}$"));
    if (date.match(s).hasMatch()) {
        const QDateTime when = QDateTime::fromString(s, Qt::ISODate);
        return when.time() == QTime(0, 0) ? when.toString(QStringLiteral("dd/MM/yyyy"))
                                          : when.toString(QStringLiteral("dd/MM/yyyy HH:mm"));
    }
    if (money.match(s).hasMatch())
        return QString::number(s.toDouble(), 'f', 2).replace(QLatin1Char('.'), QLatin1Char(','));
    return s.simplified();
}

// "paciente_data_nascimento" -> "Data nascimento".
QString label(QString column, const QString& table) {
    for (const QString& prefix : {table + QLatin1Char('_'), QStringLiteral("paciente_")})
        if (column.startsWith(prefix) && column.size() > prefix.size()) column = column.mid(prefix.size());
    column.replace(QLatin1Char('_'), QLatin1Char(' '));
    column[0] = column[0].toUpper();
    return column;
}

class Writer {
public:
    Writer() {
        m_doc.setName(QStringLiteral("Dados do paciente"));
        report::TextStyle body;
        body.size = 8;
        body.valign = report::VAlign::Top;
        m_body = m_doc.addStyle(body);
        report::TextStyle heading = body;
        heading.size = 10;
        heading.bold = true;
        m_heading = m_doc.addStyle(heading);
        report::TextStyle title = body;
        title.size = 14;
        title.bold = true;
        m_title = m_doc.addStyle(title);
        report::TextStyle footer = body;
        footer.align = report::Align::Right;
        footer.size = 7;
        m_footer = m_doc.addStyle(footer);
        newSheet();
    }

    void title(const QString& text) { put(text, m_title, 8); }
    void heading(const QString& text) {
        m_y += 2;
        if (m_y + 3 * kLine > kBottom) newSheet();
        put(text, m_heading, 5.5);
        ReportDocument::Op line;
        line.kind = ReportDocument::Op::Line;
        line.rect = QRectF(QPointF(kLeft, m_y - 0.8), QPointF(kLeft + kWidth, m_y - 0.8));
        line.color = qRgb(0x88, 0x88, 0x88);
        line.width = 0.2f;
        m_doc.lastSheet().ops.push_back(line);
    }
    // A paragraph, cut into lines at spaces.
    void paragraph(const QString& text) {
        QString rest = text;
        while (!rest.isEmpty()) {
            int cut = rest.size();
            if (cut > kCharsPerLine) {
                cut = rest.lastIndexOf(QLatin1Char(' '), kCharsPerLine);
                if (cut <= 0) cut = kCharsPerLine;
            }
            put(rest.left(cut), m_body, kLine);
            rest = rest.mid(cut).trimmed();
        }
    }
    void gap() { m_y += 1.5; }
    ReportDocument take() { return std::move(m_doc); }

private:
    void newSheet() {
        m_doc.addSheet(QPageSize::A4, QPageLayout::Portrait);
        ReportDocument::Op page;
        page.index = m_footer;
        page.rect = QRectF(kLeft, 287, kWidth, 5);
        page.text = QStringLiteral("Página %1 de %2").arg(++m_sheets).arg(ReportDocument::PageCountMarker);
        m_doc.lastSheet().ops.push_back(page);
        m_y = kTop;
    }
    void put(const QString& text, int style, double height) {
        if (m_y + height > kBottom) newSheet();
        ReportDocument::Op op;
        op.index = style;
        op.rect = QRectF(kLeft, m_y, kWidth, height);
        op.text = text;
        m_doc.lastSheet().ops.push_back(op);
        m_y += height;
    }

    ReportDocument m_doc;
    int m_body = 0, m_heading = 0, m_title = 0, m_footer = 0, m_sheets = 0;
    double m_y = kTop;
};

QString rowText(const QJsonObject& row, const QString& table) {
    QStringList parts;
    for (auto it = row.begin(); it != row.end(); ++it) {
        if (it.value().isNull() || it.key() == QLatin1String("paciente_id")) continue;
        const QString value = shown(it.value());
        if (!value.isEmpty()) parts << label(it.key(), table) + QStringLiteral(": ") + value;
    }
    return parts.join(QStringLiteral(" · "));
}

} // namespace

ReportDocument patientDataSummary(const QJsonObject& data) {
    const QJsonObject tables = data.value(QStringLiteral("tabelas")).toObject();
    const QJsonObject record = tables.value(QStringLiteral("paciente")).toArray().first().toObject();
    Writer w;
    w.title(QStringLiteral("Dados do paciente: %1")
                .arg(record.value(QStringLiteral("paciente_nome")).toString()));
    w.paragraph(QStringLiteral("Código %1 · gerado em %2 · os valores completos estão no arquivo dados.json")
                    .arg(shown(data.value(QStringLiteral("paciente_id"))),
                         shown(data.value(QStringLiteral("gerado_em")))));
    w.heading(QStringLiteral("Cadastro"));
    for (auto it = record.begin(); it != record.end(); ++it)
        if (!it.value().isNull() && !shown(it.value()).isEmpty())
            w.paragraph(label(it.key(), QStringLiteral("paciente")) + QStringLiteral(": ") +
                        shown(it.value()));
    for (const Section& s : kSections) {
        const QJsonArray rows = tables.value(QString::fromLatin1(s.table)).toArray();
        w.heading(QStringLiteral("%1 (%2)").arg(QString::fromUtf8(s.caption)).arg(rows.size()));
        if (rows.isEmpty()) w.paragraph(QStringLiteral("Nenhum registro."));
        for (const QJsonValue& row : rows) {
            w.paragraph(rowText(row.toObject(), QString::fromLatin1(s.table)));
            w.gap();
        }
    }
    const QJsonArray trail = tables.value(QStringLiteral("auditoria")).toArray();
    w.heading(QStringLiteral("Trilha de auditoria (%1)").arg(trail.size()));
    static const QMap<QString, QString> actions{{QStringLiteral("I"), QStringLiteral("inclusão")},
                                                {QStringLiteral("U"), QStringLiteral("alteração")},
                                                {QStringLiteral("D"), QStringLiteral("exclusão")}};
    for (const QJsonValue& v : trail) {
        const QJsonObject r = v.toObject();
        w.paragraph(QStringLiteral("%1 · %2 · %3 %4 · %5")
                        .arg(shown(r.value(QStringLiteral("auditoria_data"))),
                             r.value(QStringLiteral("auditoria_usuario")).toString(),
                             r.value(QStringLiteral("auditoria_tabela")).toString(),
                             r.value(QStringLiteral("auditoria_chave")).toString(),
                             actions.value(r.value(QStringLiteral("auditoria_acao")).toString())));
    }
    return w.take();
}

} // namespace dv

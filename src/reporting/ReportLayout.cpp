#include "ReportLayout.h"
#include "ReportConnections.h"
#include "ReportError.h"
#include "ReportFormat.h"
#include "core/CodeTexts.h"
#include "core/Services.h"
#include "core/Session.h"
#include "core/db/BrFormat.h"
#include "core/db/Dataset.h"
#include "core/db/DatasetCollation.h"
#include <QDir>
#include <QFileInfo>
#include <numeric>
#include <unordered_map>

namespace dv {

using namespace report;

namespace {

constexpr double kSlack = 0.001; // mm; sums of band heights are not exact

struct Bound {
    Dataset* dataset = nullptr;
    Field* field = nullptr; // null: the dataset is closed and has no such field yet
};

struct CompiledToken {
    Token::Kind kind;
    QString text;
    QString format;
    Bound bound;
    int aggregate = -1;
};

struct Total {
    const Aggregate* def = nullptr;
    int resetLevel = -1; // group index whose start clears it; -1: never
    Field* field = nullptr;
    enum Type { Count, Money, Whole, Real } type = Count;
    Currency money;
    qint64 whole = 0;
    double real = 0;

    void clear() {
        money = Currency();
        whole = 0;
        real = 0;
    }
    QVariant value() const {
        switch (type) {
        case Money:
            return QVariant::fromValue(money);
        case Real:
            return real;
        default:
            return whole;
        }
    }
};

QString bandName(BandKind kind) {
    switch (kind) {
    case BandKind::Title:
        return dv::text("de título");
    case BandKind::PageHeader:
        return dv::text("de cabeçalho");
    case BandKind::ColumnHeader:
        return dv::text("de títulos das colunas");
    case BandKind::GroupHeader:
        return dv::text("de cabeçalho do grupo");
    case BandKind::Detail:
        return dv::text("de detalhe");
    case BandKind::GroupFooter:
        return dv::text("de rodapé do grupo");
    case BandKind::NoData:
        return dv::text("sem dados");
    case BandKind::Summary:
        return dv::text("de resumo");
    case BandKind::PageFooter:
        return dv::text("de rodapé");
    }
    return QString();
}

// One page of the report laid out over as many sheets as its rows need.
class PageRun {
public:
    PageRun(const Report& report, const Page& page, const ReportConnections& connections, ReportDocument& doc,
            const QDateTime& printTime, const QString& baseFolder)
        : m_report(report), m_page(page), m_connections(connections), m_doc(doc), m_printTime(printTime),
          m_baseFolder(baseFolder), m_content(page.contentRect()) {}

    void run() {
        if (!m_page.connection.isEmpty()) m_detail = connection(m_page.connection);
        compileAll();
        const int rows = rowCount();
        if (!m_page.detail || rows == 0) {
            newSheet(-1);
            if (m_page.detail && m_page.noData) band(*m_page.noData, -1);
            if (m_page.summary) band(*m_page.summary, -1);
            finishSheet();
            return;
        }
        const QList<int> order = rowOrder(rows);
        QStringList keys(m_page.groups.size());
        for (int i = 0; i < rows; ++i) {
            const int row = m_page.currentRowOnly ? -1 : order[i];
            int breakLevel = i == 0 ? 0 : -1;
            for (int g = 0; g < m_page.groups.size(); ++g) {
                const QString key = groupKey(g, row);
                if (breakLevel < 0 && key != keys[g]) breakLevel = g;
                keys[g] = key;
            }
            if (breakLevel >= 0 && !m_page.groups.isEmpty()) {
                if (i > 0) groupFooters(breakLevel, m_lastRow);
                for (Total& t : m_totals)
                    if (t.resetLevel >= breakLevel) t.clear();
                for (int g = breakLevel; g < m_page.groups.size(); ++g) {
                    if (!m_page.groups[g].header) continue;
                    // A group header does not stay alone at the bottom of a sheet.
                    band(*m_page.groups[g].header, row, m_page.detail->height);
                }
                m_stripe = false;
            }
            accumulate(row);
            detail(row);
            m_lastRow = row;
        }
        groupFooters(0, m_lastRow);
        if (m_page.summary) band(*m_page.summary, m_lastRow);
        finishSheet();
    }

private:
    // ---- data ----
    Dataset* connection(const QString& name) const {
        Dataset* d = m_connections.dataset(name);
        if (!d)
            throw ReportError(dv::text("A conexão de dados \"%1\" do relatório \"%2\" não está disponível: "
                                       "nenhuma tela aberta fornece esses dados.")
                                  .arg(name, m_report.name));
        return d;
    }

    Bound bind(const QString& connectionName, const QString& fieldName) {
        const QString key = connectionName.toLower() + QLatin1Char('.') + fieldName.toLower();
        const auto it = m_bound.find(key);
        if (it != m_bound.end()) return it->second;
        Bound b;
        b.dataset = connection(connectionName);
        b.field = b.dataset->findField(fieldName);
        if (!b.field && b.dataset->isActive())
            throw ReportError(dv::text("A conexão de dados \"%1\" não tem o campo \"%2\" usado pelo "
                                       "relatório \"%3\".")
                                  .arg(connectionName, fieldName, m_report.name));
        m_bound.emplace(key, b);
        return b;
    }

    bool hasRows(const Dataset* d) const { return d && d->isActive() && !d->isEmpty(); }

    int rowCount() const {
        if (!hasRows(m_detail)) return 0;
        return m_page.currentRowOnly ? 1 : m_detail->recordCount();
    }

    // row >= 0: that row of the detail; otherwise, and for every other connection,
    // the current row as the screen left it.
    QVariant value(const Bound& b, int row) const {
        if (!b.field || !hasRows(b.dataset)) return QVariant();
        if (row >= 0 && b.dataset == m_detail) return m_detail->value(row, b.field);
        return b.field->asVariant();
    }

    // The detail's rows in the page's sort order (stable: equal keys keep the screen's order).
    QList<int> rowOrder(int rows) {
        QList<int> order(rows);
        std::iota(order.begin(), order.end(), 0);
        if (m_page.sort.isEmpty() || m_page.currentRowOnly) return order;
        std::vector<const Field*> fields;
        for (const Page::SortKey& k : m_page.sort) {
            const Field* f = bind(m_page.connection, k.field).field;
            if (!f)
                throw ReportError(dv::text("A conexão de dados \"%1\" não tem o campo \"%2\" usado pelo "
                                           "relatório \"%3\".")
                                      .arg(m_page.connection, k.field, m_report.name));
            fields.push_back(f);
        }
        auto compare = [this](const Page::SortKey& k, const Field* f, int a, int b) -> int {
            const QVariant va = m_detail->value(a, f), vb = m_detail->value(b, f);
            if (!va.isValid() || !vb.isValid()) return int(va.isValid()) - int(vb.isValid()); // nulls first
            switch (f->dataType()) {
            case FieldType::DateTime: {
                const QDateTime da = va.toDateTime(), db = vb.toDateTime();
                if (k.part == QLatin1String("day")) return da.date().day() - db.date().day();
                if (k.part == QLatin1String("month")) return da.date().month() - db.date().month();
                return da < db ? -1 : db < da ? 1 : 0;
            }
            case FieldType::Currency: {
                const Currency ca = va.value<Currency>(), cb = vb.value<Currency>();
                return ca < cb ? -1 : cb < ca ? 1 : 0;
            }
            case FieldType::Integer:
            case FieldType::AutoInc:
            case FieldType::LargeInt: {
                const qint64 ia = va.toLongLong(), ib = vb.toLongLong();
                return ia < ib ? -1 : ib < ia ? 1 : 0;
            }
            case FieldType::Float: {
                const double fa = va.toDouble(), fb = vb.toDouble();
                return fa < fb ? -1 : fb < fa ? 1 : 0;
            }
            default:
                return DatasetCollation::collator().compare(va.toString(), vb.toString());
            }
        };
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            for (qsizetype i = 0; i < m_page.sort.size(); ++i) {
                const int c = compare(m_page.sort[i], fields[size_t(i)], a, b);
                if (c != 0) return m_page.sort[i].descending ? c > 0 : c < 0;
            }
            return false;
        });
        return order;
    }

    QString groupKey(int group, int row) const {
        const Bound& b = m_groupFields[size_t(group)];
        const QVariant v = value(b, row);
        return v.isValid() ? QStringLiteral("v") + b.field->formatPlain(v) : QStringLiteral("n");
    }

    void accumulate(int row) {
        for (Total& t : m_totals) {
            if (t.type == Total::Count) {
                ++t.whole;
                continue;
            }
            const QVariant v = value(Bound{m_detail, t.field}, row);
            if (!v.isValid()) continue;
            if (t.type == Total::Money)
                t.money += v.value<Currency>();
            else if (t.type == Total::Whole)
                t.whole += v.toLongLong();
            else
                t.real += v.toDouble();
        }
    }

    // ---- texts ----
    void compileAll() {
        for (const Group& g : m_page.groups) {
            Bound b = bind(m_page.connection, g.field);
            m_groupFields.push_back(b);
        }
        for (const Aggregate& a : m_page.aggregates) {
            Total t;
            t.def = &a;
            for (int g = 0; g < m_page.groups.size(); ++g)
                if (m_page.groups[g].name == a.reset) t.resetLevel = g;
            if (a.kind == Aggregate::Sum) {
                t.field = bind(m_page.connection, a.field).field;
                const FieldType type = t.field ? t.field->dataType() : FieldType::Float;
                if (type == FieldType::Currency)
                    t.type = Total::Money;
                else if (type == FieldType::Integer || type == FieldType::AutoInc ||
                         type == FieldType::LargeInt)
                    t.type = Total::Whole;
                else if (type == FieldType::Float)
                    t.type = Total::Real;
                else
                    throw ReportError(dv::text("O total \"%1\" do relatório \"%2\" soma o campo \"%3\", que "
                                               "não é numérico.")
                                          .arg(a.name, m_report.name, a.field));
            }
            m_totals.push_back(t);
        }
        auto compileBand = [this](const std::optional<Band>& b) {
            if (!b) return;
            for (const Item& item : b->items) {
                if (item.kind == Item::Text) compiled(item);
                if (item.kind == Item::Picture && !item.pictureField.isEmpty())
                    bind(item.pictureConnection, item.pictureField);
            }
        };
        for (const auto* b : {&m_page.pageHeader, &m_page.title, &m_page.columnHeader, &m_page.detail,
                              &m_page.noData, &m_page.summary, &m_page.pageFooter})
            compileBand(*b);
        for (const Group& g : m_page.groups) {
            compileBand(g.header);
            compileBand(g.footer);
        }
    }

    const std::vector<CompiledToken>& compiled(const Item& item) {
        auto it = m_compiled.find(&item);
        if (it != m_compiled.end()) return it->second;
        std::vector<CompiledToken> out;
        for (const Token& t : item.text.tokens) {
            CompiledToken c{t.kind, t.text, t.format, {}, -1};
            if (t.kind == Token::Field) c.bound = bind(t.text, t.name);
            if (t.kind == Token::Aggregate)
                for (int i = 0; i < m_page.aggregates.size(); ++i)
                    if (m_page.aggregates[i].name == t.name) c.aggregate = i;
            out.push_back(c);
        }
        return m_compiled.emplace(&item, std::move(out)).first->second;
    }

    QString evaluate(const Item& item, int row) {
        if (item.text.isConstant()) return item.text.tokens.first().text;
        QString out, optional;
        bool inOptional = false, optionalHasValue = false;
        for (const CompiledToken& t : compiled(item)) {
            QString piece;
            bool isValue = false;
            switch (t.kind) {
            case Token::Literal:
                piece = t.text;
                break;
            case Token::Field:
                piece = formatFieldValue(t.bound.field, value(t.bound, row), t.format);
                isValue = true;
                break;
            case Token::Aggregate:
                piece = formatValue(m_totals[size_t(t.aggregate)].value(), t.format);
                isValue = true;
                break;
            case Token::PageNumber:
                piece = QString::number(m_doc.pageCount());
                isValue = true;
                break;
            case Token::PageCount:
                piece = ReportDocument::PageCountMarker;
                isValue = true;
                break;
            case Token::PrintDate:
                piece = t.format.isEmpty() ? br::formatDate(m_printTime) : formatValue(m_printTime, t.format);
                isValue = true;
                break;
            case Token::PrintTime:
                piece = m_printTime.time().toString(QStringLiteral("hh:mm"));
                isValue = true;
                break;
            case Token::ReportName:
                piece = m_report.name;
                isValue = true;
                break;
            case Token::OptionalBegin:
                inOptional = true;
                optional.clear();
                optionalHasValue = false;
                continue;
            case Token::OptionalEnd:
                if (optionalHasValue) out += optional;
                inOptional = false;
                continue;
            }
            if (inOptional) {
                optional += piece;
                optionalHasValue = optionalHasValue || (isValue && !piece.isEmpty());
            } else {
                out += piece;
            }
        }
        return out;
    }

    int styleOf(const Item& item) {
        const auto it = m_styles.find(&item);
        if (it != m_styles.end()) return it->second;
        const int index = m_doc.addStyle(item.style);
        m_styles.emplace(&item, index);
        return index;
    }

    // ---- drawing ----
    void place(const Band& b, int row, double left, double top, double width, bool striped) {
        std::vector<ReportDocument::Op>& ops = m_doc.lastSheet().ops;
        const QColor background = striped && b.stripe.isValid() ? b.stripe : b.fill;
        if (background.isValid()) {
            ReportDocument::Op op;
            op.kind = ReportDocument::Op::Box;
            op.rect = QRectF(left, top, width, b.height);
            op.fill = background.rgba();
            ops.push_back(op);
        }
        for (const Item& item : b.items) {
            ReportDocument::Op op;
            const double x = left + item.left(width);
            op.rect = QRectF(x, top + item.y, item.width(width), item.h);
            switch (item.kind) {
            case Item::Text:
                op.kind = ReportDocument::Op::Text;
                op.text = evaluate(item, row);
                if (op.text.isEmpty() && !item.fill.isValid()) continue;
                op.index = styleOf(item);
                op.fill = item.fill.isValid() ? item.fill.rgba() : 0;
                break;
            case Item::Line:
                op.kind = ReportDocument::Op::Line;
                op.rect = QRectF(QPointF(left + item.x->resolve(width), top + item.y),
                                 QPointF(left + item.x2.resolve(width), top + item.y2));
                op.color = item.lineColor.rgba();
                op.width = float(item.lineWidth);
                break;
            case Item::Box:
                op.kind = ReportDocument::Op::Box;
                op.fill = item.fill.isValid() ? item.fill.rgba() : 0;
                op.color = item.border.isValid() ? item.border.rgba() : 0;
                op.width = float(item.lineWidth);
                op.radius = float(item.radius);
                break;
            case Item::Picture: {
                op.kind = ReportDocument::Op::Picture;
                ReportDocument::Picture p;
                p.fit = item.fit;
                if (!item.pictureField.isEmpty()) {
                    const QVariant v = value(bind(item.pictureConnection, item.pictureField), row);
                    p.bytes = v.toByteArray();
                }
                if (p.bytes.isEmpty())
                    p.bytes = m_connections.picture(m_page.name + QLatin1Char('.') + item.name);
                if (p.bytes.isEmpty() && !item.fileLink.isEmpty()) {
                    p.file = resolveFile(item.fileLink);
                    // A blank where a chart or logo belongs would pass unnoticed on paper.
                    if (!QFileInfo(p.file).isFile())
                        throw ReportError(
                            dv::text("O arquivo de imagem \"%1\" (figura %2 da página \"%3\") não foi "
                                     "encontrado.")
                                .arg(QDir::toNativeSeparators(p.file), item.name, m_page.name));
                }
                op.color = item.border.isValid() ? item.border.rgba() : 0;
                op.width = float(item.lineWidth);
                if (p.bytes.isEmpty() && p.file.isEmpty()) {
                    if (!op.color) continue;
                    op.kind = ReportDocument::Op::Box;
                } else {
                    op.index = m_doc.addPicture(std::move(p));
                }
                break;
            }
            }
            ops.push_back(std::move(op));
        }
    }

    QString resolveFile(QString link) const {
        link.replace(QLatin1Char('\\'), QLatin1Char('/'));
        if (QFileInfo(link).isAbsolute()) return link;
        return QDir(m_baseFolder).filePath(link);
    }

    [[noreturn]] void doesNotFit(const Band& b) const {
        throw ReportError(
            dv::text("A faixa %1 da página \"%2\" não cabe na folha.").arg(bandName(b.kind), m_page.name));
    }

    void newSheet(int row) {
        finishSheet();
        m_doc.addSheet(m_page.size, m_page.orientation);
        m_open = true;
        m_y = m_content.top();
        m_column = 0;
        m_bottom = m_content.bottom() - (m_page.pageFooter ? m_page.pageFooter->height : 0);
        const auto top = [&](const Band& b) {
            if (m_y + b.height > m_bottom + kSlack) doesNotFit(b);
            place(b, row, m_content.left(), m_y, m_content.width(), false);
            m_y += b.height;
        };
        if (m_page.pageHeader) top(*m_page.pageHeader);
        if (m_firstSheet && m_page.title) top(*m_page.title);
        m_firstSheet = false;
        if (m_page.columnHeader) top(*m_page.columnHeader);
    }

    void finishSheet() {
        if (!m_open) return;
        if (m_page.pageFooter)
            place(*m_page.pageFooter, m_lastRow, m_content.left(),
                  m_content.bottom() - m_page.pageFooter->height, m_content.width(), false);
        m_open = false;
    }

    // Ends a line of label columns that is not full.
    void closeLine() {
        if (m_column == 0) return;
        m_column = 0;
        m_y += m_page.detail->height;
    }

    // A band across the page; keepWith asks for room for what must follow it.
    void band(const Band& b, int row, double keepWith = 0) {
        closeLine();
        if (!m_open || m_y + b.height + keepWith > m_bottom + kSlack) newSheet(row);
        if (m_y + b.height > m_bottom + kSlack) doesNotFit(b);
        place(b, row, m_content.left(), m_y, m_content.width(), false);
        m_y += b.height;
    }

    void detail(int row) {
        const Band& d = *m_page.detail;
        const int columns = m_page.columns;
        const double width = (m_content.width() - (columns - 1) * m_page.columnGap) / columns;
        if (m_column == 0) {
            if (!m_open || m_y + d.height > m_bottom + kSlack) newSheet(row);
            if (m_y + d.height > m_bottom + kSlack) doesNotFit(d);
        }
        place(d, row, m_content.left() + m_column * (width + m_page.columnGap), m_y, width, m_stripe);
        m_stripe = !m_stripe;
        if (++m_column == columns) {
            m_column = 0;
            m_y += d.height;
        }
    }

    void groupFooters(int fromLevel, int row) {
        for (int g = int(m_page.groups.size()) - 1; g >= fromLevel; --g)
            if (m_page.groups[g].footer) band(*m_page.groups[g].footer, row);
    }

    const Report& m_report;
    const Page& m_page;
    const ReportConnections& m_connections;
    ReportDocument& m_doc;
    QDateTime m_printTime;
    QString m_baseFolder;
    QRectF m_content;

    Dataset* m_detail = nullptr;
    std::unordered_map<QString, Bound> m_bound;
    std::unordered_map<const Item*, std::vector<CompiledToken>> m_compiled;
    std::unordered_map<const Item*, int> m_styles;
    std::vector<Bound> m_groupFields;
    std::vector<Total> m_totals;

    bool m_open = false;
    bool m_firstSheet = true;
    bool m_stripe = false;
    double m_y = 0;
    double m_bottom = 0;
    int m_column = 0;
    int m_lastRow = -1;
};

} // namespace

ReportLayout::ReportLayout(const Report& report, const ReportConnections& connections)
    : m_report(report), m_connections(connections) {}

ReportDocument ReportLayout::run() {
    const QDateTime when = m_printTime.isValid() ? m_printTime : services().clock().now();
    const QString folder = m_baseFolder.isNull() ? session().executableFolder() : m_baseFolder;
    ReportDocument doc;
    doc.setName(m_report.name);
    for (const Page& page : m_report.pages)
        PageRun(m_report, page, m_connections, doc, when, folder).run();
    return doc;
}

} // namespace dv

#include "ReportParser.h"
#include "ReportError.h"
#include "core/CodeTexts.h"
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QXmlStreamReader>

namespace dv::report {

namespace {

// The file read whole into elements first, so that shared bands and styles may
// stand anywhere and every message can name its line.
struct Node {
    QString name;
    QXmlStreamAttributes attributes;
    QString text;
    QList<Node> children;
    qint64 line = 0;

    bool has(const char* attribute) const { return attributes.hasAttribute(QLatin1String(attribute)); }
    QString attr(const char* attribute) const {
        return attributes.value(QLatin1String(attribute)).toString();
    }
};

Node readNode(QXmlStreamReader& xml) {
    Node node;
    node.name = xml.name().toString();
    node.attributes = xml.attributes();
    node.line = xml.lineNumber();
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement)
            node.children.append(readNode(xml));
        else if (token == QXmlStreamReader::Characters)
            node.text += xml.text();
        else if (token == QXmlStreamReader::EndElement)
            break;
    }
    return node;
}

const QSet<QString>& reservedNames() {
    static const QSet<QString> names{QStringLiteral("page"), QStringLiteral("pages"),
                                     QStringLiteral("printDate"), QStringLiteral("printTime"),
                                     QStringLiteral("report")};
    return names;
}

class Parser {
public:
    explicit Parser(QString source) : m_source(std::move(source)) {}

    Project project(const Node& root) {
        if (root.name != QLatin1String("reportProject"))
            fail(root, dv::text("o elemento principal deve ser <reportProject>, não <%1>").arg(root.name));
        if (root.has("version") && root.attr("version") != QLatin1String("1"))
            fail(root, dv::text("versão \"%1\" não suportada").arg(root.attr("version")));
        m_base.family = root.has("font") ? root.attr("font") : QStringLiteral("Arial");

        // Styles and shared bands first: pages may use them wherever they stand.
        for (const Node& n : root.children) {
            if (n.name == QLatin1String("style")) {
                const QString name = required(n, "name");
                if (m_styles.contains(name)) fail(n, dv::text("estilo \"%1\" repetido").arg(name));
                TextStyle s = m_base;
                applyStyle(n, s);
                m_styles.insert(name, s);
            }
        }
        for (const Node& n : root.children) {
            if (n.name == QLatin1String("band")) {
                const QString name = required(n, "name");
                if (m_shared.contains(name)) fail(n, dv::text("faixa \"%1\" repetida").arg(name));
                m_shared.insert(name, band(n, BandKind::Title));
            }
        }
        Project p;
        p.fileName = m_source;
        for (const Node& n : root.children) {
            if (n.name == QLatin1String("style") || n.name == QLatin1String("band")) continue;
            if (n.name != QLatin1String("report")) unknown(n);
            Report r = report(n);
            for (const Report& other : p.reports)
                if (other.name.compare(r.name, Qt::CaseInsensitive) == 0)
                    fail(n, dv::text("relatório \"%1\" repetido").arg(r.name));
            p.reports.append(std::move(r));
        }
        return p;
    }

    [[noreturn]] void fail(const Node& n, const QString& what) const { fail(n.line, what); }
    [[noreturn]] void fail(qint64 line, const QString& what) const {
        throw ReportError(dv::text("O projeto de relatórios \"%1\" é inválido (linha %2): %3.")
                              .arg(m_source)
                              .arg(line)
                              .arg(what));
    }

private:
    [[noreturn]] void unknown(const Node& n) const {
        fail(n, dv::text("elemento <%1> desconhecido aqui").arg(n.name));
    }

    QString required(const Node& n, const char* attribute) const {
        const QString v = n.attr(attribute).trimmed();
        if (v.isEmpty())
            fail(n, dv::text("<%1> sem o atributo \"%2\"").arg(n.name, QLatin1String(attribute)));
        return v;
    }

    double number(const Node& n, const char* attribute, double fallback, bool mustHave = false) const {
        if (!n.has(attribute)) {
            if (mustHave)
                fail(n, dv::text("<%1> sem o atributo \"%2\"").arg(n.name, QLatin1String(attribute)));
            return fallback;
        }
        bool ok = false;
        const double v = n.attr(attribute).trimmed().toDouble(&ok);
        if (!ok || v < 0)
            fail(n, dv::text("o atributo \"%1\" deve ser um número não negativo, não \"%2\"")
                        .arg(QLatin1String(attribute), n.attr(attribute)));
        return v;
    }

    std::optional<Length> length(const Node& n, const char* attribute, bool mustHave = false) const {
        if (!n.has(attribute)) {
            if (mustHave)
                fail(n, dv::text("<%1> sem o atributo \"%2\"").arg(n.name, QLatin1String(attribute)));
            return std::nullopt;
        }
        QString text = n.attr(attribute).trimmed();
        Length l;
        if (text.endsWith(QLatin1Char('%'))) {
            l.percent = true;
            text.chop(1);
        }
        bool ok = false;
        l.value = text.toDouble(&ok);
        if (!ok)
            fail(n, dv::text("o atributo \"%1\" deve ser um número ou uma porcentagem, não \"%2\"")
                        .arg(QLatin1String(attribute), n.attr(attribute)));
        return l;
    }

    bool flag(const Node& n, const char* attribute, bool fallback) const {
        if (!n.has(attribute)) return fallback;
        const QString v = n.attr(attribute).trimmed();
        if (v == QLatin1String("true")) return true;
        if (v == QLatin1String("false")) return false;
        fail(n, dv::text("o atributo \"%1\" deve ser true ou false").arg(QLatin1String(attribute)));
    }

    QColor color(const Node& n, const char* attribute) const {
        if (!n.has(attribute)) return QColor();
        const QColor c = QColor::fromString(n.attr(attribute).trimmed());
        if (!c.isValid())
            fail(n, dv::text("cor \"%1\" inválida no atributo \"%2\"")
                        .arg(n.attr(attribute), QLatin1String(attribute)));
        return c;
    }

    void applyStyle(const Node& n, TextStyle& s) const {
        if (n.has("font")) s.family = n.attr("font");
        if (n.has("size")) {
            s.size = number(n, "size", s.size);
            if (s.size <= 0) fail(n, dv::text("tamanho de letra inválido"));
        }
        s.bold = flag(n, "bold", s.bold);
        s.italic = flag(n, "italic", s.italic);
        s.underline = flag(n, "underline", s.underline);
        s.wrap = flag(n, "wrap", s.wrap);
        s.shrink = flag(n, "shrink", s.shrink);
        if (n.has("color")) s.color = color(n, "color");
        if (n.has("align")) {
            const QString a = n.attr("align");
            if (a == QLatin1String("left"))
                s.align = Align::Left;
            else if (a == QLatin1String("center"))
                s.align = Align::Center;
            else if (a == QLatin1String("right"))
                s.align = Align::Right;
            else
                fail(n, dv::text("alinhamento \"%1\" inválido").arg(a));
        }
        if (n.has("valign")) {
            const QString a = n.attr("valign");
            if (a == QLatin1String("top"))
                s.valign = VAlign::Top;
            else if (a == QLatin1String("middle"))
                s.valign = VAlign::Middle;
            else if (a == QLatin1String("bottom"))
                s.valign = VAlign::Bottom;
            else
                fail(n, dv::text("alinhamento vertical \"%1\" inválido").arg(a));
        }
    }

    void position(const Node& n, Item& item) const {
        item.x = length(n, "x");
        item.right = length(n, "right");
        item.w = length(n, "w");
        if (!item.x && !item.right) item.x = Length{};
        item.y = number(n, "y", 0);
        item.h = number(n, "h", 0, true);
    }

    Item textItem(const Node& n) const {
        Item item;
        item.kind = Item::Text;
        item.name = n.attr("name");
        position(n, item);
        item.style = m_base;
        if (n.has("style")) {
            const auto it = m_styles.constFind(n.attr("style"));
            if (it == m_styles.constEnd()) fail(n, dv::text("estilo \"%1\" não existe").arg(n.attr("style")));
            item.style = *it;
        }
        applyStyle(n, item.style);
        item.fill = color(n, "fill");
        try {
            item.text = ReportParser::parseTemplate(n.text.trimmed());
        } catch (const ReportError& e) {
            fail(n, e.message());
        }
        return item;
    }

    Item lineItem(const Node& n) const {
        Item item;
        item.kind = Item::Line;
        item.name = n.attr("name");
        item.x = length(n, "x1", true);
        item.y = number(n, "y1", 0, true);
        item.x2 = *length(n, "x2", true);
        item.y2 = number(n, "y2", 0, true);
        item.lineWidth = number(n, "width", item.lineWidth);
        if (n.has("color")) item.lineColor = color(n, "color");
        return item;
    }

    Item boxItem(const Node& n) const {
        Item item;
        item.kind = Item::Box;
        item.name = n.attr("name");
        position(n, item);
        item.fill = color(n, "fill");
        item.border = color(n, "border");
        item.lineWidth = number(n, "width", item.lineWidth);
        item.radius = number(n, "radius", 0);
        return item;
    }

    Item pictureItem(const Node& n) const {
        Item item;
        item.kind = Item::Picture;
        item.name = n.attr("name");
        position(n, item);
        if (n.has("field")) {
            const QString ref = n.attr("field").trimmed();
            const qsizetype dot = ref.indexOf(QLatin1Char('.'));
            if (dot <= 0 || dot == ref.size() - 1)
                fail(n, dv::text("o campo da figura deve ser conexão.campo, não \"%1\"").arg(ref));
            item.pictureConnection = ref.left(dot);
            item.pictureField = ref.mid(dot + 1);
        }
        item.fileLink = n.attr("file");
        if (n.has("fit")) {
            const QString f = n.attr("fit");
            if (f == QLatin1String("proportional"))
                item.fit = Fit::Proportional;
            else if (f == QLatin1String("stretch"))
                item.fit = Fit::Stretch;
            else if (f == QLatin1String("center"))
                item.fit = Fit::Center;
            else
                fail(n, dv::text("ajuste \"%1\" inválido").arg(f));
        }
        item.border = color(n, "border");
        item.lineWidth = number(n, "width", item.lineWidth);
        return item;
    }

    Band band(const Node& n, BandKind kind) const {
        if (n.has("use")) {
            const auto it = m_shared.constFind(n.attr("use"));
            if (it == m_shared.constEnd()) fail(n, dv::text("faixa \"%1\" não existe").arg(n.attr("use")));
            Band b = *it;
            b.kind = kind;
            if (n.has("height")) b.height = number(n, "height", b.height);
            if (n.has("fill")) b.fill = color(n, "fill");
            return b;
        }
        Band b;
        b.kind = kind;
        b.height = number(n, "height", 0, true);
        if (b.height <= 0) fail(n, dv::text("a altura da faixa deve ser maior que zero"));
        b.fill = color(n, "fill");
        b.stripe = color(n, "stripe");
        for (const Node& c : n.children) {
            if (c.name == QLatin1String("text"))
                b.items.append(textItem(c));
            else if (c.name == QLatin1String("line"))
                b.items.append(lineItem(c));
            else if (c.name == QLatin1String("box"))
                b.items.append(boxItem(c));
            else if (c.name == QLatin1String("picture"))
                b.items.append(pictureItem(c));
            else
                unknown(c);
        }
        return b;
    }

    void setBand(const Node& n, std::optional<Band>& slot, BandKind kind) const {
        if (slot) fail(n, dv::text("<%1> repetido na página").arg(n.name));
        slot = band(n, kind);
    }

    // "campo [asc|desc], campo|day ..." over fields of the detail connection.
    QList<Page::SortKey> sortKeys(const Node& n, const QString& connection) const {
        QList<Page::SortKey> keys;
        for (const QString& entry : n.attr("sort").split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const QStringList words = entry.simplified().split(QLatin1Char(' '));
            Page::SortKey k;
            QString ref = words.first();
            const qsizetype bar = ref.indexOf(QLatin1Char('|'));
            if (bar >= 0) {
                k.part = ref.mid(bar + 1).toLower();
                ref = ref.left(bar);
                if (k.part != QLatin1String("day") && k.part != QLatin1String("month"))
                    fail(n, dv::text("ordem por \"%1\": a parte deve ser day ou month").arg(k.part));
            }
            const qsizetype dot = ref.indexOf(QLatin1Char('.'));
            if (dot >= 0) {
                if (ref.left(dot).compare(connection, Qt::CaseInsensitive) != 0)
                    fail(n, dv::text("a ordem \"%1\" não é da conexão \"%2\"").arg(ref, connection));
                ref = ref.mid(dot + 1);
            }
            k.field = ref;
            if (words.size() > 2 ||
                (words.size() == 2 && words[1].compare(QLatin1String("asc"), Qt::CaseInsensitive) != 0 &&
                 words[1].compare(QLatin1String("desc"), Qt::CaseInsensitive) != 0))
                fail(n, dv::text("ordem \"%1\": use campo, campo asc ou campo desc").arg(entry.trimmed()));
            k.descending =
                words.size() == 2 && words[1].compare(QLatin1String("desc"), Qt::CaseInsensitive) == 0;
            keys.append(k);
        }
        return keys;
    }

    // A field of the detail connection, written with or without the connection's name.
    QString detailField(const Node& n, const QString& connection) const {
        QString ref = required(n, "field");
        const qsizetype dot = ref.indexOf(QLatin1Char('.'));
        if (dot >= 0) {
            if (ref.left(dot).compare(connection, Qt::CaseInsensitive) != 0)
                fail(n, dv::text("o campo \"%1\" não é da conexão da faixa de detalhe \"%2\"")
                            .arg(ref, connection));
            ref = ref.mid(dot + 1);
        }
        return ref;
    }

    Page page(const Node& n, const QString& defaultName) const {
        Page p;
        p.name = n.has("name") ? n.attr("name").trimmed() : defaultName;
        if (n.has("size")) {
            const QString s = n.attr("size").toUpper();
            if (s == QLatin1String("A4"))
                p.size = QPageSize::A4;
            else if (s == QLatin1String("A5"))
                p.size = QPageSize::A5;
            else if (s == QLatin1String("LETTER"))
                p.size = QPageSize::Letter;
            else if (s == QLatin1String("LEGAL"))
                p.size = QPageSize::Legal;
            else
                fail(n, dv::text("tamanho de papel \"%1\" desconhecido").arg(n.attr("size")));
        }
        if (n.has("orientation")) {
            const QString o = n.attr("orientation");
            if (o == QLatin1String("portrait"))
                p.orientation = QPageLayout::Portrait;
            else if (o == QLatin1String("landscape"))
                p.orientation = QPageLayout::Landscape;
            else
                fail(n, dv::text("orientação \"%1\" inválida").arg(o));
        }
        if (n.has("margins")) {
            const QStringList parts = n.attr("margins").split(QLatin1Char(' '), Qt::SkipEmptyParts);
            QList<double> m;
            bool valid = parts.size() == 4;
            for (const QString& part : parts) {
                bool ok = false;
                m.append(part.toDouble(&ok));
                valid = valid && ok && m.last() >= 0;
            }
            if (!valid)
                fail(n, dv::text("as margens são quatro números: superior, direita, inferior, esquerda"));
            p.margins = QMarginsF(m[3], m[0], m[1], m[2]);
        }
        p.columns = int(number(n, "columns", 1));
        if (p.columns < 1) fail(n, dv::text("o número de colunas deve ser ao menos 1"));
        p.columnGap = number(n, "column-gap", 0);
        const QRectF content = p.contentRect();
        if (content.width() < 10 || content.height() < 10)
            fail(n, dv::text("as margens não deixam espaço na página"));

        // The detail names the connection the groups and sums refer to.
        for (const Node& c : n.children) {
            if (c.name != QLatin1String("detail")) continue;
            setBand(c, p.detail, BandKind::Detail);
            p.connection = required(c, "connection");
            const QString rows = c.has("rows") ? c.attr("rows") : QStringLiteral("all");
            if (rows == QLatin1String("current"))
                p.currentRowOnly = true;
            else if (rows != QLatin1String("all"))
                fail(c, dv::text("rows deve ser all ou current"));
            if (c.has("sort")) p.sort = sortKeys(c, p.connection);
        }
        for (const Node& c : n.children) {
            const QString& k = c.name;
            if (k == QLatin1String("detail")) continue;
            if (k == QLatin1String("pageHeader"))
                setBand(c, p.pageHeader, BandKind::PageHeader);
            else if (k == QLatin1String("title"))
                setBand(c, p.title, BandKind::Title);
            else if (k == QLatin1String("columnHeader"))
                setBand(c, p.columnHeader, BandKind::ColumnHeader);
            else if (k == QLatin1String("noData"))
                setBand(c, p.noData, BandKind::NoData);
            else if (k == QLatin1String("summary"))
                setBand(c, p.summary, BandKind::Summary);
            else if (k == QLatin1String("pageFooter"))
                setBand(c, p.pageFooter, BandKind::PageFooter);
            else if (k == QLatin1String("group")) {
                if (!p.detail) fail(c, dv::text("um grupo precisa de uma faixa <detail>"));
                Group g;
                g.name = required(c, "name");
                g.field = detailField(c, p.connection);
                for (const Group& other : p.groups)
                    if (other.name == g.name) fail(c, dv::text("grupo \"%1\" repetido").arg(g.name));
                for (const Node& gc : c.children) {
                    if (gc.name == QLatin1String("groupHeader"))
                        setBand(gc, g.header, BandKind::GroupHeader);
                    else if (gc.name == QLatin1String("groupFooter"))
                        setBand(gc, g.footer, BandKind::GroupFooter);
                    else
                        unknown(gc);
                }
                p.groups.append(g);
            } else if (k == QLatin1String("sum") || k == QLatin1String("count")) {
                Aggregate a;
                a.kind = k == QLatin1String("sum") ? Aggregate::Sum : Aggregate::Count;
                a.name = required(c, "name");
                if (reservedNames().contains(a.name) || a.name.contains(QLatin1Char('.')))
                    fail(c, dv::text("\"%1\" não pode ser nome de total").arg(a.name));
                for (const Aggregate& other : p.aggregates)
                    if (other.name == a.name) fail(c, dv::text("total \"%1\" repetido").arg(a.name));
                if (!p.detail) fail(c, dv::text("um total precisa de uma faixa <detail>"));
                if (a.kind == Aggregate::Sum) a.field = detailField(c, p.connection);
                a.reset = c.attr("reset").trimmed();
                if (a.reset == QLatin1String("report")) a.reset.clear();
                p.aggregates.append(a);
            } else {
                unknown(c);
            }
        }
        if (p.noData && !p.detail) fail(n, dv::text("<noData> precisa de uma faixa <detail>"));
        for (const Aggregate& a : p.aggregates) {
            if (a.reset.isEmpty()) continue;
            bool found = false;
            for (const Group& g : p.groups)
                found = found || g.name == a.reset;
            if (!found)
                fail(
                    n,
                    dv::text("o total \"%1\" reinicia no grupo \"%2\", que não existe").arg(a.name, a.reset));
        }
        checkAggregateReferences(n, p);
        return p;
    }

    void checkAggregateReferences(const Node& n, const Page& p) const {
        auto check = [&](const std::optional<Band>& b) {
            if (!b) return;
            for (const Item& item : b->items)
                for (const Token& t : item.text.tokens) {
                    if (t.kind != Token::Aggregate) continue;
                    bool found = false;
                    for (const Aggregate& a : p.aggregates)
                        found = found || a.name == t.name;
                    if (!found)
                        fail(n, dv::text("a página \"%1\" não tem o total \"%2\" usado em \"%3\"")
                                    .arg(p.name, t.name, item.text.source));
                }
        };
        for (const auto* b :
             {&p.pageHeader, &p.title, &p.columnHeader, &p.detail, &p.noData, &p.summary, &p.pageFooter})
            check(*b);
        for (const Group& g : p.groups) {
            check(g.header);
            check(g.footer);
        }
    }

    Report report(const Node& n) const {
        Report r;
        r.name = required(n, "name");
        for (const Node& c : n.children) {
            if (c.name == QLatin1String("description")) {
                // The file's indentation and line breaks are not part of the text: lines
                // run together into paragraphs, which a blank line separates.
                QStringList paragraphs{QString()};
                for (const QString& raw : c.text.split(QLatin1Char('\n'))) {
                    const QString line = raw.simplified();
                    if (line.isEmpty()) {
                        if (!paragraphs.last().isEmpty()) paragraphs << QString();
                    } else {
                        QString& last = paragraphs.last();
                        last += (last.isEmpty() ? QString() : QStringLiteral(" ")) + line;
                    }
                }
                if (paragraphs.last().isEmpty()) paragraphs.removeLast();
                r.description = paragraphs.join(QLatin1Char('\n'));
            } else if (c.name == QLatin1String("page")) {
                Page p = page(c, r.name + QStringLiteral(".Page") + QString::number(r.pages.size() + 1));
                for (const Page& other : r.pages)
                    if (other.name == p.name) fail(c, dv::text("página \"%1\" repetida").arg(p.name));
                r.pages.append(std::move(p));
            } else {
                unknown(c);
            }
        }
        if (r.pages.isEmpty()) fail(n, dv::text("o relatório \"%1\" não tem páginas").arg(r.name));
        return r;
    }

    QString m_source;
    TextStyle m_base;
    QHash<QString, TextStyle> m_styles;
    QHash<QString, Band> m_shared;
};

} // namespace

Project ReportParser::parse(const QByteArray& data, const QString& sourceName) {
    QXmlStreamReader xml(data);
    Parser parser(sourceName);
    Node root;
    bool haveRoot = false;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (haveRoot) break;
            root = readNode(xml);
            haveRoot = true;
        }
    }
    if (xml.hasError()) parser.fail(xml.lineNumber(), dv::text("XML malformado, %1").arg(xml.errorString()));
    if (!haveRoot) parser.fail(1, dv::text("o arquivo está vazio"));
    return parser.project(root);
}

Project ReportParser::parseFile(const QString& fileName) {
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        throw ReportError(dv::text("Não foi possível abrir o projeto de relatórios \"%1\": %2.")
                              .arg(QFileInfo(fileName).absoluteFilePath(), f.errorString()));
    return parse(f.readAll(), QFileInfo(fileName).absoluteFilePath());
}

bool ReportParser::isKnownFormat(const QString& format) {
    static const QSet<QString> plain{QString(),
                                     QStringLiteral("date"),
                                     QStringLiteral("datetime"),
                                     QStringLiteral("time"),
                                     QStringLiteral("money"),
                                     QStringLiteral("number"),
                                     QStringLiteral("integer"),
                                     QStringLiteral("flag"),
                                     QStringLiteral("upper"),
                                     QStringLiteral("month"),
                                     QStringLiteral("cpf"),
                                     QStringLiteral("cnpj"),
                                     QStringLiteral("cep")};
    if (plain.contains(format)) return true;
    return (format.startsWith(QLatin1String("date:")) || format.startsWith(QLatin1String("number:"))) &&
           format.indexOf(QLatin1Char(':')) < format.size() - 1;
}

TextTemplate ReportParser::parseTemplate(const QString& source) {
    TextTemplate t;
    t.source = source;
    QString literal;
    bool inOptional = false;
    auto flush = [&] {
        if (!literal.isEmpty()) t.tokens.append(Token{Token::Literal, literal, {}, {}});
        literal.clear();
    };
    for (qsizetype i = 0; i < source.size(); ++i) {
        const QChar c = source.at(i);
        const QChar next = i + 1 < source.size() ? source.at(i + 1) : QChar();
        if ((c == QLatin1Char('{') || c == QLatin1Char('}') || c == QLatin1Char('[') ||
             c == QLatin1Char(']')) &&
            next == c) {
            literal += c;
            ++i;
            continue;
        }
        if (c == QLatin1Char('[') || c == QLatin1Char(']')) {
            const bool open = c == QLatin1Char('[');
            if (open == inOptional)
                throw ReportError(open ? dv::text("'[' dentro de outro '[' em \"%1\"").arg(source)
                                       : dv::text("']' sem '[' em \"%1\"").arg(source));
            flush();
            t.tokens.append(Token{open ? Token::OptionalBegin : Token::OptionalEnd, {}, {}, {}});
            inOptional = open;
            continue;
        }
        if (c == QLatin1Char('}')) throw ReportError(dv::text("'}' sem '{' em \"%1\"").arg(source));
        if (c != QLatin1Char('{')) {
            literal += c;
            continue;
        }
        const qsizetype end = source.indexOf(QLatin1Char('}'), i + 1);
        if (end < 0) throw ReportError(dv::text("'{' sem '}' em \"%1\"").arg(source));
        const QString inner = source.mid(i + 1, end - i - 1);
        i = end;
        const qsizetype bar = inner.indexOf(QLatin1Char('|'));
        const QString ref = (bar < 0 ? inner : inner.left(bar)).trimmed();
        const QString format = bar < 0 ? QString() : inner.mid(bar + 1).trimmed();
        if (!isKnownFormat(format))
            throw ReportError(dv::text("formato \"%1\" desconhecido em \"%2\"").arg(format, source));
        Token token;
        const qsizetype dot = ref.indexOf(QLatin1Char('.'));
        if (dot >= 0) {
            if (dot == 0 || dot == ref.size() - 1)
                throw ReportError(dv::text("referência \"{%1}\" inválida").arg(inner));
            token.kind = Token::Field;
            token.text = ref.left(dot);
            token.name = ref.mid(dot + 1);
        } else if (ref == QLatin1String("page")) {
            token.kind = Token::PageNumber;
        } else if (ref == QLatin1String("pages")) {
            token.kind = Token::PageCount;
        } else if (ref == QLatin1String("printDate")) {
            token.kind = Token::PrintDate;
        } else if (ref == QLatin1String("printTime")) {
            token.kind = Token::PrintTime;
        } else if (ref == QLatin1String("report")) {
            token.kind = Token::ReportName;
        } else if (!ref.isEmpty()) {
            token.kind = Token::Aggregate;
            token.name = ref;
        } else {
            throw ReportError(dv::text("referência vazia em \"%1\"").arg(source));
        }
        token.format = format;
        flush();
        t.tokens.append(token);
    }
    if (inOptional) throw ReportError(dv::text("'[' sem ']' em \"%1\"").arg(source));
    flush();
    return t;
}

} // namespace dv::report

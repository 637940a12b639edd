#include "ReportDocument.h"
#include "ReportError.h"
#include "core/CodeTexts.h"
#include <QFileInfo>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSvgRenderer>
#include <memory>
#include <unordered_map>

namespace dv {

namespace {

// What painting one device needs again and again: fonts and their metrics per
// style, decoded pictures (the company logo is the same on every sheet; one
// image object lets the PDF hold it once).
class PaintCache {
public:
    PaintCache(const ReportDocument& doc, QPaintDevice* device) : m_doc(doc), m_device(device) {}

    struct Font {
        QFont font;
        std::unique_ptr<QFontMetricsF> metrics;
    };
    const Font& font(int style) {
        auto it = m_fonts.find(style);
        if (it != m_fonts.end()) return *it->second;
        const report::TextStyle& s = m_doc.styles().at(style);
        auto f = std::make_unique<Font>();
        QStringList families{s.family};
        // Clinics have Arial; elsewhere the metric-compatible faces stand in.
        for (const char* fallback : {"Arial", "Liberation Sans", "Nimbus Sans", "DejaVu Sans"})
            if (!families.contains(QLatin1String(fallback))) families.append(QLatin1String(fallback));
        f->font.setFamilies(families);
        f->font.setPointSizeF(s.size);
        f->font.setBold(s.bold);
        f->font.setItalic(s.italic);
        f->font.setUnderline(s.underline);
        f->metrics = std::make_unique<QFontMetricsF>(f->font, m_device);
        return *m_fonts.emplace(style, std::move(f)).first->second;
    }

    // Null image for a picture that cannot be read; SVG files come back as a renderer.
    const QImage& image(int index, QSvgRenderer** svg) {
        *svg = nullptr;
        const ReportDocument::Picture& p = m_doc.pictures()[size_t(index)];
        QString key;
        if (!p.file.isEmpty()) {
            key = QStringLiteral("f:") + p.file;
            if (p.file.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
                auto it = m_svgs.find(key);
                if (it == m_svgs.end())
                    it = m_svgs.emplace(key, std::make_unique<QSvgRenderer>(p.file)).first;
                if (it->second->isValid()) *svg = it->second.get();
                return m_none;
            }
        } else {
            key = QStringLiteral("b:%1:%2").arg(qHash(p.bytes)).arg(p.bytes.size());
        }
        auto it = m_images.constFind(key);
        if (it == m_images.constEnd())
            it = m_images.insert(key, p.file.isEmpty() ? QImage::fromData(p.bytes) : QImage(p.file));
        return *it;
    }

private:
    const ReportDocument& m_doc;
    QPaintDevice* m_device;
    std::unordered_map<int, std::unique_ptr<Font>> m_fonts;
    QHash<QString, QImage> m_images;
    std::unordered_map<QString, std::unique_ptr<QSvgRenderer>> m_svgs;
    QImage m_none;
};

QColor rgba(QRgb c) {
    return QColor::fromRgba(c);
}

QRectF fitted(const QSizeF& natural, const QRectF& box, report::Fit fit, double dotsPerMm) {
    switch (fit) {
    case report::Fit::Stretch:
        return box;
    case report::Fit::Center: {
        // Pixels as the screen shows them, 96 to the inch.
        const QSizeF s = natural * (25.4 / 96.0) * dotsPerMm;
        return QRectF(box.center() - QPointF(s.width() / 2, s.height() / 2), s);
    }
    case report::Fit::Proportional:
    default: {
        const QSizeF s = natural.scaled(box.size(), Qt::KeepAspectRatio);
        return QRectF(box.center() - QPointF(s.width() / 2, s.height() / 2), s);
    }
    }
}

void paintOps(QPainter& painter, const ReportDocument& doc, const ReportDocument::Sheet& sheet,
              PaintCache& cache, double dpm, const QString& pageCount) {
    auto dev = [dpm](const QRectF& r) {
        return QRectF(r.x() * dpm, r.y() * dpm, r.width() * dpm, r.height() * dpm);
    };
    const double pad = 0.6 * dpm;
    for (const ReportDocument::Op& op : sheet.ops) {
        switch (op.kind) {
        case ReportDocument::Op::Text: {
            const QRectF r = dev(op.rect);
            if (qAlpha(op.fill)) painter.fillRect(r, rgba(op.fill));
            if (op.text.isEmpty()) break;
            const report::TextStyle& s = doc.styles().at(op.index);
            const PaintCache::Font& f = cache.font(op.index);
            painter.setFont(f.font);
            painter.setPen(s.color);
            QString text = op.text;
            if (text.contains(ReportDocument::PageCountMarker))
                text.replace(ReportDocument::PageCountMarker, pageCount);
            int flags = s.align == report::Align::Left    ? Qt::AlignLeft
                        : s.align == report::Align::Right ? Qt::AlignRight
                                                          : Qt::AlignHCenter;
            flags |= s.valign == report::VAlign::Top      ? Qt::AlignTop
                     : s.valign == report::VAlign::Bottom ? Qt::AlignBottom
                                                          : Qt::AlignVCenter;
            const QRectF inner = r.adjusted(pad, 0, -pad, 0);
            if (s.wrap || text.contains(QLatin1Char('\n'))) {
                painter.save();
                painter.setClipRect(r);
                painter.drawText(inner, flags | Qt::TextWordWrap, text);
                painter.restore();
            } else {
                if (f.metrics->horizontalAdvance(text) > inner.width()) {
                    if (s.shrink) {
                        // Phones, e-mails and city names are read whole: smaller letters first.
                        QFont smaller = f.font;
                        const double full = f.font.pointSizeF();
                        double size = full * inner.width() / f.metrics->horizontalAdvance(text);
                        for (;; size *= 0.97) {
                            smaller.setPointSizeF(qMax(size, full * 0.6));
                            if (QFontMetricsF(smaller, painter.device()).horizontalAdvance(text) <=
                                    inner.width() ||
                                size <= full * 0.6)
                                break;
                        }
                        painter.setFont(smaller);
                        const QFontMetricsF metrics(smaller, painter.device());
                        if (metrics.horizontalAdvance(text) > inner.width())
                            text = metrics.elidedText(text, Qt::ElideRight, inner.width());
                    } else {
                        text = f.metrics->elidedText(text, Qt::ElideRight, inner.width());
                    }
                }
                painter.drawText(inner, flags | Qt::TextSingleLine, text);
            }
            break;
        }
        case ReportDocument::Op::Line: {
            painter.setPen(QPen(rgba(op.color), op.width * dpm, Qt::SolidLine, Qt::FlatCap));
            painter.drawLine(QPointF(op.rect.left() * dpm, op.rect.top() * dpm),
                             QPointF(op.rect.right() * dpm, op.rect.bottom() * dpm));
            break;
        }
        case ReportDocument::Op::Box: {
            const QRectF r = dev(op.rect);
            painter.setPen(qAlpha(op.color) ? QPen(rgba(op.color), op.width * dpm) : QPen(Qt::NoPen));
            painter.setBrush(qAlpha(op.fill) ? QBrush(rgba(op.fill)) : QBrush(Qt::NoBrush));
            if (op.radius > 0)
                painter.drawRoundedRect(r, op.radius * dpm, op.radius * dpm);
            else
                painter.drawRect(r);
            painter.setBrush(Qt::NoBrush);
            break;
        }
        case ReportDocument::Op::Picture: {
            const QRectF box = dev(op.rect);
            const ReportDocument::Picture& p = doc.pictures()[size_t(op.index)];
            QSvgRenderer* svg = nullptr;
            const QImage& image = cache.image(op.index, &svg);
            painter.save();
            painter.setClipRect(box);
            if (svg)
                svg->render(&painter, fitted(svg->defaultSize(), box, p.fit, dpm));
            else if (!image.isNull())
                painter.drawImage(fitted(image.size(), box, p.fit, dpm), image);
            painter.restore();
            if (qAlpha(op.color)) {
                painter.setPen(QPen(rgba(op.color), op.width * dpm));
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(box);
            }
            break;
        }
        }
    }
}

double dotsPerMm(const QPainter& painter) {
    return painter.device()->logicalDpiX() / 25.4;
}

} // namespace

QPageLayout ReportDocument::pageLayout(int index) const {
    const Sheet& s = sheet(index);
    return QPageLayout(QPageSize(s.size), s.orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

void ReportDocument::paintSheet(QPainter& painter, int index) const {
    PaintCache cache(*this, painter.device());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    paintOps(painter, *this, sheet(index), cache, dotsPerMm(painter), QString::number(pageCount()));
}

void ReportDocument::print(QPagedPaintDevice& device) const {
    if (m_sheets.empty()) return;
    QList<int> order;
    int from = 0, to = pageCount() - 1, copies = 1;
    bool collate = true;
    // Printers other than the PDF engine (the preview among them) keep the first
    // sheet's paper for the whole job.
    bool layoutPerSheet = true;
    if (auto* printer = dynamic_cast<QPrinter*>(&device)) {
        layoutPerSheet = printer->paintEngine() && printer->paintEngine()->type() == QPaintEngine::Pdf;
        printer->setFullPage(true);
        if (printer->printRange() == QPrinter::PageRange && printer->fromPage() > 0) {
            from = qBound(0, printer->fromPage() - 1, to);
            to = qBound(from, printer->toPage() > 0 ? printer->toPage() - 1 : to, to);
        }
        if (!printer->supportsMultipleCopies()) {
            copies = qMax(1, printer->copyCount());
            collate = printer->collateCopies();
        }
    }
    for (int c = 0; c < (collate ? copies : 1); ++c)
        for (int i = from; i <= to; ++i)
            for (int k = 0; k < (collate ? 1 : copies); ++k)
                order.append(i);

    device.setPageLayout(pageLayout(order.first()));
    QPainter painter;
    if (!painter.begin(&device))
        throw ReportError(dv::text("Não foi possível imprimir o relatório \"%1\".").arg(m_name));
    PaintCache cache(*this, &device);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QString count = QString::number(pageCount());
    for (int n = 0; n < order.size(); ++n) {
        if (n > 0) {
            const QPageLayout next = pageLayout(order[n]);
            if (layoutPerSheet && !next.isEquivalentTo(device.pageLayout())) device.setPageLayout(next);
            device.newPage();
        }
        paintOps(painter, *this, sheet(order[n]), cache, dotsPerMm(painter), count);
    }
    painter.end();
}

void ReportDocument::writePdf(const QString& fileName) const {
    QPdfWriter writer(fileName);
    writer.setResolution(600);
    writer.setTitle(m_name);
    writer.setCreator(QStringLiteral("Dentrivale"));
    if (m_sheets.empty()) {
        // An empty report still gives a valid file, one blank sheet.
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        QPainter painter;
        if (!painter.begin(&writer))
            throw ReportError(dv::text("Não foi possível gravar o arquivo \"%1\".").arg(fileName));
        return;
    }
    try {
        print(writer);
    } catch (const ReportError&) {
        throw ReportError(dv::text("Não foi possível gravar o arquivo \"%1\".")
                              .arg(QFileInfo(fileName).absoluteFilePath()));
    }
}

int ReportDocument::addStyle(const report::TextStyle& style) {
    m_styles.append(style);
    return int(m_styles.size()) - 1;
}

int ReportDocument::addPicture(Picture picture) {
    m_pictures.push_back(std::move(picture));
    return int(m_pictures.size()) - 1;
}

ReportDocument::Sheet& ReportDocument::addSheet(QPageSize::PageSizeId size,
                                                QPageLayout::Orientation orientation) {
    m_sheets.push_back(Sheet{size, orientation, {}});
    return m_sheets.back();
}

} // namespace dv

#include "ReportModel.h"

namespace dv::report {

double Item::left(double bandWidth) const {
    if (x) return x->resolve(bandWidth);
    if (right) return bandWidth - right->resolve(bandWidth) - width(bandWidth);
    return 0;
}

double Item::width(double bandWidth) const {
    if (w) return w->resolve(bandWidth);
    if (x && right) return bandWidth - x->resolve(bandWidth) - right->resolve(bandWidth);
    return bandWidth - (x ? x->resolve(bandWidth) : 0);
}

QSizeF Page::paperSize() const {
    const QSizeF s = QPageSize(size).size(QPageSize::Millimeter);
    return orientation == QPageLayout::Landscape ? s.transposed() : s;
}

QRectF Page::contentRect() const {
    const QSizeF s = paperSize();
    return QRectF(margins.left(), margins.top(), s.width() - margins.left() - margins.right(),
                  s.height() - margins.top() - margins.bottom());
}

const Report* Project::report(const QString& name) const {
    for (const Report& r : reports)
        if (r.name == name) return &r;
    for (const Report& r : reports)
        if (r.name.compare(name, Qt::CaseInsensitive) == 0) return &r;
    return nullptr;
}

Report* Project::report(const QString& name) {
    return const_cast<Report*>(static_cast<const Project*>(this)->report(name));
}

} // namespace dv::report

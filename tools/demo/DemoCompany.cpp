#include "DemoParts.h"
#include "core/db/DbErrors.h"
#include "core/db/Engine.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <vector>

namespace dv::demo {

namespace {

// The clinic's logo: a tooth in a circle and the clinic's name beside it.
QByteArray drawLogo() {
    QImage img(360, 120, QImage::Format_ARGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        const QColor teal(0x13, 0x8d, 0x90);
        p.setPen(Qt::NoPen);
        p.setBrush(teal);
        p.drawEllipse(QRectF(10, 10, 100, 100));
        QPainterPath tooth;
        tooth.moveTo(38, 38);
        tooth.cubicTo(38, 24, 56, 26, 60, 32);
        tooth.cubicTo(64, 26, 82, 24, 82, 38);
        tooth.cubicTo(82, 56, 76, 62, 74, 86);
        tooth.cubicTo(72, 96, 66, 94, 65, 84);
        tooth.cubicTo(64, 72, 56, 72, 55, 84);
        tooth.cubicTo(54, 94, 48, 96, 46, 86);
        tooth.cubicTo(44, 62, 38, 56, 38, 38);
        p.setBrush(Qt::white);
        p.drawPath(tooth);
        p.setPen(teal);
        QFont big(QStringLiteral("DejaVu Sans"), 22, QFont::Bold);
        p.setFont(big);
        p.drawText(QRectF(122, 22, 236, 40), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Sorriso do Vale"));
        p.setPen(QColor(0x55, 0x55, 0x55));
        QFont small(QStringLiteral("DejaVu Sans"), 11);
        p.setFont(small);
        p.drawText(QRectF(124, 64, 236, 30), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromUtf8("Clínica Odontológica"));
    }
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    if (!img.save(&buf, "PNG")) throw PlainError(QStringLiteral("cannot draw the demo clinic's logo"));
    return bytes;
}

} // namespace

void brandCompany(Connection& c) {
    c.execute(QStringLiteral("update empresa set empresa_logo = :logo"),
              {{QStringLiteral("logo"), ParamType::Blob, drawLogo()}});
}

void staffDentists(Connection& c) {
    // Every dentist of the demo sees patients (the generator retires its last one),
    // under a name that does not end in "da", "dos", ... where it was cut short.
    static const QStringList particles = {"da", "das", "de", "do", "dos", "e"};
    std::vector<std::pair<qint64, QString>> names;
    auto q = c.query(QStringLiteral("select dentista_id, dentista_nome from dentista order by dentista_id"));
    while (q->next()) {
        QStringList words = text(*q, 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        while (words.size() > 2 && particles.contains(words.last()))
            words.removeLast();
        names.emplace_back(q->integer(0), words.join(QLatin1Char(' ')));
    }
    for (const auto& [id, name] : names)
        c.execute(QStringLiteral(
                      "update dentista set dentista_ativo = 'S', dentista_nome = :n where dentista_id = :id"),
                  {string("n", name), integer("id", id)});
    // Weekdays 08:00-17:30 with a lunch break; the first dentist also on Saturday mornings.
    c.execute(QStringLiteral("delete from horario"));
    for (size_t d = 0; d < names.size(); ++d)
        for (int weekday = 1; weekday <= (d == 0 ? 6 : 5); ++weekday)
            for (int m = 8 * 60; m < (weekday == 6 ? 12 * 60 : 18 * 60); m += 30) {
                if (m >= 12 * 60 && m < 13 * 60 + 30) continue;
                c.execute(QStringLiteral(
                              "insert into horario (hora_id, dentista_id, dia_id) values (:h, :d, :dia)"),
                          {string("h", QStringLiteral("%1:%2")
                                           .arg(m / 60, 2, 10, QLatin1Char('0'))
                                           .arg(m % 60, 2, 10, QLatin1Char('0'))),
                           integer("d", names[d].first), integer("dia", weekday)});
            }
}

} // namespace dv::demo

#include "odontopictures.h"
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace odonto {

namespace {

// Treatment to be done is red, what the mouth already shows (an absent tooth) blue.
const QColor kTodo(0xD0, 0x1F, 0x2A);
const QColor kPresent(0x1F, 0x4F, 0xBF);
const QColor kOutline(0x8A, 0x77, 0x60);
const QColor kDiagram(0x70, 0x70, 0x70);
const QColor kChartGray(0x9A, 0x9A, 0x9A);

// Where a tooth is drawn in the odontogram's slots and icons.
constexpr int kToothW = 37;
constexpr int kToothH = 75;
constexpr int kFace = 29;

enum class Kind { Incisor, Canine, Premolar, Molar };

struct Tooth {
    int number = 0;
    bool upper = true;
    bool deciduous = false;
    Kind kind = Kind::Molar;
    int position = 6; // 1 central incisor .. 8 third molar
};

Tooth describe(int number) {
    Tooth t;
    t.number = number;
    const int q = number / 10, d = number % 10;
    t.upper = q == 1 || q == 2 || q == 5 || q == 6;
    t.deciduous = q >= 5;
    t.position = d;
    if (d <= 2)
        t.kind = Kind::Incisor;
    else if (d == 3)
        t.kind = Kind::Canine;
    else if (d <= 5 && !t.deciduous)
        t.kind = Kind::Premolar;
    else
        t.kind = Kind::Molar;
    return t;
}

// A tooth drawn crown up (a lower tooth) in a 37 x 75 box from (0, 0); an upper
// tooth is the same drawing mirrored top to bottom.
struct ToothShape {
    QPainterPath crown;
    QPainterPath roots;
    QPainterPath cervical; // the line between crown and roots
};

ToothShape shape(const Tooth& t) {
    double w = 26, ch = 26, rl = 42;
    int rootCount = 1;
    switch (t.kind) {
    case Kind::Incisor:
        w = t.upper ? (t.position == 1 ? 30 : 25) : (t.position == 1 ? 21 : 23);
        ch = 28;
        rl = 40;
        break;
    case Kind::Canine:
        w = 27;
        ch = 28;
        rl = 44;
        break;
    case Kind::Premolar:
        w = 26;
        ch = 25;
        rl = 40;
        rootCount = t.upper && t.position == 4 ? 2 : 1;
        break;
    case Kind::Molar:
        w = t.position == 8 ? 31 : 34;
        ch = 23;
        rl = 38;
        rootCount = t.upper ? 3 : 2;
        break;
    }
    if (t.deciduous) {
        w *= t.kind == Kind::Molar ? 0.9 : 0.82;
        ch *= 0.82;
        rl *= t.kind == Kind::Molar ? 0.8 : 0.85;
    }
    const double cx = kToothW / 2.0, top = 2, yc = top + ch, cw = w * (t.kind == Kind::Molar ? 0.8 : 0.7);
    ToothShape s;
    QPainterPath& c = s.crown;
    c.moveTo(cx - cw / 2, yc);
    c.cubicTo(cx - w / 2 - 0.5, yc - ch * 0.3, cx - w / 2, top + ch * 0.35, cx - w / 2 + 1.5, top + 3);
    switch (t.kind) {
    case Kind::Incisor:
        c.quadTo(cx - w / 2 + 2, top, cx - w / 2 + 4, top);
        c.lineTo(cx + w / 2 - 4, top);
        c.quadTo(cx + w / 2 - 2, top, cx + w / 2 - 1.5, top + 3);
        break;
    case Kind::Canine:
        c.quadTo(cx - w / 4, top + 2, cx, top - 1.5);
        c.quadTo(cx + w / 4, top + 2, cx + w / 2 - 1.5, top + 3);
        break;
    case Kind::Premolar:
        c.quadTo(cx - w / 4, top - 3, cx, top + 3.5);
        c.quadTo(cx + w / 4, top - 2, cx + w / 2 - 1.5, top + 3);
        break;
    case Kind::Molar: {
        const int cusps = 3;
        const double step = (w - 3) / cusps;
        double x = cx - w / 2 + 1.5;
        for (int i = 0; i < cusps; ++i) {
            c.quadTo(x + step / 2, top - 3, x + step, top + (i == cusps - 1 ? 3 : 3.5));
            x += step;
        }
        break;
    }
    }
    c.cubicTo(cx + w / 2, top + ch * 0.35, cx + w / 2 + 0.5, yc - ch * 0.3, cx + cw / 2, yc);
    c.quadTo(cx, yc + 2.5, cx - cw / 2, yc);
    c.closeSubpath();

    const double apex = qMin(yc + rl, double(kToothH - 1.5));
    QPainterPath& r = s.roots;
    r.moveTo(cx - cw / 2, yc);
    if (rootCount == 1) {
        r.cubicTo(cx - cw / 2, yc + rl * 0.5, cx - 2.5, apex - 4, cx, apex);
        r.cubicTo(cx + 2.5, apex - 4, cx + cw / 2, yc + rl * 0.5, cx + cw / 2, yc);
    } else {
        // Outer roots spread a little; a third (palatal) root sits between them.
        const double spread = t.deciduous ? 3 : 1.5;
        const double fur = yc + rl * (rootCount == 3 ? 0.3 : 0.35);
        const double lx = cx - cw / 2 + cw * 0.22 - spread, rx = cx + cw / 2 - cw * 0.22 + spread;
        r.cubicTo(cx - cw / 2 - spread, yc + rl * 0.4, lx - 3, apex - 5, lx, apex);
        r.cubicTo(lx + 2.5, apex - 4, lx + 4, fur + 6, cx - (rootCount == 3 ? 3 : 1), fur);
        if (rootCount == 3) {
            r.cubicTo(cx - 2.5, fur + 10, cx - 1.5, apex - 6, cx, apex - 3);
            r.cubicTo(cx + 1.5, apex - 6, cx + 2.5, fur + 10, cx + 3, fur);
        } else {
            r.lineTo(cx + 1, fur);
        }
        r.cubicTo(rx - 4, fur + 6, rx - 2.5, apex - 4, rx, apex);
        r.cubicTo(rx + 3, apex - 5, cx + cw / 2 + spread, yc + rl * 0.4, cx + cw / 2, yc);
    }
    r.quadTo(cx, yc + 2.5, cx - cw / 2, yc);
    r.closeSubpath();

    s.cervical.moveTo(cx - cw / 2, yc);
    s.cervical.quadTo(cx, yc + 2.5, cx + cw / 2, yc);
    return s;
}

// Draws the tooth in the 37 x 75 box whose top left is `at`.
void drawTooth(QPainter& p, const Tooth& t, QPointF at) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(at);
    if (t.upper) {
        p.translate(0, kToothH);
        p.scale(1, -1);
    }
    const ToothShape s = shape(t);
    p.setPen(QPen(kOutline, 1.1));
    QLinearGradient dentin(0, 20, 0, kToothH);
    dentin.setColorAt(0, QColor(0xF3, 0xE6, 0xC8));
    dentin.setColorAt(1, QColor(0xE2, 0xCC, 0xA2));
    p.setBrush(dentin);
    p.drawPath(s.roots);
    QLinearGradient enamel(0, 0, kToothW, 30);
    enamel.setColorAt(0, Qt::white);
    enamel.setColorAt(1, QColor(0xEA, 0xE5, 0xDA));
    p.setBrush(enamel);
    p.drawPath(s.crown);
    p.setPen(QPen(QColor(0xB9, 0xA8, 0x90), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawPath(s.cervical);
    p.restore();
}

// ---- the five faces of a tooth, as the chart draws them in 29 x 29 ----

const QPointF kFaceCentre(14.5, 14.5);
constexpr double kOuter = 13.5, kInner = 6.0;

enum class Face { Top, Right, Bottom, Left, Centre };

QPainterPath facePath(Face f) {
    QPainterPath path;
    if (f == Face::Centre) {
        path.addEllipse(kFaceCentre, kInner, kInner);
        return path;
    }
    // Qt's angles run anticlockwise from three o'clock.
    const double start = f == Face::Right ? -45 : f == Face::Top ? 45 : f == Face::Left ? 135 : 225;
    const QRectF outer(kFaceCentre.x() - kOuter, kFaceCentre.y() - kOuter, 2 * kOuter, 2 * kOuter);
    const QRectF inner(kFaceCentre.x() - kInner, kFaceCentre.y() - kInner, 2 * kInner, 2 * kInner);
    path.arcMoveTo(outer, start);
    path.arcTo(outer, start, 90);
    path.arcTo(inner, start + 90, -90);
    path.closeSubpath();
    return path;
}

void drawFaceDiagram(QPainter& p, QPointF at, const QColor& fill) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(at);
    p.setPen(QPen(kDiagram, 1));
    p.setBrush(fill);
    p.drawEllipse(kFaceCentre, kOuter, kOuter);
    for (double angle : {45.0, 135.0, 225.0, 315.0}) {
        const double a = angle * M_PI / 180;
        p.drawLine(kFaceCentre + QPointF(std::cos(a) * kInner, -std::sin(a) * kInner),
                   kFaceCentre + QPointF(std::cos(a) * kOuter, -std::sin(a) * kOuter));
    }
    p.drawEllipse(kFaceCentre, kInner, kInner);
    p.restore();
}

QImage transparent(int w, int h) {
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    return img;
}

// A face icon: the diagram in gray with one face filled.
QImage faceIcon(Face f, bool sealant) {
    QImage img = transparent(kFace, kFace);
    QPainter p(&img);
    drawFaceDiagram(p, QPointF(0, 0), Qt::transparent);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kTodo.darker(130), 0.8));
    if (sealant) {
        // Sealant: the occlusal face marked with an S, apart from a restoration.
        p.setBrush(kTodo);
        p.drawPath(facePath(Face::Centre));
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(10);
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRectF(kFaceCentre.x() - kInner, kFaceCentre.y() - kInner, 2 * kInner, 2 * kInner),
                   Qt::AlignCenter, QStringLiteral("S"));
    } else {
        p.setBrush(kTodo);
        p.drawPath(facePath(f));
    }
    return img;
}

// ---- whole-tooth marks (37 x 75), drawn for an upper tooth; lower ones mirrored ----

enum class Mark { Extraction, Absent, RootCanal, Crown, Post, Implant };

QImage toothMark(Mark m, bool upper) {
    QImage img = transparent(kToothW, kToothH);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    if (!upper) {
        p.translate(0, kToothH);
        p.scale(1, -1);
    }
    // Upper tooth: roots from the top to about y 47, crown below down to y 73.
    const double cx = kToothW / 2.0;
    switch (m) {
    case Mark::Extraction:
    case Mark::Absent:
        p.setPen(QPen(m == Mark::Extraction ? kTodo : kPresent, 3.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(5, 7), QPointF(kToothW - 5, kToothH - 4));
        p.drawLine(QPointF(kToothW - 5, 7), QPointF(5, kToothH - 4));
        break;
    case Mark::RootCanal:
        p.setPen(QPen(kTodo, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(cx, 56), QPointF(cx, 12));
        p.setPen(Qt::NoPen);
        p.setBrush(kTodo);
        p.drawEllipse(QPointF(cx, 58), 4.5, 3.5); // the pulp chamber
        p.drawEllipse(QPointF(cx, 10), 2.2, 2.2); // the apex
        break;
    case Mark::Crown: {
        QPainterPath cap;
        cap.moveTo(5, 46);
        cap.lineTo(kToothW - 5, 46);
        cap.cubicTo(kToothW - 1, 58, kToothW - 3, 72, cx + 6, 73);
        cap.lineTo(cx - 6, 73);
        cap.cubicTo(3, 72, 1, 58, 5, 46);
        QColor fill = kTodo;
        fill.setAlpha(90);
        p.setBrush(fill);
        p.setPen(QPen(kTodo, 2.2));
        p.drawPath(cap);
        break;
    }
    case Mark::Post:
        p.setPen(QPen(kTodo.darker(120), 1));
        p.setBrush(kTodo);
        p.drawRoundedRect(QRectF(cx - 2.5, 20, 5, 34), 2, 2); // the post in the root
        p.drawRoundedRect(QRectF(cx - 7, 50, 14, 12), 3, 3);  // the core in the crown
        break;
    case Mark::Implant:
        p.setPen(QPen(kTodo.darker(120), 1));
        p.setBrush(kTodo);
        p.drawRoundedRect(QRectF(cx - 6, 8, 12, 38), 4, 4);
        p.setPen(QPen(Qt::white, 1.4));
        for (double y = 13; y < 44; y += 5)
            p.drawLine(QPointF(cx - 6, y), QPointF(cx + 6, y + 2));
        p.setPen(QPen(kTodo.darker(120), 1));
        p.drawRect(QRectF(cx - 3.5, 46, 7, 6)); // the abutment
        break;
    }
    return img;
}

// ---- prosthesis and other places (42 x 41): a pictogram over a short label ----

enum class Sign {
    Consult,
    Urgent,
    Cleaning,
    Scaling,
    Fluoride,
    Whitening,
    Periapical,
    Panoramic,
    UpperDenture,
    LowerDenture,
    PartialDenture,
    Bridge,
    Braces,
    Splint
};

void drawArch(QPainter& p, bool upper, bool gaps, bool teeth) {
    // A dental arch seen from above: a horseshoe opening down (upper) or up (lower).
    p.save();
    if (!upper) {
        p.translate(0, 30);
        p.scale(1, -1);
    }
    QPainterPath arch;
    arch.moveTo(6, 27);
    arch.cubicTo(4, 4, 38, 4, 36, 27);
    p.setPen(QPen(kTodo, 4.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arch);
    if (teeth) {
        p.setPen(QPen(Qt::white, 1.2));
        for (int i = 1; i < 8; ++i) {
            if (gaps && (i == 2 || i == 5)) continue;
            const QPointF at = arch.pointAtPercent(i / 8.0);
            p.drawPoint(at);
        }
    }
    if (gaps) {
        // The clasps of a removable partial denture.
        p.setPen(QPen(kTodo.darker(140), 1.4));
        p.drawArc(QRectF(3, 17, 8, 8), 0, 180 * 16);
        p.drawArc(QRectF(31, 17, 8, 8), 0, 180 * 16);
    }
    p.restore();
}

void drawSmallTooth(QPainter& p, QRectF r, const QColor& fill, const QColor& line) {
    QPainterPath t;
    t.moveTo(r.left(), r.top() + r.height() * 0.25);
    t.cubicTo(r.left(), r.top() - 1, r.center().x(), r.top() - 1, r.center().x(), r.top() + 3);
    t.cubicTo(r.center().x(), r.top() - 1, r.right(), r.top() - 1, r.right(), r.top() + r.height() * 0.25);
    t.cubicTo(r.right(), r.top() + r.height() * 0.6, r.right() - 2, r.bottom(), r.right() - 3, r.bottom());
    t.lineTo(r.center().x() + 1, r.top() + r.height() * 0.65);
    t.lineTo(r.center().x() - 1, r.top() + r.height() * 0.65);
    t.lineTo(r.left() + 3, r.bottom());
    t.cubicTo(r.left() + 2, r.bottom(), r.left(), r.top() + r.height() * 0.6, r.left(),
              r.top() + r.height() * 0.25);
    p.setBrush(fill);
    p.setPen(QPen(line, 1.2));
    p.drawPath(t);
}

QImage signIcon(Sign s, const QString& label) {
    QImage img = transparent(42, 41);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QColor dark = kTodo.darker(130);
    switch (s) {
    case Sign::Consult: // the dentist's mouth mirror
        p.setPen(QPen(kTodo, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(18, 17), QPointF(33, 29));
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(13, 12), 7.5, 7.5);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(kTodo.red(), kTodo.green(), kTodo.blue(), 70));
        p.drawEllipse(QPointF(13, 12), 5, 5);
        break;
    case Sign::Urgent: { // a lightning bolt: pain
        QPainterPath bolt;
        bolt.moveTo(24, 2);
        bolt.lineTo(12, 17);
        bolt.lineTo(20, 17);
        bolt.lineTo(15, 29);
        bolt.lineTo(30, 12);
        bolt.lineTo(22, 12);
        bolt.closeSubpath();
        p.setPen(QPen(dark, 1));
        p.setBrush(kTodo);
        p.drawPath(bolt);
        break;
    }
    case Sign::Cleaning: // a toothbrush
        p.setPen(QPen(kTodo, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(6, 24), QPointF(34, 12));
        p.setPen(QPen(dark, 1.3));
        for (int i = 0; i < 5; ++i) {
            const QPointF base(23 + i * 2.6, 16.5 - i * 1.1);
            p.drawLine(base, base - QPointF(2, 6));
        }
        break;
    case Sign::Scaling: { // the scaler's hook
        p.setPen(QPen(kTodo, 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 28), QPointF(26, 10));
        QPainterPath hook;
        hook.moveTo(26, 10);
        hook.cubicTo(30, 4, 36, 6, 34, 12);
        p.setBrush(Qt::NoBrush);
        p.drawPath(hook);
        break;
    }
    case Sign::Fluoride: { // a drop
        QPainterPath drop;
        drop.moveTo(21, 2);
        drop.cubicTo(27, 11, 31, 15, 31, 20);
        drop.arcTo(QRectF(11, 10, 20, 20), 0, -180);
        drop.cubicTo(11, 15, 15, 11, 21, 2);
        p.setPen(QPen(dark, 1));
        p.setBrush(kTodo);
        p.drawPath(drop);
        p.setPen(Qt::white);
        p.setFont(QFont(QStringLiteral("DejaVu Sans"), 7, QFont::Bold));
        p.drawText(QRectF(11, 12, 20, 16), Qt::AlignCenter, QStringLiteral("F"));
        break;
    }
    case Sign::Whitening: { // a white tooth with sparkles
        drawSmallTooth(p, QRectF(9, 4, 20, 24), Qt::white, kTodo);
        p.setPen(QPen(kTodo, 1.5, Qt::SolidLine, Qt::RoundCap));
        for (const QPointF c : {QPointF(34, 7), QPointF(35, 20)}) {
            p.drawLine(c - QPointF(3.5, 0), c + QPointF(3.5, 0));
            p.drawLine(c - QPointF(0, 3.5), c + QPointF(0, 3.5));
        }
        break;
    }
    case Sign::Periapical:  // a small film with one tooth
    case Sign::Panoramic: { // a wide film with a row of teeth
        const QRectF film = s == Sign::Periapical ? QRectF(11, 2, 20, 27) : QRectF(2, 6, 38, 21);
        p.setPen(QPen(QColor(0x20, 0x20, 0x20), 1));
        p.setBrush(QColor(0x33, 0x33, 0x3A));
        p.drawRoundedRect(film, 3, 3);
        if (s == Sign::Periapical) {
            drawSmallTooth(p, QRectF(15, 6, 12, 19), QColor(0xE8, 0xE8, 0xE8), QColor(0xC0, 0xC0, 0xC0));
        } else {
            for (int i = 0; i < 6; ++i)
                drawSmallTooth(p, QRectF(5 + i * 5.6, 10, 5, 13), QColor(0xE8, 0xE8, 0xE8),
                               QColor(0xC0, 0xC0, 0xC0));
        }
        break;
    }
    case Sign::UpperDenture:
        drawArch(p, true, false, true);
        break;
    case Sign::LowerDenture:
        drawArch(p, false, false, true);
        break;
    case Sign::PartialDenture:
        drawArch(p, true, true, true);
        break;
    case Sign::Splint:
        p.save();
        drawArch(p, true, false, false);
        p.restore();
        break;
    case Sign::Bridge: // three crowns joined
        for (int i = 0; i < 3; ++i)
            drawSmallTooth(p, QRectF(3 + i * 12.5, 6, 11, 21), i == 1 ? QColor(0xF6, 0xC6, 0xC9) : Qt::white,
                           kTodo);
        p.setPen(QPen(kTodo, 2.5));
        p.drawLine(QPointF(6, 10), QPointF(36, 10));
        break;
    case Sign::Braces: // brackets on a wire
        p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1.6));
        p.drawLine(QPointF(2, 15), QPointF(40, 15));
        p.setPen(QPen(dark, 1));
        p.setBrush(kTodo);
        for (int i = 0; i < 4; ++i)
            p.drawRect(QRectF(4 + i * 9.5, 10, 6, 10));
        break;
    }
    p.setPen(kTodo.darker(115));
    QFont f(QStringLiteral("DejaVu Sans"), 6, QFont::Bold);
    f.setPixelSize(9);
    p.setFont(f);
    p.drawText(QRectF(0, 30, 42, 11), Qt::AlignCenter, label);
    return img;
}

// ---- the chart ----

struct Slot {
    int tooth;
    int toothX;
    int faceX;
};

// Left edges of the slots, as the chart lays them out (upper teeth, upper face
// diagrams, lower face diagrams, lower teeth), left to right.
const Slot kPermanentUpper[] = {{18, 15, 16},   {17, 65, 68},   {16, 117, 120}, {15, 161, 165},
                                {14, 199, 202}, {13, 235, 240}, {12, 273, 277}, {11, 311, 314},
                                {21, 353, 357}, {22, 390, 394}, {23, 427, 431}, {24, 465, 469},
                                {25, 502, 507}, {26, 547, 551}, {27, 598, 603}, {28, 648, 655}};
const Slot kPermanentLower[] = {{48, 15, 16},   {47, 65, 68},   {46, 117, 120}, {45, 161, 165},
                                {44, 199, 202}, {43, 238, 240}, {42, 274, 277}, {41, 312, 314},
                                {31, 352, 357}, {32, 390, 394}, {33, 426, 431}, {34, 465, 469},
                                {35, 502, 506}, {36, 547, 551}, {37, 598, 603}, {38, 648, 655}};
const Slot kDeciduousUpper[] = {{55, 136, 140}, {54, 190, 192}, {53, 235, 240}, {52, 273, 277},
                                {51, 311, 314}, {61, 353, 357}, {62, 390, 394}, {63, 427, 431},
                                {64, 478, 479}, {65, 529, 531}};
const Slot kDeciduousLower[] = {{85, 136, 140}, {84, 190, 192}, {83, 237, 240}, {82, 274, 277},
                                {81, 311, 314}, {71, 353, 357}, {72, 390, 394}, {73, 427, 431},
                                {74, 478, 479}, {75, 529, 530}};

// The background is drawn from y = 10 of the chart's panel.
constexpr int kChartTop = 10;

void drawNumber(QPainter& p, int x, int y, int number) {
    p.drawText(QRect(x - 4, y, kFace + 8, 12), Qt::AlignCenter, QString::number(number));
}

} // namespace

QList<int> toothNumbers() {
    QList<int> numbers{0};
    for (int q : {1, 2, 3, 4})
        for (int d = 1; d <= 8; ++d)
            numbers << q * 10 + d;
    for (int q : {5, 6, 7, 8})
        for (int d = 1; d <= 5; ++d)
            numbers << q * 10 + d;
    return numbers;
}

QString toothFile(int number) {
    return QStringLiteral("dente_%1.png").arg(number, 2, 10, QLatin1Char('0'));
}

QImage toothPicture(int number) {
    QImage img = transparent(125, 145);
    QPainter p(&img);
    if (number == 0) {
        // The generic tooth: a crown seen from above, under face and prosthesis icons.
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient enamel(36, 30, 92, 92);
        enamel.setColorAt(0, Qt::white);
        enamel.setColorAt(1, QColor(0xE6, 0xDF, 0xD0));
        p.setBrush(enamel);
        p.setPen(QPen(kOutline, 1.2));
        p.drawRoundedRect(QRectF(36, 31, 56, 57), 20, 18);
        return img;
    }
    const Tooth t = describe(number);
    drawTooth(p, t, QPointF(44, t.upper ? 39 : 30));
    return img;
}

QList<NamedPicture> icons() {
    QList<NamedPicture> out;
    const QList<QPair<Face, QString>> faces = {{Face::Top, QStringLiteral("face_superior")},
                                               {Face::Right, QStringLiteral("face_direita")},
                                               {Face::Bottom, QStringLiteral("face_inferior")},
                                               {Face::Left, QStringLiteral("face_esquerda")},
                                               {Face::Centre, QStringLiteral("face_central")}};
    for (const auto& [face, name] : faces)
        out.append({QStringLiteral("restauracao_%1.png").arg(name), faceIcon(face, false)});
    out.append({QStringLiteral("selante_oclusal.png"), faceIcon(Face::Centre, true)});
    out.append({QStringLiteral("extracao.png"), toothMark(Mark::Extraction, true)});
    out.append({QStringLiteral("dente_ausente.png"), toothMark(Mark::Absent, true)});
    const QList<QPair<Mark, QString>> marks = {{Mark::RootCanal, QStringLiteral("canal")},
                                               {Mark::Crown, QStringLiteral("coroa")},
                                               {Mark::Post, QStringLiteral("pino")},
                                               {Mark::Implant, QStringLiteral("implante")}};
    for (const auto& [mark, name] : marks) {
        out.append({QStringLiteral("%1_superior.png").arg(name), toothMark(mark, true)});
        out.append({QStringLiteral("%1_inferior.png").arg(name), toothMark(mark, false)});
    }
    const QList<std::tuple<Sign, QString, QString>> signs = {
        {Sign::Consult, QStringLiteral("consulta"), QStringLiteral("CONS")},
        {Sign::Urgent, QStringLiteral("urgencia"), QStringLiteral("URG")},
        {Sign::Cleaning, QStringLiteral("profilaxia"), QStringLiteral("PROF")},
        {Sign::Scaling, QStringLiteral("raspagem"), QStringLiteral("RASP")},
        {Sign::Fluoride, QStringLiteral("fluor"), QStringLiteral("FLÚOR")},
        {Sign::Whitening, QStringLiteral("clareamento"), QStringLiteral("CLAR")},
        {Sign::Periapical, QStringLiteral("rx_periapical"), QStringLiteral("RX PA")},
        {Sign::Panoramic, QStringLiteral("rx_panoramica"), QStringLiteral("PANO")},
        {Sign::UpperDenture, QStringLiteral("protese_total_superior"), QStringLiteral("PT SUP")},
        {Sign::LowerDenture, QStringLiteral("protese_total_inferior"), QStringLiteral("PT INF")},
        {Sign::PartialDenture, QStringLiteral("protese_parcial"), QStringLiteral("PPR")},
        {Sign::Bridge, QStringLiteral("ponte_fixa"), QStringLiteral("PONTE")},
        {Sign::Braces, QStringLiteral("ortodontia"), QStringLiteral("ORTO")},
        {Sign::Splint, QStringLiteral("placa_oclusal"), QStringLiteral("PLACA")}};
    for (const auto& [sign, name, label] : signs)
        out.append({name + QStringLiteral(".png"), signIcon(sign, label)});
    return out;
}

QImage chartBackground(bool deciduous) {
    QImage img(700, 331, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const int upperTeeth = 44 - kChartTop, upperFaces = 128 - kChartTop, lowerFaces = 185 - kChartTop;
    const int lowerTeeth = (deciduous ? 225 : 222) - kChartTop;
    const auto upper = deciduous ? QList<Slot>(std::begin(kDeciduousUpper), std::end(kDeciduousUpper))
                                 : QList<Slot>(std::begin(kPermanentUpper), std::end(kPermanentUpper));
    const auto lower = deciduous ? QList<Slot>(std::begin(kDeciduousLower), std::end(kDeciduousLower))
                                 : QList<Slot>(std::begin(kPermanentLower), std::end(kPermanentLower));

    // The gray lines: the midline and the line between the arches.
    p.setPen(QPen(kChartGray, 1));
    p.drawLine(350, 4, 350, 327);
    const int between = upperFaces + kFace + (lowerFaces - upperFaces - kFace) / 2;
    p.drawLine(6, between, 694, between);

    QFont numbers(QStringLiteral("DejaVu Sans"));
    numbers.setPixelSize(10);
    p.setFont(numbers);
    for (const Slot& s : upper) {
        drawTooth(p, describe(s.tooth), QPointF(s.toothX, upperTeeth));
        drawFaceDiagram(p, QPointF(s.faceX, upperFaces), Qt::white);
        p.setPen(kChartGray);
        drawNumber(p, s.faceX, between - 12, s.tooth);
    }
    for (const Slot& s : lower) {
        drawTooth(p, describe(s.tooth), QPointF(s.toothX, lowerTeeth));
        const int top = deciduous && s.tooth == 75 ? 187 - kChartTop : lowerFaces;
        drawFaceDiagram(p, QPointF(s.faceX, top), Qt::white);
        p.setPen(kChartGray);
        drawNumber(p, s.faceX, between + 1, s.tooth);
    }
    return img;
}

QImage stripFrame(bool highlighted) {
    QImage img(47, 47, QImage::Format_ARGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(highlighted ? QColor(0x70, 0x70, 0x70) : QColor(0xC8, 0xC8, 0xC8), 1.5));
    p.setBrush(highlighted ? QColor(0xD6, 0xD6, 0xD6) : QColor(0xF5, 0xF5, 0xF5));
    p.drawRoundedRect(QRectF(1, 1, 45, 45), 7, 7);
    return img;
}

} // namespace odonto

#include "OdontogramaWidget.h"
#include "core/CodeTexts.h"
#include "core/ComponentTag.h"
#include "core/ComponentTexts.h"
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTabBar>
#include <QToolTip>
#include <algorithm>

namespace {

constexpr int kChartTop = 10; // the background starts under the "Superior" caption
const QSize kPanelSize(695, 338);
const QSize kTooth(37, 75);
const QSize kFace(29, 29);

struct Place {
    int tooth, x;
};

// Left x of each place, rows left to right as they stand on the chart.
const Place kPermUpperTeeth[] = {{18, 15},  {17, 65},  {16, 117}, {15, 161}, {14, 199}, {13, 235},
                                 {12, 273}, {11, 311}, {21, 353}, {22, 390}, {23, 427}, {24, 465},
                                 {25, 502}, {26, 547}, {27, 598}, {28, 648}};
const Place kPermUpperFaces[] = {{18, 16},  {17, 68},  {16, 120}, {15, 165}, {14, 202}, {13, 240},
                                 {12, 277}, {11, 314}, {21, 357}, {22, 394}, {23, 431}, {24, 469},
                                 {25, 507}, {26, 551}, {27, 603}, {28, 655}};
const Place kPermLowerFaces[] = {{48, 16},  {47, 68},  {46, 120}, {45, 165}, {44, 202}, {43, 240},
                                 {42, 277}, {41, 314}, {31, 357}, {32, 394}, {33, 431}, {34, 469},
                                 {35, 506}, {36, 551}, {37, 603}, {38, 655}};
const Place kPermLowerTeeth[] = {{48, 15},  {47, 65},  {46, 117}, {45, 161}, {44, 199}, {43, 238},
                                 {42, 274}, {41, 312}, {31, 352}, {32, 390}, {33, 426}, {34, 465},
                                 {35, 502}, {36, 547}, {37, 598}, {38, 648}};
const Place kDecUpperTeeth[] = {{55, 136}, {54, 190}, {53, 235}, {52, 273}, {51, 311},
                                {61, 353}, {62, 390}, {63, 427}, {64, 478}, {65, 529}};
const Place kDecUpperFaces[] = {{55, 140}, {54, 192}, {53, 240}, {52, 277}, {51, 314},
                                {61, 357}, {62, 394}, {63, 431}, {64, 479}, {65, 531}};
const Place kDecLowerFaces[] = {{85, 140}, {84, 192}, {83, 240}, {82, 277}, {81, 314},
                                {71, 357}, {72, 394}, {73, 431}, {74, 479}, {75, 530}};
const Place kDecLowerTeeth[] = {{85, 136}, {84, 190}, {83, 237}, {82, 274}, {81, 311},
                                {71, 353}, {72, 390}, {73, 427}, {74, 478}, {75, 529}};

const int kFrameLeft[] = {8, 59, 113, 164, 217, 270, 322, 374, 426, 479, 532, 585, 638};
const int kStripSlotLeft[] = {11, 61, 116, 167, 220, 273, 325, 377, 429, 482, 535, 588, 641};
constexpr int kFirstStripPlace = 101;

// The face diagram's location: its quadrant, deciduous teeth (5x-8x) counted as 1-4.
QString faceLocation(int tooth) {
    return QStringLiteral("Q%1").arg((tooth / 10 - 1) % 4 + 1);
}

const QColor kGray(0x80, 0x80, 0x80);

} // namespace

// ---- a place ----

OdontogramaPlace::OdontogramaPlace(const QString& location, int tooth, qint64 item, QWidget* parent)
    : QWidget(parent), m_location(location), m_item(item) {
    dv::setComponentTag(this, tooth);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_NoSystemBackground); // what lies under it shows through
    // One place of each panel is its Tab stop (see focusInEvent); the others are
    // reached with the arrows, so Tab crosses the chart in one step.
    setFocusPolicy(Qt::ClickFocus);
}

int OdontogramaPlace::tooth() const {
    return dv::componentTag(this);
}

void OdontogramaPlace::registerTexts() {
    static bool done = false;
    if (done) return;
    done = true;
    dv::ComponentTextKind kind;
    kind.type = &OdontogramaPlace::staticMetaObject;
    kind.accepts = [](const QObject* o) { return static_cast<const OdontogramaPlace*>(o)->item() == 0; };
    kind.keys = {dv::TextKey::Hint};
    kind.text = [](const QObject* o, dv::TextKey) { return static_cast<const QWidget*>(o)->toolTip(); };
    kind.setText = [](QObject* o, dv::TextKey, const QString& value) {
        static_cast<QWidget*>(o)->setToolTip(value);
    };
    dv::ComponentTexts::registerKind(kind);
}

void OdontogramaPlace::setPicture(const QImage& picture) {
    m_picture = picture;
    update();
}

void OdontogramaPlace::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!m_picture.isNull()) p.drawImage(QPoint(0, 0), m_picture); // own size, clipped to the place
    // The chart printed is rendered with the panel marked: no focus mark on paper.
    if (hasFocus() && !parentWidget()->property("dv_rendering").toBool()) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 2, Qt::DotLine));
        p.drawRect(rect().adjusted(1, 1, -1, -1));
    }
}

void OdontogramaPlace::keyPressEvent(QKeyEvent* e) {
    int dx = 0, dy = 0;
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        emit clicked(this);
        return;
    case Qt::Key_Left:
        dx = -1;
        break;
    case Qt::Key_Right:
        dx = 1;
        break;
    case Qt::Key_Up:
        dy = -1;
        break;
    case Qt::Key_Down:
        dy = 1;
        break;
    default:
        QWidget::keyPressEvent(e);
        return;
    }
    if (OdontogramaPlace* next = neighbour(dx, dy)) next->setFocus(Qt::OtherFocusReason);
}

OdontogramaPlace* OdontogramaPlace::neighbour(int dx, int dy) const {
    QList<OdontogramaPlace*> places;
    for (auto* p : parentWidget()->findChildren<OdontogramaPlace*>(QString(), Qt::FindDirectChildrenOnly))
        if (p->isVisibleTo(parentWidget())) places << p; // children order: slots, then icons as drawn
    const auto sameRow = [](const QWidget* a, const QWidget* b) {
        return qAbs(a->geometry().center().y() - b->geometry().center().y()) < 20;
    };
    if (dx != 0) {
        QList<OdontogramaPlace*> row;
        for (auto* p : places)
            if (sameRow(p, this)) row << p;
        std::stable_sort(row.begin(), row.end(),
                         [](const QWidget* a, const QWidget* b) { return a->x() < b->x(); });
        const qsizetype at = row.indexOf(const_cast<OdontogramaPlace*>(this)) + dx;
        return at >= 0 && at < row.size() ? row[at] : nullptr;
    }
    // The nearest row in that direction, and in it the place nearest across (a slot
    // before the icons on it).
    OdontogramaPlace* best = nullptr;
    const QPoint from = geometry().center();
    for (auto* p : places) {
        const int down = p->geometry().center().y() - from.y();
        if (sameRow(p, this) || (dy > 0) != (down > 0)) continue;
        if (!best) {
            best = p;
            continue;
        }
        const int bestDown = qAbs(best->geometry().center().y() - from.y());
        const bool closerRow = qAbs(down) < bestDown && !sameRow(p, best);
        const bool sameRowNearer = sameRow(p, best) && qAbs(p->geometry().center().x() - from.x()) <
                                                           qAbs(best->geometry().center().x() - from.x());
        if (closerRow || sameRowNearer) best = p;
    }
    return best;
}

void OdontogramaPlace::focusInEvent(QFocusEvent* e) {
    QWidget::focusInEvent(e);
    for (auto* p : parentWidget()->findChildren<OdontogramaPlace*>(QString(), Qt::FindDirectChildrenOnly))
        p->setFocusPolicy(p == this ? Qt::StrongFocus : Qt::ClickFocus);
    emit hovered(this, true);
    // What a mouse user reads in the hint: the free place's action or the item's service.
    if (e->reason() != Qt::MouseFocusReason && !toolTip().isEmpty())
        QToolTip::showText(mapToGlobal(QPoint(0, height())), toolTip(), this);
    update();
}

void OdontogramaPlace::focusOutEvent(QFocusEvent* e) {
    QWidget::focusOutEvent(e);
    emit hovered(this, false);
    update();
}

void OdontogramaPlace::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) emit clicked(this);
}

void OdontogramaPlace::enterEvent(QEnterEvent*) {
    emit hovered(this, true);
}

void OdontogramaPlace::leaveEvent(QEvent*) {
    emit hovered(this, false);
}

// ---- a panel ----

OdontogramaPanel::OdontogramaPanel(bool deciduous, const QImage& background, QWidget* parent)
    : QWidget(parent), m_deciduous(deciduous), m_background(background) {
    setFixedSize(kPanelSize);
}

void OdontogramaPanel::paintEvent(QPaintEvent*) {
    // White whatever the style: the panel prints as it shows.
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.drawImage(QPoint(0, kChartTop), m_background);
    QFont f = font();
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    p.setPen(kGray);
    const int w = width(), h = height(), middle = 171;
    const QRect top(0, 0, w, 14), bottom(0, h - 14, w, 14);
    p.drawText(top, Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("Superior"));
    p.drawText(bottom, Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("Inferior"));
    const QStringList quadrants =
        m_deciduous ? QStringList{"Q5", "Q6", "Q8", "Q7"} : QStringList{"Q1", "Q2", "Q4", "Q3"};
    p.drawText(top.adjusted(4, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, quadrants[0]);
    p.drawText(top.adjusted(0, 0, -4, 0), Qt::AlignRight | Qt::AlignVCenter, quadrants[1]);
    p.drawText(bottom.adjusted(4, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, quadrants[2]);
    p.drawText(bottom.adjusted(0, 0, -4, 0), Qt::AlignRight | Qt::AlignVCenter, quadrants[3]);
    const QRect line(1, middle - 7, w - 2, 14);
    p.drawText(line, Qt::AlignLeft | Qt::AlignVCenter,
               m_deciduous ? QStringLiteral("Direita") : QStringLiteral("D"));
    p.drawText(line, Qt::AlignRight | Qt::AlignVCenter,
               m_deciduous ? QStringLiteral("Esquerda") : QStringLiteral("E"));
}

// ---- the chart ----

OdontogramaWidget::OdontogramaWidget(const QString& skinsFolder, QWidget* parent) : QTabWidget(parent) {
    setObjectName(QStringLiteral("PageControlOdontograma"));
    setTabPosition(QTabWidget::West);
    // All three tabs in sight: the chart grows to their height rather than hiding one.
    tabBar()->setUsesScrollButtons(false);
    tabBar()->setElideMode(Qt::ElideNone);
    pnlPermanentes = new OdontogramaPanel(
        false, QImage(skinsFolder + QStringLiteral("odontograma_permanentes.png")), this);
    pnlPermanentes->setObjectName(QStringLiteral("pnlPermanentes"));
    pnlDeciduos =
        new OdontogramaPanel(true, QImage(skinsFolder + QStringLiteral("odontograma_deciduos.png")), this);
    pnlDeciduos->setObjectName(QStringLiteral("pnlDeciduos"));
    buildArch(pnlPermanentes, false);
    buildArch(pnlDeciduos, true);
    buildStrip(skinsFolder);

    auto page = [this](QWidget* content, const char* name, const QString& caption) {
        auto* sheet = new QWidget;
        sheet->setObjectName(QLatin1String(name));
        content->setParent(sheet);
        content->move(0, 0);
        sheet->setMinimumSize(content->size());
        addTab(sheet, caption);
    };
    page(pnlPermanentes, "tsPermanentes", dv::text("Dentes Permanentes"));
    page(pnlDeciduos, "tsDeciduos", dv::text("Dentes Decíduos"));
    page(pnlProtese, "tsProtese", dv::text("Protese / Outros"));
}

QString OdontogramaWidget::slotName(const QString& location, int tooth) {
    return QStringLiteral("img_") + location + QString::number(tooth);
}

QString OdontogramaWidget::iconName(const QString& location, int tooth, qint64 item) {
    return slotName(location, tooth) + QString::number(item);
}

OdontogramaPlace* OdontogramaWidget::addSlot(QWidget* panel, const QString& location, int tooth,
                                             const QRect& rect) {
    auto* slot = new OdontogramaPlace(location, tooth, 0, panel);
    slot->setObjectName(slotName(location, tooth));
    slot->setGeometry(rect);
    slot->setToolTip(dv::text("Adicionar Serviço"));
    keepTabStop(panel);
    connect(slot, &OdontogramaPlace::clicked, this,
            [this](OdontogramaPlace* p) { emit placeClicked(p->tooth(), p->item(), p->location()); });
    return slot;
}

void OdontogramaWidget::buildArch(OdontogramaPanel* panel, bool deciduous) {
    struct Row {
        const Place* begin;
        const Place* end;
        int top;
        bool faces;
        const char* location; // null: the face diagram's quadrant
    };
    const auto row = [](const auto& places, int top, bool faces, const char* location) {
        return Row{std::begin(places), std::end(places), top, faces, location};
    };
    const QList<Row> rows =
        deciduous
            ? QList<Row>{row(kDecUpperTeeth, 44, false, "DS"), row(kDecUpperFaces, 128, true, nullptr),
                         row(kDecLowerFaces, 185, true, nullptr), row(kDecLowerTeeth, 225, false, "DI")}
            : QList<Row>{row(kPermUpperTeeth, 44, false, "DS"), row(kPermUpperFaces, 128, true, nullptr),
                         row(kPermLowerFaces, 185, true, nullptr), row(kPermLowerTeeth, 222, false, "DI")};
    for (const Row& r : rows)
        for (const Place* p = r.begin; p != r.end; ++p) {
            const int top = deciduous && p->tooth == 75 && r.faces ? 187 : r.top;
            addSlot(panel, r.location ? QLatin1String(r.location) : faceLocation(p->tooth), p->tooth,
                    QRect(QPoint(p->x, top), r.faces ? kFace : kTooth));
        }
}

void OdontogramaWidget::buildStrip(const QString& skinsFolder) {
    pnlProtese = new QWidget(this);
    pnlProtese->setObjectName(QStringLiteral("pnlProtese"));
    pnlProtese->setFixedSize(kPanelSize.width(), 65);
    pnlProtese->setAutoFillBackground(true);
    QPalette white = pnlProtese->palette();
    white.setColor(QPalette::Window, Qt::white);
    pnlProtese->setPalette(white);

    const QPixmap normal(skinsFolder + QStringLiteral("moldura_protese.png"));
    const QPixmap highlighted(skinsFolder + QStringLiteral("moldura_protese_destaque.png"));
    imgMolduraNormal = new QLabel(pnlProtese);
    imgMolduraNormal->setObjectName(QStringLiteral("imgMolduraNormal"));
    imgMolduraNormal->setPixmap(normal);
    imgMolduraNormal->hide();
    imgMolduraDestaque = new QLabel(pnlProtese);
    imgMolduraDestaque->setObjectName(QStringLiteral("imgMolduraDestaque"));
    imgMolduraDestaque->setPixmap(highlighted);
    imgMolduraDestaque->hide();

    for (int i = 0; i < 13; ++i) {
        const int place = kFirstStripPlace + i;
        auto* frame = new QLabel(pnlProtese);
        frame->setObjectName(QStringLiteral("imgMoldura%1").arg(place));
        frame->setGeometry(kFrameLeft[i], 5, i == 1 ? 48 : 47, 47);
        frame->setPixmap(normal);
        m_frames << frame;
    }
    for (int i = 0; i < 13; ++i) {
        auto* slot = addSlot(pnlProtese, QStringLiteral("TO"), kFirstStripPlace + i,
                             QRect(kStripSlotLeft[i], 7, i == 1 ? 43 : 42, 41));
        connect(slot, &OdontogramaPlace::hovered, this, &OdontogramaWidget::highlightFrame);
    }
}

void OdontogramaWidget::keepTabStop(QWidget* panel) {
    const auto places = panel->findChildren<OdontogramaPlace*>(QString(), Qt::FindDirectChildrenOnly);
    if (places.isEmpty()) return;
    for (auto* p : places)
        if (p->focusPolicy() & Qt::TabFocus) return;
    places.first()->setFocusPolicy(Qt::StrongFocus);
}

void OdontogramaWidget::highlightFrame(OdontogramaPlace* place, bool on) {
    QLabel* frame = m_frames.value(place->tooth() - kFirstStripPlace);
    if (frame) frame->setPixmap((on ? imgMolduraDestaque : imgMolduraNormal)->pixmap());
}

OdontogramaPlace* OdontogramaWidget::slotAt(const QString& location, int tooth) const {
    const QString name = slotName(location.toUpper(), tooth);
    for (QWidget* panel :
         {static_cast<QWidget*>(pnlPermanentes), static_cast<QWidget*>(pnlDeciduos), pnlProtese})
        if (auto* slot = panel->findChild<OdontogramaPlace*>(name, Qt::FindDirectChildrenOnly)) return slot;
    return nullptr;
}

OdontogramaPlace* OdontogramaWidget::showItem(const QString& location, int tooth, qint64 item,
                                              const QImage& picture, const QString& hint) {
    removeItem(location, tooth, item);
    OdontogramaPlace* slot = slotAt(location, tooth);
    if (!slot) return nullptr;
    auto* icon = new OdontogramaPlace(slot->location(), tooth, item, slot->parentWidget());
    icon->setObjectName(iconName(slot->location(), tooth, item));
    icon->setGeometry(slot->geometry());
    icon->setPicture(picture);
    icon->setToolTip(hint);
    connect(icon, &OdontogramaPlace::clicked, this,
            [this](OdontogramaPlace* p) { emit placeClicked(p->tooth(), p->item(), p->location()); });
    if (slot->location() == QLatin1String("TO"))
        connect(icon, &OdontogramaPlace::hovered, this, &OdontogramaWidget::highlightFrame);
    icon->show();
    icon->raise(); // the last drawn lies on top and takes the clicks
    return icon;
}

void OdontogramaWidget::removeItem(const QString& location, int tooth, qint64 item) {
    if (OdontogramaPlace* slot = slotAt(location, tooth)) {
        delete slot->parentWidget()->findChild<OdontogramaPlace*>(iconName(slot->location(), tooth, item),
                                                                  Qt::FindDirectChildrenOnly);
        keepTabStop(slot->parentWidget());
    }
}

void OdontogramaWidget::removeAllItems() {
    for (QWidget* panel :
         {static_cast<QWidget*>(pnlPermanentes), static_cast<QWidget*>(pnlDeciduos), pnlProtese}) {
        for (auto* place : panel->findChildren<OdontogramaPlace*>(QString(), Qt::FindDirectChildrenOnly))
            if (place->item() != 0) delete place;
        keepTabStop(panel);
    }
}

QImage OdontogramaWidget::chartPicture() {
    if (currentIndex() == 2) setCurrentIndex(0);
    QWidget* panel = currentIndex() == 1 ? static_cast<QWidget*>(pnlDeciduos) : pnlPermanentes;
    QImage picture(panel->size(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    panel->setProperty("dv_rendering", true);
    panel->render(&picture);
    panel->setProperty("dv_rendering", false);
    return picture;
}

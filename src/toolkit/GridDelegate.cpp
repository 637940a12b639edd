#include "GridDelegate.h"
#include "DBDateEdit.h"
#include "DBGrid.h"
#include "EditMask.h"
#include "GridLookupEditor.h"
#include "GridModel.h"
#include "TransparentPicture.h"
#include "core/ErrorTranslator.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"
#include "core/db/DbErrors.h"
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>
#include "core/db/WallClock.h"

namespace dv {

GridDelegate::GridDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

const GridModel* GridDelegate::gridModel(const QModelIndex& index) {
    return qobject_cast<const GridModel*>(index.model());
}

const ColumnLookup* GridDelegate::columnLookup(const QModelIndex& index) const {
    const auto* grid = qobject_cast<const DBGrid*>(parent());
    const GridModel* m = gridModel(index);
    const Field* f = m ? m->fieldAt(index.column()) : nullptr;
    return grid && f ? grid->columnLookup(f->fieldName()) : nullptr;
}

// Where a declared drop-down stores its key: a lookup field's key field, else the
// column's own field.
Field* GridDelegate::keyTarget(const QModelIndex& index) {
    const GridModel* m = gridModel(index);
    Field* f = m ? m->fieldAt(index.column()) : nullptr;
    Dataset* ds = m ? m->dataset() : nullptr;
    if (!f || !ds) return nullptr;
    return f->isLookup() ? ds->findField(f->keyFields().section(QLatin1Char(';'), 0, 0).trimmed()) : f;
}

QString GridDelegate::maskOf(const QModelIndex& index) {
    const GridModel* m = gridModel(index);
    const Field* f = m ? m->fieldAt(index.column()) : nullptr;
    return f && f->dataType() == FieldType::String && !f->isLookup() ? f->editMask() : QString();
}

bool GridDelegate::isCheck(const QModelIndex& index) {
    const GridModel* m = gridModel(index);
    const Field* f = m ? m->fieldAt(index.column()) : nullptr;
    return f && m->isCheckBoxField(f->fieldName());
}

void GridDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    const GridModel* m = gridModel(index);
    const Field* f = m ? m->fieldAt(index.column()) : nullptr;
    if (f && m->isPictureField(f->fieldName()) &&
        option->features.testFlag(QStyleOptionViewItem::HasDecoration)) {
        const QPixmap pm = index.data(Qt::DecorationRole).value<QPixmap>();
        option->decorationSize = pm.size().boundedTo(option->rect.size());
        option->decorationAlignment = Qt::AlignCenter;
        option->features &= ~QStyleOptionViewItem::HasDisplay;
        option->text.clear();
    }
}

namespace {

// Whether the keyboard is in the grid the cell belongs to (a frozen-columns view
// belongs to the grid it sits on), or in a cell being typed in.
bool gridHasFocus(const QWidget* widget) {
    while (widget && !qobject_cast<const DBGrid*>(widget))
        widget = widget->parentWidget();
    const QWidget* focus = QApplication::focusWidget();
    return widget && focus && (focus == widget || widget->isAncestorOf(focus));
}

// The selected row of a grid the keyboard is not in is drawn in a quieter colour, so
// that the grid being worked in stands out.
void quietSelection(QStyleOptionViewItem& option) {
    if (!(option.state & QStyle::State_Selected) || gridHasFocus(option.widget)) return;
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        const QColor highlight = option.palette.color(group, QPalette::Highlight);
        const QColor base = option.palette.color(group, QPalette::Base);
        auto mix = [](int a, int b) { return (a * 45 + b * 55) / 100; };
        option.palette.setColor(group, QPalette::Highlight,
                                QColor(mix(highlight.red(), base.red()), mix(highlight.green(), base.green()),
                                       mix(highlight.blue(), base.blue())));
        option.palette.setColor(group, QPalette::HighlightedText,
                                option.palette.color(group, QPalette::Text));
    }
}

} // namespace

void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    QStyleOptionViewItem shown = option;
    quietSelection(shown);
    QStyleOptionViewItem opt = shown;
    initStyleOption(&opt, index);
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    if (const ColumnLookup* lk = columnLookup(index); lk && !lk->pictureField.isEmpty()) {
        paintPicture(painter, opt, style, *lk, index);
        paintFocusFrame(painter, opt, style);
        return;
    }
    if (!isCheck(index)) {
        if (opt.features & (QStyleOptionViewItem::HasDecoration | QStyleOptionViewItem::HasCheckIndicator))
            QStyledItemDelegate::paint(painter, shown, index);
        else
            paintText(painter, opt, style);
        return;
    }
    // The cell's background and selection, then the box in the middle.
    opt.features &= ~(QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay);
    opt.text.clear();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, widget);
    QStyleOptionButton box;
    box.state = QStyle::State_Enabled;
    if (!(index.flags() & Qt::ItemIsUserCheckable)) box.state |= QStyle::State_ReadOnly;
    box.state |= index.data(Qt::CheckStateRole).toInt() == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
    const int w = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, widget);
    const int h = style->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, widget);
    box.rect = QRect(opt.rect.center().x() - w / 2, opt.rect.center().y() - h / 2, w, h);
    style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, painter, widget);
    paintFocusFrame(painter, opt, style);
}

// A plain text cell: the style's panel, then one line of text drawn directly. The
// style's own item drawing lays every cell's text out twice, which made a grid's
// repaint (each jump of the search box) cost several times more.
void GridDelegate::paintText(QPainter* painter, QStyleOptionViewItem& opt, QStyle* style) const {
    const QString text = opt.text;
    opt.text.clear();
    opt.features &= ~QStyleOptionViewItem::HasDisplay;
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, opt.widget);
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, opt.widget) + 1;
    const QRect r = opt.rect.adjusted(margin, 0, -margin, 0);
    const QPalette::ColorGroup group = !(opt.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (opt.state & QStyle::State_Active) ? QPalette::Normal
                                                                            : QPalette::Inactive;
    painter->save();
    painter->setFont(opt.font);
    painter->setPen(opt.palette.color(group, (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText
                                                                                  : QPalette::Text));
    QString line = text;
    line.replace(QLatin1Char('\n'), QChar::LineSeparator);
    const Qt::Alignment align = QStyle::visualAlignment(opt.direction, opt.displayAlignment);
    const bool fits = surelyFits(line, opt, r.width());
    if (fits && (align & (Qt::AlignLeft | Qt::AlignRight | Qt::AlignHCenter | Qt::AlignJustify)) == Qt::AlignLeft &&
        (align & Qt::AlignVertical_Mask) == Qt::AlignVCenter) {
        // A line that fits, drawn at its baseline: where a text layout puts it, without
        // laying it out.
        const QFontMetricsF fm(opt.font);
        painter->drawText(
            QPointF(r.left(), r.top() + (r.height() - fm.ascent() - fm.descent()) / 2 + fm.ascent()), line);
    } else {
        painter->drawText(r, int(opt.displayAlignment) | Qt::TextSingleLine,
                          fits ? line : opt.fontMetrics.elidedText(line, opt.textElideMode, r.width()));
    }
    painter->restore();
    paintFocusFrame(painter, opt, style);
}

// The current cell of the grid the keyboard is in.
void GridDelegate::paintFocusFrame(QPainter* painter, const QStyleOptionViewItem& opt, QStyle* style) const {
    if (!(opt.state & QStyle::State_HasFocus)) return;
    const QPalette::ColorGroup group =
        (opt.state & QStyle::State_Active) ? QPalette::Normal : QPalette::Inactive;
    QStyleOptionFocusRect focus;
    focus.QStyleOption::operator=(opt);
    focus.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
    focus.backgroundColor = opt.palette.color(
        group, (opt.state & QStyle::State_Selected) ? QPalette::Highlight : QPalette::Window);
    style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, opt.widget);
}

// Eliding lays the text out once more before it is drawn; most cells fit, which the
// sum of their characters' advances tells (with room for kerning) without a layout.
bool GridDelegate::surelyFits(const QString& text, const QStyleOptionViewItem& opt, int width) const {
    if (opt.textElideMode == Qt::ElideNone) return true;
    if (opt.font != m_advancesFont) {
        m_advancesFont = opt.font;
        m_advances.fill(0);
    }
    float sum = 0;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= m_advances.size() || u < 0x20) return false;
        float& a = m_advances[u];
        if (a == 0) a = float(opt.fontMetrics.horizontalAdvance(c));
        sum += a;
    }
    return sum * 1.05f + 2 <= float(width);
}

// A picker's cell: the picture of the key's row over the cell's background.
void GridDelegate::paintPicture(QPainter* painter, QStyleOptionViewItem& opt, QStyle* style,
                                const ColumnLookup& lookup, const QModelIndex& index) const {
    opt.text.clear();
    opt.features &= ~(QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration);
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, opt.widget);
    const GridModel* m = gridModel(index);
    Field* key = keyTarget(index);
    Dataset* ds = m ? m->dataset() : nullptr;
    Dataset* rows = lookup.source ? lookup.source->dataset() : nullptr;
    if (!key || !rows || !rows->isActive() || ds->isNull(index.row(), key)) return;
    const QVariant blob = rows->lookup(lookup.keyField, {ds->value(index.row(), key)}, lookup.pictureField);
    const QImage picture = QImage::fromData(blob.toByteArray());
    if (picture.isNull()) return;
    // Made smaller to fit, never larger.
    const QSize box = lookup.pictureSize.boundedTo(opt.rect.size());
    QSize size = picture.size();
    if (size.width() > box.width() || size.height() > box.height()) size.scale(box, Qt::KeepAspectRatio);
    QRect target(QPoint(0, 0), size);
    target.moveCenter(opt.rect.center());
    drawTransparent(*painter, target, picture);
}

bool GridDelegate::editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                               const QModelIndex& index) {
    if (!isCheck(index)) return QStyledItemDelegate::editorEvent(event, model, option, index);
    if (!(index.flags() & Qt::ItemIsUserCheckable)) return false;
    bool flip = false;
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* me = static_cast<QMouseEvent*>(event);
        flip = me->button() == Qt::LeftButton && option.rect.contains(me->position().toPoint());
    } else if (event->type() == QEvent::MouseButtonDblClick) {
        return true; // no editor for a check box
    } else if (event->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(event);
        flip = ke->key() == Qt::Key_Space || ke->key() == Qt::Key_Select;
    }
    if (!flip) return false;
    const bool checked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
    return model->setData(index, int(checked ? Qt::Unchecked : Qt::Checked), Qt::CheckStateRole);
}

bool GridDelegate::isPageSwitchKey(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* ke = static_cast<const QKeyEvent*>(event);
    return (ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab) &&
           (ke->modifiers() & Qt::ControlModifier);
}

bool GridDelegate::eventFilter(QObject* editor, QEvent* event) {
    // Qt's editor filter would take it for Tab and open the next cell.
    if (isPageSwitchKey(event)) return false;
    return QStyledItemDelegate::eventFilter(editor, event);
}

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    const GridModel* m = gridModel(index);
    Field* f = m ? m->fieldAt(index.column()) : nullptr;
    if (!f || isCheck(index)) return nullptr;
    if (const ColumnLookup* lk = columnLookup(index)) {
        auto* editor = new GridLookupEditor(*lk, parent);
        auto* self = const_cast<GridDelegate*>(this);
        connect(editor, &GridLookupEditor::chosen, self, [self, editor] {
            emit self->commitData(editor);
            emit self->closeEditor(editor, QAbstractItemDelegate::NoHint);
        });
        return editor;
    }
    if (f->isLookup() && f->lookupDataset()) {
        auto* combo = new QComboBox(parent);
        combo->setFrame(false);
        Dataset* lookup = f->lookupDataset();
        Field* key = lookup->findField(f->lookupKeyFields().section(QLatin1Char(';'), 0, 0).trimmed());
        Field* result = lookup->findField(f->lookupResultField());
        if (key && result && lookup->isActive()) {
            combo->addItem(QString(), QVariant());
            for (int r = 0; r < lookup->recordCount(); ++r)
                combo->addItem(lookup->displayText(r, result), lookup->value(r, key));
        }
        combo->setMaxVisibleItems(16);
        return combo;
    }
    if (f->dataType() == FieldType::DateTime) {
        auto* date = new DBDateEdit(parent);
        date->setFrame(false);
        return date;
    }
    auto* line = new QLineEdit(parent);
    line->setFrame(false);
    line->setAlignment(f->alignment());
    if (const EditMask mask(maskOf(index)); !mask.isEmpty())
        line->setInputMask(mask.qtInputMask());
    else if (f->dataType() == FieldType::String && f->size() > 0)
        line->setMaxLength(f->size());
    Q_UNUSED(option);
    return line;
}

void GridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    const GridModel* m = gridModel(index);
    Field* f = m ? m->fieldAt(index.column()) : nullptr;
    if (!f) return;
    if (auto* lookup = qobject_cast<GridLookupEditor*>(editor)) {
        Field* key = keyTarget(index);
        Dataset* ds = m->dataset();
        lookup->start(key && !ds->isNull(index.row(), key) ? ds->value(index.row(), key) : QVariant());
    } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        Dataset* ds = m->dataset();
        Field* key = ds ? ds->findField(f->keyFields().section(QLatin1Char(';'), 0, 0).trimmed()) : nullptr;
        const QVariant current = key ? ds->value(index.row(), key) : QVariant();
        int found = 0;
        for (int i = 1; i < combo->count(); ++i)
            if (current.isValid() && combo->itemData(i).toString() == current.toString()) found = i;
        combo->setCurrentIndex(found);
    } else if (auto* date = qobject_cast<DBDateEdit*>(editor)) {
        const QDateTime value = index.data(Qt::EditRole).toDateTime();
        date->blockSignals(true);
        date->setDate(value.date());
        date->blockSignals(false);
    } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        const bool text = f->dataType() == FieldType::String || f->dataType() == FieldType::Memo;
        if (const EditMask mask(maskOf(index)); !mask.isEmpty())
            line->setText(mask.toEditText(index.data(Qt::EditRole).toString()));
        else
            line->setText(text ? index.data(Qt::EditRole).toString()
                               : index.data(Qt::DisplayRole).toString());
        line->selectAll();
    }
}

void GridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
    const GridModel* m = gridModel(index);
    Field* f = m ? m->fieldAt(index.column()) : nullptr;
    if (!f) return;
    if (auto* lookup = qobject_cast<GridLookupEditor*>(editor)) {
        Field* key = keyTarget(index);
        Dataset* ds = m->dataset();
        if (!key || !lookup->isChanged()) return;
        const QVariant chosen = lookup->key();
        ds->moveTo(index.row());
        if (!ds->isEditing()) ds->edit();
        if (chosen.isValid() && !chosen.isNull())
            key->setAsVariant(chosen);
        else
            key->clear();
        return;
    }
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        Dataset* ds = m->dataset();
        Field* key = ds ? ds->findField(f->keyFields().section(QLatin1Char(';'), 0, 0).trimmed()) : nullptr;
        if (!key) return;
        const QVariant chosen = combo->currentData();
        // The lookup dataset follows the choice, for screens that read its row.
        if (Dataset* lookupRows = f->lookupDataset();
            lookupRows && lookupRows->isActive() && !chosen.isNull())
            lookupRows->locate(f->lookupKeyFields().section(QLatin1Char(';'), 0, 0).trimmed(), chosen);
        if (ds->value(index.row(), key).toString() == chosen.toString() &&
            ds->isNull(index.row(), key) == chosen.isNull())
            return;
        ds->moveTo(index.row());
        if (!ds->isEditing()) ds->edit();
        key->setAsVariant(chosen);
        return;
    }
    if (auto* date = qobject_cast<DBDateEdit*>(editor)) {
        date->updateRecord();
        const QDate d = date->date();
        const QDateTime before = index.data(Qt::EditRole).toDateTime();
        if (before.date() == d || (!before.isValid() && !d.isValid())) return;
        model->setData(index, d.isValid()
                                  ? QVariant(wallClock(d, before.isValid() ? before.time() : QTime(0, 0)))
                                  : QVariant());
        return;
    }
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        if (const EditMask mask(maskOf(index)); !mask.isEmpty()) {
            // Stored as the field's mask says: the typed characters, or with the literals.
            const QString stored = mask.toStored(line->displayText());
            if (stored == index.data(Qt::EditRole).toString()) return;
            model->setData(index, stored.isEmpty() ? QVariant() : QVariant(stored));
            return;
        }
        const bool text = f->dataType() == FieldType::String || f->dataType() == FieldType::Memo;
        const QString before =
            text ? index.data(Qt::EditRole).toString() : index.data(Qt::DisplayRole).toString();
        if (line->text() == before) return;
        // Text the field cannot hold ("12a" for a number) is told, and the cell keeps its value:
        // the error must not cross the view's own code.
        try {
            model->setData(index, line->text());
        } catch (const Error&) {
            ErrorTranslator::handleCurrent();
        }
    }
}

void GridDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const {
    Q_UNUSED(index);
    editor->setGeometry(option.rect);
}

} // namespace dv

#pragma once
#include <QImage>
#include <QTabWidget>
#include <QWidget>

class QLabel;

// One clickable place of the chart: a fixed slot (no picture, the background shows
// through) or an item's icon laid over its slot (its picture drawn transparently
// from the top-left corner, clipped to the rectangle). The tooth number is the
// component's tag; an item icon also carries the item's key.
class OdontogramaPlace : public QWidget {
    Q_OBJECT
public:
    // Lets the language files give the slots' hints; an item's icon shows its
    // service, which is data.
    static void registerTexts();

    OdontogramaPlace(const QString& location, int tooth, qint64 item, QWidget* parent);

    QString location() const { return m_location; }
    int tooth() const;
    qint64 item() const { return m_item; }
    const QImage& picture() const { return m_picture; }
    void setPicture(const QImage& picture);

signals:
    void clicked(OdontogramaPlace* place);
    void hovered(OdontogramaPlace* place, bool inside);

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;

private:
    // The place beside this one as the chart shows them: dx along the row (icons after
    // the slot they lie on), dy to the row above or below; null at an edge.
    OdontogramaPlace* neighbour(int dx, int dy) const;

    QString m_location;
    qint64 m_item;
    QImage m_picture;
};

// A white panel of one arch set: its background picture and captions.
class OdontogramaPanel : public QWidget {
    Q_OBJECT
public:
    OdontogramaPanel(bool deciduous, const QImage& background, QWidget* parent);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    bool m_deciduous;
    QImage m_background;
};

// The odontogram: permanent teeth, deciduous teeth and the prosthesis strip, each
// item of the consultation drawn as an icon on its slot. Knows nothing of datasets:
// the record hands it each item's place, picture and hint.
class OdontogramaWidget : public QTabWidget {
    Q_OBJECT
public:
    // The pictures come from the application's skins folder (given with its final '/').
    explicit OdontogramaWidget(const QString& skinsFolder, QWidget* parent = nullptr);

    OdontogramaPanel *pnlPermanentes, *pnlDeciduos;
    QWidget* pnlProtese;

    // "img_" + location + number: the name of a slot, and with the item key appended,
    // of an item's icon.
    static QString slotName(const QString& location, int tooth);
    static QString iconName(const QString& location, int tooth, qint64 item);
    // The slot of a place, or null when the location and number name none.
    OdontogramaPlace* slotAt(const QString& location, int tooth) const;

    // Draws an item's icon over its slot, on top of what is there, replacing an earlier
    // icon of the same item. Null when the place names no slot (nothing is drawn).
    OdontogramaPlace* showItem(const QString& location, int tooth, qint64 item, const QImage& picture,
                               const QString& hint);
    void removeItem(const QString& location, int tooth, qint64 item);
    void removeAllItems();

    // What prints: the permanent panel, or the deciduous one while it is shown (the
    // strip shows the permanent panel). Rendered off screen, icons included.
    QImage chartPicture();

signals:
    // A slot or an item icon was clicked: tooth number, item key (0 for a slot),
    // location code.
    void placeClicked(int tooth, qint64 item, const QString& location);

private:
    void buildArch(OdontogramaPanel* panel, bool deciduous);
    void buildStrip(const QString& skinsFolder);
    OdontogramaPlace* addSlot(QWidget* panel, const QString& location, int tooth, const QRect& rect);
    void highlightFrame(OdontogramaPlace* place, bool on);
    static void keepTabStop(QWidget* panel);
    QList<QLabel*> m_frames;
    QLabel *imgMolduraNormal, *imgMolduraDestaque; // the strip's two looks, hidden
};

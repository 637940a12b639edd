#pragma once
#include "FieldLink.h"
#include <QFrame>
#include <QImage>

namespace dv {

// A picture box. Bound to a blob field it shows the row's picture (JPEG, PNG or BMP
// bytes); an empty field or bytes that are not a picture show nothing. Unbound,
// setPictureData() shows bytes given by the screen.
//
// Drawing: at natural size from the top left by default; center() centres it,
// stretch() fills the box, proportional() scales it down (never up) keeping its shape;
// stretch with proportional fills the box as far as the shape allows.
class DBImage : public QFrame, public DataControl {
    Q_OBJECT
    Q_PROPERTY(QString dataField READ dataField WRITE setDataField)
    Q_PROPERTY(bool center READ center WRITE setCenter)
    Q_PROPERTY(bool stretch READ stretch WRITE setStretch)
    Q_PROPERTY(bool proportional READ proportional WRITE setProportional)
public:
    explicit DBImage(QWidget* parent = nullptr);

    void setDataField(const QString& name) { link().setFieldName(name); }

    // Shows the picture in the bytes; false, keeping what was shown, when they are not one.
    bool setPictureData(const QByteArray& bytes);
    void setPicture(const QImage& image);
    void clearPicture();
    const QImage& picture() const { return m_image; }
    bool hasPicture() const { return !m_image.isNull(); }

    bool center() const { return m_center; }
    void setCenter(bool on);
    bool stretch() const { return m_stretch; }
    void setStretch(bool on);
    bool proportional() const { return m_proportional; }
    void setProportional(bool on);

    // Where the picture is drawn inside the frame.
    QRect pictureRect() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void load();

    QImage m_image;
    QByteArray m_shownBytes;
    bool m_center = false;
    bool m_stretch = false;
    bool m_proportional = false;
};

} // namespace dv

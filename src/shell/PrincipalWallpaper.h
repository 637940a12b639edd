#pragma once
#include <QPixmap>
#include <QWidget>

namespace dv {

// The picture area of the main window while no screen is open: the wallpaper picture
// centred on a quiet backdrop.
class PrincipalWallpaper : public QWidget {
    Q_OBJECT
public:
    explicit PrincipalWallpaper(QWidget* parent = nullptr);

    // Loads a picture file; false (and the picture stays as it was) when it cannot be read.
    bool load(const QString& fileName);
    const QPixmap& picture() const { return m_picture; }
    const QString& fileName() const { return m_fileName; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QPixmap m_picture;
    QString m_fileName;
};

} // namespace dv

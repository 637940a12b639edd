#pragma once
#include <QImage>
#include <QList>
#include <QString>

// The pictures the odontogram and the treatment catalogue draw with: one per
// tooth of the chart, the icons that mark treatments on faces, teeth and
// prosthesis places, the two chart backgrounds and the strip's frames.
namespace odonto {

struct NamedPicture {
    QString file; // the file name the installation records (icone_arquivo, or the tooth file)
    QImage image;
};

// The tooth numbers of the chart (permanent 11-48, deciduous 51-85) and 0, the
// generic tooth shown behind face and prosthesis icons.
QList<int> toothNumbers();
// A tooth's picture: transparent, 125 x 145, the tooth drawn in the 37 x 75 box
// where the service picker lays the icon over it.
QImage toothPicture(int number);
QString toothFile(int number);

// Every odontogram icon, named by its file.
QList<NamedPicture> icons();

// The chart backgrounds (700 x 331) and the strip's frame, plain and highlighted (47 x 47).
QImage chartBackground(bool deciduous);
QImage stripFrame(bool highlighted);

} // namespace odonto

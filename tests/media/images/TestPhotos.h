#pragma once

#include <QColor>
#include <QImage>
#include <QImageIOHandler>
#include <QImageWriter>
#include <QPainter>
#include <QString>

// Photo files for the image tests, written by code.
namespace TestPhotos {

// A left-to-right gradient with a red top half, so orientation shows.
inline QImage pattern(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, width, 0);
    gradient.setColorAt(0, Qt::black);
    gradient.setColorAt(1, Qt::white);
    painter.fillRect(image.rect(), gradient);
    painter.fillRect(QRect(0, 0, width, height / 2), QColor(220, 20, 20));
    return image;
}

inline bool writeJpeg(const QString &path, const QImage &image,
                      QImageIOHandler::Transformations transformation = QImageIOHandler::TransformationNone)
{
    QImageWriter writer(path, "jpeg");
    writer.setQuality(90);
    writer.setTransformation(transformation);
    return writer.write(image);
}

inline bool writeJpeg(const QString &path, int width, int height)
{
    return writeJpeg(path, pattern(width, height));
}

} // namespace TestPhotos

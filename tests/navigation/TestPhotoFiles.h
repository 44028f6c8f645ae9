#pragma once

#include <QColor>
#include <QDir>
#include <QImage>
#include <QImageWriter>
#include <QString>
#include <QUrl>
#include <QUuid>

#include <optional>

// Station photos written by code: one flat colour per photo, so a test can
// tell by a pixel which photo a cell shows.
namespace TestPhotoFiles {

inline QUrl writePhoto(const QDir &folder, const QString &name, QColor color, QSize size = QSize(800, 400))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    const QString path = folder.filePath(name + QStringLiteral(".jpg"));
    QImageWriter writer(path, "jpeg");
    writer.setQuality(95);
    writer.write(image);
    return QUrl::fromLocalFile(path);
}

/// Whether two colours are the same within what JPEG and scaling change.
inline bool near(QColor left, QColor right, int tolerance = 12)
{
    return std::abs(left.red() - right.red()) <= tolerance && std::abs(left.green() - right.green()) <= tolerance
        && std::abs(left.blue() - right.blue()) <= tolerance;
}

} // namespace TestPhotoFiles

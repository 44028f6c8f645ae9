#include "BenchPhotos.h"

#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

namespace BenchPhotos {

QString writePhoto(const QTemporaryDir &dir, const QString &name, int width, int height, int seed)
{
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        const int base = 40 + 150 * y / height;
        for (int x = 0; x < width; ++x) {
            const int noise = int(random.generate() & 31);
            line[x] = qRgb((base + x * 60 / width + noise) & 255, (base + noise / 2) & 255, (200 - base / 2 + noise) & 255);
        }
    }
    QPainter painter(&image);
    for (int i = 0; i < 200; ++i) {
        painter.fillRect(QRect(random.bounded(width), random.bounded(height), random.bounded(width / 8),
                               random.bounded(height / 8)),
                         QColor::fromHsv(random.bounded(360), 120, 200));
    }
    painter.end();
    const QString path = dir.filePath(name);
    QImageWriter writer(path, "jpeg");
    writer.setQuality(88);
    writer.write(image);
    return path;
}

QStringList writePhotos(const QTemporaryDir &dir, int count, int width, int height)
{
    QStringList paths;
    for (int i = 0; i < count; ++i)
        paths << writePhoto(dir, QStringLiteral("photo-%1.jpg").arg(i), width, height, 1000 + i);
    return paths;
}

} // namespace BenchPhotos

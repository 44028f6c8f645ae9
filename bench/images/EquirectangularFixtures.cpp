#include "EquirectangularFixtures.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>

#include <cmath>
#include <numbers>

namespace {

QRgb roomColour(double longitude, double latitude, quint32 &noiseState)
{
    noiseState ^= noiseState << 13;
    noiseState ^= noiseState >> 17;
    noiseState ^= noiseState << 5;
    const int noise = int(noiseState % 13) - 6;
    double r, g, b;
    if (latitude > 0.45) { // ceiling
        r = 235, g = 232, b = 226;
    } else if (latitude < -0.5) { // floor boards
        const double board = std::fmod(std::abs(longitude * 40 + latitude * 3), 1.0) < 0.06 ? 0.7 : 1.0;
        r = 150 * board, g = 105 * board, b = 70 * board;
    } else { // walls with windows and doors
        const double wall = std::fmod(longitude + 2 * std::numbers::pi, std::numbers::pi / 2);
        const bool window = wall > 0.5 && wall < 1.0 && latitude > 0.0 && latitude < 0.35;
        const bool door = wall > 1.2 && wall < 1.45 && latitude < 0.2;
        if (window)
            r = 140 + 60 * latitude, g = 180 + 50 * latitude, b = 230;
        else if (door)
            r = 110, g = 80, b = 55;
        else
            r = 210 - 30 * latitude, g = 200 - 25 * latitude, b = 180;
    }
    const auto clamp = [noise](double v) { return std::clamp(int(v) + noise, 0, 255); };
    return qRgb(clamp(r), clamp(g), clamp(b));
}

} // namespace

QString equirectangularJpeg(int width)
{
    const QString dir = QDir::temp().filePath(QStringLiteral("lumivane-bench-images"));
    QDir().mkpath(dir);
    const QString path = QDir(dir).filePath(QStringLiteral("equirect-%1.jpg").arg(width));
    if (QFileInfo(path).size() > 0)
        return path;
    const int height = width / 2;
    QImage image(width, height, QImage::Format_RGB32);
    quint32 noiseState = 2463534242u;
    for (int y = 0; y < height; ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        const double latitude = std::numbers::pi / 2 - std::numbers::pi * (y + 0.5) / height;
        for (int x = 0; x < width; ++x)
            row[x] = roomColour(2 * std::numbers::pi * (x + 0.5) / width, latitude, noiseState);
    }
    QImageWriter writer(path, "jpeg");
    writer.setQuality(90);
    writer.write(image);
    return path;
}

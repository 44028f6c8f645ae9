#include "SampleArtwork.h"

#include <QBuffer>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QtEndian>

#include <cmath>
#include <numbers>

namespace SampleArtwork {

namespace {

QByteArray pngBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QFont font(int pixels, bool bold = false)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

} // namespace

QByteArray logoPng(const QString &agencyName)
{
    QImage image(480, 160, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor blue(0x2e, 0x86, 0xab);
    painter.setPen(Qt::NoPen);
    painter.setBrush(blue);
    painter.drawEllipse(QPointF(80, 80), 64, 64);
    painter.setBrush(QColor(0xf6, 0xc1, 0x3d));
    painter.drawEllipse(QPointF(80, 62), 26, 26);
    painter.setBrush(Qt::white);
    QPainterPath hills;
    hills.moveTo(20, 110);
    hills.quadTo(60, 80, 90, 104);
    hills.quadTo(115, 88, 140, 110);
    hills.lineTo(140, 120);
    hills.lineTo(20, 120);
    painter.drawPath(hills);
    painter.setPen(blue.darker(130));
    painter.setFont(font(40, true));
    painter.drawText(QRectF(160, 20, 320, 120), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextWordWrap, agencyName);
    painter.end();
    return pngBytes(image);
}

QByteArray floorPlanPng(const TourPlan &plan, const QString &levelKey)
{
    const QSize size(1000, 700);
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(0xfb, 0xfa, 0xf6));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(0x55, 0x55, 0x55));
    painter.setFont(font(28, true));
    painter.drawText(QRectF(20, 10, 960, 40), Qt::AlignLeft,
                     levelKey.isEmpty() ? QStringLiteral("Extérieurs") : levelKey);
    for (const PlannedStation &station : plan.stations) {
        if (station.level.value_or(QString()) != levelKey)
            continue;
        const QRectF room(station.planRect.x() * size.width(), station.planRect.y() * size.height(),
                          station.planRect.width() * size.width(), station.planRect.height() * size.height());
        painter.setPen(QPen(QColor(0x33, 0x33, 0x33), 6));
        painter.setBrush(station.scene.wallColour.lighter(110));
        painter.drawRect(room);
        painter.setPen(QColor(0x33, 0x33, 0x33));
        painter.setFont(font(22));
        painter.drawText(room.adjusted(8, 8, -8, -8), Qt::AlignTop | Qt::AlignHCenter | Qt::TextWordWrap,
                         station.name);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0xc8, 0x1d, 0x25, 90));
        painter.drawEllipse(room.center(), 9, 9);
    }
    // North arrow: plans are drawn with north up, like the photos' N walls.
    painter.setPen(QPen(QColor(0x55, 0x55, 0x55), 3));
    painter.drawLine(QPointF(950, 120), QPointF(950, 70));
    painter.drawLine(QPointF(950, 70), QPointF(940, 85));
    painter.drawLine(QPointF(950, 70), QPointF(960, 85));
    painter.setFont(font(22, true));
    painter.drawText(QRectF(930, 120, 40, 30), Qt::AlignCenter, QStringLiteral("N"));
    painter.end();
    return pngBytes(image);
}

QByteArray picturePng(const QString &title)
{
    QImage image(1200, 800, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 800);
    sky.setColorAt(0, QColor(0x7f, 0xb8, 0xe6));
    sky.setColorAt(1, QColor(0xf3, 0xe6, 0xc8));
    painter.fillRect(image.rect(), sky);
    painter.setPen(QPen(QColor(0x44, 0x44, 0x44), 3));
    for (int x = 0; x <= 1200; x += 100)
        painter.drawLine(x, 0, x, 800);
    for (int y = 0; y <= 800; y += 100)
        painter.drawLine(0, y, 1200, y);
    painter.setPen(QPen(QColor(0xc8, 0x1d, 0x25), 8));
    painter.drawRect(image.rect().adjusted(4, 4, -4, -4));
    painter.setPen(Qt::black);
    painter.setFont(font(64, true));
    painter.drawText(image.rect(), Qt::AlignCenter, title);
    painter.setFont(font(28));
    painter.drawText(QRectF(0, 0, 1200, 90), Qt::AlignCenter, QStringLiteral("↑ haut / top"));
    painter.end();
    return pngBytes(image);
}

bool writeBrochurePdf(const QString &path, const QString &title, const TourPlan &plan)
{
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(150);
    writer.setTitle(title);
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    const QRect page = painter.viewport();
    painter.setFont(font(48, true));
    painter.drawText(QRect(0, 60, page.width(), 100), Qt::AlignHCenter, title);
    painter.setFont(font(26));
    int y = 220;
    for (const PlannedStation &station : plan.stations) {
        painter.drawText(QRect(90, y, page.width() - 180, 40), Qt::AlignLeft,
                         QStringLiteral("• %1 — %2").arg(station.name, station.caption));
        y += 46;
        if (y > page.height() - 120)
            break;
    }
    writer.newPage();
    painter.setFont(font(40, true));
    painter.drawText(QRect(0, 60, page.width(), 80), Qt::AlignHCenter, QStringLiteral("Page 2"));
    painter.setPen(QPen(Qt::black, 4));
    painter.drawRect(QRect(90, 200, page.width() - 180, page.height() - 320));
    painter.end();
    return true;
}

QByteArray toneWav(double seconds, double frequency)
{
    constexpr int rate = 22050;
    const int samples = int(seconds * rate);
    QByteArray bytes;
    const auto put32 = [&bytes](quint32 v) {
        const quint32 le = qToLittleEndian(v);
        bytes.append(reinterpret_cast<const char *>(&le), 4);
    };
    const auto put16 = [&bytes](quint16 v) {
        const quint16 le = qToLittleEndian(v);
        bytes.append(reinterpret_cast<const char *>(&le), 2);
    };
    bytes.append("RIFF");
    put32(quint32(36 + samples * 2));
    bytes.append("WAVEfmt ");
    put32(16);
    put16(1);
    put16(1);
    put32(rate);
    put32(rate * 2);
    put16(2);
    put16(16);
    bytes.append("data");
    put32(quint32(samples * 2));
    for (int i = 0; i < samples; ++i) {
        const double t = double(i) / rate;
        put16(quint16(qint16(8000 * std::sin(2 * std::numbers::pi * frequency * t))));
    }
    return bytes;
}

} // namespace SampleArtwork

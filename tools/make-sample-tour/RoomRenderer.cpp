#include "RoomRenderer.h"

#include <QFont>
#include <QPainter>
#include <QThread>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

namespace {

constexpr double pi = std::numbers::pi;
constexpr double doorWidth = 0.9;
constexpr double doorHeight = 2.05;
constexpr double doorHandleHeight = 1.0;
constexpr double plaqueSize = 0.45;
constexpr double plaqueCentreHeight = 1.45;

int wallIndex(Wall wall)
{
    return static_cast<int>(wall);
}

QString wallLetter(Wall wall)
{
    switch (wall) {
    case Wall::North: return QStringLiteral("N");
    case Wall::East: return QStringLiteral("E");
    case Wall::South: return QStringLiteral("S");
    case Wall::West: return QStringLiteral("W");
    }
    return {};
}

QFont fontOfHeight(double pixels, bool bold = false)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(std::max(1, int(std::lround(pixels))));
    font.setBold(bold);
    return font;
}

// Linear blend of two RGB32 pixels, f in 0..256; red and blue move together.
inline QRgb blend(QRgb p, QRgb q, uint f)
{
    const uint rb = (((p & 0xff00ffu) * (256 - f) + (q & 0xff00ffu) * f) >> 8) & 0xff00ffu;
    const uint g = (((p & 0x00ff00u) * (256 - f) + (q & 0x00ff00u) * f) >> 8) & 0x00ff00u;
    return rb | g;
}

// Bilinear sample of an RGB32 texture at a position given in pixels.
inline QRgb sample(const QImage &texture, double u, double v)
{
    const int w = texture.width();
    const int h = texture.height();
    u = std::clamp(u - 0.5, 0.0, double(w - 1));
    v = std::clamp(v - 0.5, 0.0, double(h - 1));
    const int x0 = int(u);
    const int y0 = int(v);
    const int x1 = std::min(x0 + 1, w - 1);
    const int y1 = std::min(y0 + 1, h - 1);
    const uint fx = uint((u - x0) * 256);
    const uint fy = uint((v - y0) * 256);
    // bits() of a const image never detaches, so this is safe from many threads.
    const uchar *bits = texture.constBits();
    const qsizetype stride = texture.bytesPerLine();
    const auto *row0 = reinterpret_cast<const QRgb *>(bits + y0 * stride);
    const auto *row1 = reinterpret_cast<const QRgb *>(bits + y1 * stride);
    return 0xff000000u | blend(blend(row0[x0], row0[x1], fx), blend(row1[x0], row1[x1], fx), fy);
}

// Which wall a level ray at this yaw meets first, and how far along it.
std::pair<Wall, double> wallHitByLevelRay(double yaw, double width, double depth)
{
    const double dx = std::sin(yaw);
    const double dz = std::cos(yaw);
    const double hw = width / 2;
    const double hd = depth / 2;
    const double tx = std::abs(dx) > 1e-12 ? hw / std::abs(dx) : std::numeric_limits<double>::infinity();
    const double tz = std::abs(dz) > 1e-12 ? hd / std::abs(dz) : std::numeric_limits<double>::infinity();
    if (tz <= tx) {
        const double x = dx * tz;
        return dz > 0 ? std::pair{Wall::North, x + hw} : std::pair{Wall::South, hw - x};
    }
    const double z = dz * tx;
    return dx > 0 ? std::pair{Wall::East, hd - z} : std::pair{Wall::West, z + hd};
}

} // namespace

RoomRenderer::RoomRenderer(RoomScene scene, double pixelsPerMetre)
    : m_scene(std::move(scene))
    , m_ppm(pixelsPerMetre)
{
    for (Wall wall : {Wall::North, Wall::East, Wall::South, Wall::West})
        paintWall(wall);
    paintFloor();
    paintCeiling();
}

double RoomRenderer::wallLength(Wall wall) const
{
    return (wall == Wall::North || wall == Wall::South) ? m_scene.width : m_scene.depth;
}

// Plan coordinates: x to the east, y to the north, origin under the camera.
QPointF RoomRenderer::wallPointToPlan(Wall wall, double alongMetres) const
{
    const double hw = m_scene.width / 2;
    const double hd = m_scene.depth / 2;
    switch (wall) {
    case Wall::North: return {alongMetres - hw, hd};
    case Wall::East: return {hw, hd - alongMetres};
    case Wall::South: return {hw - alongMetres, -hd};
    case Wall::West: return {-hw, alongMetres - hd};
    }
    return {};
}

void RoomRenderer::paintWall(Wall wall)
{
    const double length = wallLength(wall);
    const double ppm = m_ppm;
    QImage image(std::max(2, int(std::ceil(length * ppm))), std::max(2, int(std::ceil(m_scene.height * ppm))),
                 QImage::Format_RGB32);
    // Each wall a slightly different shade, so corners read at a glance.
    static constexpr int shades[] = {100, 92, 108, 96};
    image.fill(m_scene.wallColour.lighter(shades[wallIndex(wall)]));

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const auto px = [ppm](double metres) { return metres * ppm; };
    const double floorY = px(m_scene.height);
    const double horizonY = px(m_scene.height - m_scene.eyeHeight);
    const QColor ink = m_scene.wallColour.darker(260);

    painter.setPen(QPen(m_scene.wallColour.darker(125), std::max(1.0, px(0.01))));
    for (double x = 1.0; x < length; x += 1.0)
        painter.drawLine(QPointF(px(x), 0), QPointF(px(x), floorY));
    if (!m_scene.outdoor)
        painter.fillRect(QRectF(0, floorY - px(0.1), px(length), px(0.1)), m_scene.wallColour.darker(170));
    else
        painter.fillRect(QRectF(0, 0, px(length), px(0.08)), m_scene.wallColour.darker(140));

    painter.setPen(ink);
    painter.setFont(fontOfHeight(px(0.55), true));
    painter.drawText(QRectF(0, horizonY - px(1.0), px(length), px(0.8)), Qt::AlignCenter, wallLetter(wall));
    painter.setFont(fontOfHeight(px(0.14)));
    painter.drawText(QRectF(0, horizonY + px(0.25), px(length), px(0.25)), Qt::AlignCenter, m_scene.title);

    for (const WallFeature &feature : m_scene.features) {
        if (feature.wall != wall)
            continue;
        const double centre = px(feature.along * length);
        if (feature.kind == WallFeature::Kind::Door)
            paintDoor(painter, centre, feature.label);
        else
            paintPlaque(painter, centre, feature.label);
    }

    // The horizon and its yaw scale are drawn last, over doors too.
    painter.setPen(QPen(QColor(0xc8, 0x1d, 0x25), std::max(1.0, px(0.012))));
    painter.drawLine(QPointF(0, horizonY), QPointF(px(length), horizonY));
    paintCompassTicks(painter, wall);
    painter.end();
    m_walls[wallIndex(wall)] = image;
}

void RoomRenderer::paintDoor(QPainter &painter, double centre, const QString &label) const
{
    const auto px = [this](double metres) { return metres * m_ppm; };
    const double floorY = px(m_scene.height);
    const QRectF door(centre - px(doorWidth / 2), floorY - px(doorHeight), px(doorWidth), px(doorHeight));
    painter.fillRect(door.adjusted(-px(0.06), -px(0.06), px(0.06), 0), QColor(0xf4, 0xf1, 0xea));
    painter.fillRect(door, QColor(0x6b, 0x4a, 0x2f));
    painter.setPen(QPen(QColor(0x3d, 0x29, 0x19), std::max(1.0, px(0.015))));
    painter.drawRect(door.adjusted(px(0.08), px(0.08), -px(0.08), -px(1.1)));
    painter.drawRect(door.adjusted(px(0.08), px(1.05), -px(0.08), -px(0.08)));
    painter.setBrush(QColor(0xd9, 0xb3, 0x4c));
    painter.drawEllipse(QPointF(door.right() - px(0.12), floorY - px(doorHandleHeight)), px(0.035), px(0.035));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(m_scene.wallColour.darker(260));
    painter.setFont(fontOfHeight(px(0.13), true));
    painter.drawText(QRectF(centre - px(1.2), door.top() - px(0.3), px(2.4), px(0.22)), Qt::AlignCenter,
                     QStringLiteral("→ ") + label);
}

void RoomRenderer::paintPlaque(QPainter &painter, double centre, const QString &label) const
{
    const auto px = [this](double metres) { return metres * m_ppm; };
    const QColor ink = m_scene.wallColour.darker(260);
    const QRectF plaque(centre - px(plaqueSize / 2), px(m_scene.height - plaqueCentreHeight - plaqueSize / 2),
                        px(plaqueSize), px(plaqueSize));
    painter.setPen(QPen(ink, std::max(1.0, px(0.015))));
    painter.setBrush(QColor(0xfa, 0xf8, 0xf2));
    painter.drawRect(plaque);
    painter.setBrush(QColor(0x2e, 0x86, 0xab));
    painter.drawEllipse(plaque.center(), px(0.13), px(0.13));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(Qt::white);
    painter.setFont(fontOfHeight(px(0.18), true));
    painter.drawText(QRectF(plaque.center() - QPointF(px(0.13), px(0.13)), QSizeF(px(0.26), px(0.26))),
                     Qt::AlignCenter, QStringLiteral("i"));
    painter.setPen(ink);
    painter.setFont(fontOfHeight(px(0.08)));
    painter.drawText(QRectF(centre - px(0.8), plaque.bottom() + px(0.03), px(1.6), px(0.12)), Qt::AlignCenter,
                     label);
}

void RoomRenderer::paintCompassTicks(QPainter &painter, Wall wall) const
{
    const double horizonY = (m_scene.height - m_scene.eyeHeight) * m_ppm;
    painter.setFont(fontOfHeight(0.07 * m_ppm));
    for (int degrees = 0; degrees < 360; degrees += 15) {
        const auto [hitWall, along] = wallHitByLevelRay(degrees * pi / 180, m_scene.width, m_scene.depth);
        if (hitWall != wall)
            continue;
        const double x = along * m_ppm;
        painter.drawLine(QPointF(x, horizonY - 0.06 * m_ppm), QPointF(x, horizonY + 0.06 * m_ppm));
        painter.drawText(QRectF(x - 0.3 * m_ppm, horizonY - 0.16 * m_ppm, 0.6 * m_ppm, 0.09 * m_ppm),
                         Qt::AlignCenter, QStringLiteral("%1°").arg(degrees));
    }
}

void RoomRenderer::paintFloor()
{
    const double ppm = m_ppm;
    QImage image(std::max(2, int(std::ceil(m_scene.width * ppm))), std::max(2, int(std::ceil(m_scene.depth * ppm))),
                 QImage::Format_RGB32);
    image.fill(m_scene.floorColour);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(m_scene.width / 2 * ppm, m_scene.depth / 2 * ppm);
    // Grid lines every half metre, a quarter metre off the camera's foot
    // point: a line right under the camera would smear across the nadir.
    const QColor line = m_scene.floorColour.darker(140);
    for (int i = -40; i <= 40; ++i) {
        painter.setPen(QPen(line, std::max(1.0, (i % 2 == 0 ? 0.025 : 0.01) * ppm)));
        const double offset = (i * 0.5 + 0.25) * ppm;
        painter.drawLine(QPointF(centre.x() + offset, 0), QPointF(centre.x() + offset, image.height()));
        painter.drawLine(QPointF(0, centre.y() + offset), QPointF(image.width(), centre.y() + offset));
    }
    // The nadir mark and an arrow pointing north (up in this texture).
    painter.setPen(QPen(QColor(0xc8, 0x1d, 0x25), 0.02 * ppm));
    painter.drawEllipse(centre, 0.3 * ppm, 0.3 * ppm);
    painter.setBrush(QColor(0xc8, 0x1d, 0x25));
    painter.drawPolygon(QPolygonF({centre + QPointF(0, -0.9 * ppm), centre + QPointF(-0.12 * ppm, -0.45 * ppm),
                                   centre + QPointF(0.12 * ppm, -0.45 * ppm)}));
    painter.setPen(Qt::white);
    painter.setFont(fontOfHeight(0.25 * ppm, true));
    painter.drawText(QRectF(centre.x() - 0.3 * ppm, centre.y() - 1.25 * ppm, 0.6 * ppm, 0.3 * ppm), Qt::AlignCenter,
                     QStringLiteral("N"));
    painter.end();
    m_floor = image;
}

void RoomRenderer::paintCeiling()
{
    const double ppm = m_ppm;
    QImage image(std::max(2, int(std::ceil(m_scene.width * ppm))), std::max(2, int(std::ceil(m_scene.depth * ppm))),
                 QImage::Format_RGB32);
    image.fill(m_scene.ceilingColour);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(m_scene.width / 2 * ppm, m_scene.depth / 2 * ppm);
    const double above = m_scene.height - m_scene.eyeHeight;
    // Rings of constant elevation around the zenith: a pinched pole shows at once.
    painter.setPen(QPen(m_scene.ceilingColour.darker(150), std::max(1.0, 0.015 * ppm)));
    for (int elevation : {80, 70, 60, 50}) {
        const double radius = above / std::tan(elevation * pi / 180) * ppm;
        painter.drawEllipse(centre, radius, radius);
    }
    for (int degrees = 0; degrees < 360; degrees += 30) {
        const double a = degrees * pi / 180;
        const QPointF ray(std::sin(a), std::cos(a));
        painter.drawLine(centre + ray * 0.4 * ppm, centre + ray * 4.0 * ppm);
    }
    painter.setBrush(QColor(0xff, 0xe0, 0x8a));
    painter.drawEllipse(centre, 0.12 * ppm, 0.12 * ppm);
    painter.end();
    m_ceiling = image;
}

QRgb RoomRenderer::shadeSky(double dx, double dy, double dz, double lineWidth) const
{
    const double horizontal = std::hypot(dx, dz);
    const double pitch = std::atan2(dy, horizontal);
    const double t = std::clamp(pitch / (pi / 2), 0.0, 1.0);
    QRgb colour = qRgb(int(190 - 130 * t), int(220 - 110 * t), int(245 - 40 * t));
    // Meridians every 30 degrees and a ring at 75 degrees: both must meet
    // cleanly at the zenith in a correct viewer.
    const double yaw = std::atan2(dx, dz);
    const double step = pi / 6;
    const double nearestMeridian = std::remainder(yaw, step);
    const bool onMeridian = pitch > 0.35 && std::abs(nearestMeridian) * std::cos(pitch) < lineWidth;
    const bool onRing = std::abs(pitch - 75 * pi / 180) < lineWidth;
    if (onMeridian || onRing)
        colour = qRgb(255, 255, 255);
    return colour;
}

QRgb RoomRenderer::shade(double dx, double dy, double dz, double lineWidth) const
{
    constexpr double infinity = std::numeric_limits<double>::infinity();
    const double hw = m_scene.width / 2;
    const double hd = m_scene.depth / 2;
    const double tx = dx != 0 ? hw / std::abs(dx) : infinity;
    const double tz = dz != 0 ? hd / std::abs(dz) : infinity;
    const double tWall = std::min(tx, tz);
    const double tFloor = dy < 0 ? -m_scene.eyeHeight / dy : infinity;
    const double tTop = dy > 0 ? (m_scene.height - m_scene.eyeHeight) / dy : infinity;

    if (tFloor < tWall)
        return sample(m_floor, (dx * tFloor + hw) * m_ppm, (hd - dz * tFloor) * m_ppm);
    if (tTop < tWall) {
        if (m_scene.outdoor)
            return shadeSky(dx, dy, dz, lineWidth);
        return sample(m_ceiling, (dx * tTop + hw) * m_ppm, (dz * tTop + hd) * m_ppm);
    }
    const double down = (m_scene.height - m_scene.eyeHeight - dy * tWall) * m_ppm;
    if (tz <= tx) {
        const double x = dx * tWall;
        return dz > 0 ? sample(m_walls[wallIndex(Wall::North)], (x + hw) * m_ppm, down)
                      : sample(m_walls[wallIndex(Wall::South)], (hw - x) * m_ppm, down);
    }
    const double z = dz * tWall;
    return dx > 0 ? sample(m_walls[wallIndex(Wall::East)], (hd - z) * m_ppm, down)
                  : sample(m_walls[wallIndex(Wall::West)], (z + hd) * m_ppm, down);
}

void RoomRenderer::renderBands(QImage &image, const std::function<void(int, QRgb *)> &renderRow)
{
    // Rows are written through raw pointers from several threads, so the
    // image must be detached before the work starts.
    uchar *bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    const int height = image.height();
    const int bandCount = std::max(1, QThread::idealThreadCount() * 4);
    const int bandHeight = (height + bandCount - 1) / bandCount;
    std::vector<int> bandStarts;
    for (int row = 0; row < height; row += bandHeight)
        bandStarts.push_back(row);
    QtConcurrent::blockingMap(bandStarts, [=, &renderRow](int first) {
        const int last = std::min(first + bandHeight, height);
        for (int row = first; row < last; ++row)
            renderRow(row, reinterpret_cast<QRgb *>(bits + row * stride));
    });
}

QImage RoomRenderer::renderEquirectangular(int width) const
{
    const int height = std::max(1, width / 2);
    QImage image(width, height, QImage::Format_RGB32);
    std::vector<double> sinYaw(width);
    std::vector<double> cosYaw(width);
    for (int x = 0; x < width; ++x) {
        const double yaw = ((x + 0.5) / width - 0.5) * 2 * pi;
        sinYaw[x] = std::sin(yaw);
        cosYaw[x] = std::cos(yaw);
    }
    const double lineWidth = 1.2 * 2 * pi / width;
    renderBands(image, [&](int row, QRgb *line) {
        const double pitch = (0.5 - (row + 0.5) / height) * pi;
        const double cp = std::cos(pitch);
        const double sp = std::sin(pitch);
        for (int x = 0; x < width; ++x)
            line[x] = shade(sinYaw[x] * cp, sp, cosYaw[x] * cp, lineWidth);
    });
    return image;
}

QImage RoomRenderer::renderPerspective(QSize size, double yaw, double horizontalFov) const
{
    QImage image(size, QImage::Format_RGB32);
    const double halfWidth = std::tan(horizontalFov / 2);
    const double halfHeight = halfWidth * size.height() / size.width();
    const double fx = std::sin(yaw);
    const double fz = std::cos(yaw);
    const double lineWidth = 1.2 * horizontalFov / size.width();
    renderBands(image, [&](int row, QRgb *line) {
        const double up = (1 - 2 * (row + 0.5) / size.height()) * halfHeight;
        for (int x = 0; x < size.width(); ++x) {
            const double right = (2 * (x + 0.5) / size.width() - 1) * halfWidth;
            // right vector is (cos yaw, 0, -sin yaw)
            line[x] = shade(fx + right * fz, up, fz - right * fx, lineWidth);
        }
    });
    return image;
}

ViewDirection RoomRenderer::directionOf(const WallFeature &feature) const
{
    const QPointF plan = wallPointToPlan(feature.wall, feature.along * wallLength(feature.wall));
    const double height = feature.kind == WallFeature::Kind::Door ? doorHandleHeight : plaqueCentreHeight;
    const double y = height - m_scene.eyeHeight;
    return {std::atan2(plan.x(), plan.y()), std::atan2(y, std::hypot(plan.x(), plan.y()))};
}

std::optional<QPointF> RoomRenderer::perspectivePosition(ViewDirection direction, QSize size, double yaw,
                                                         double horizontalFov)
{
    const double cp = std::cos(direction.pitch);
    const double dx = std::sin(direction.yaw) * cp;
    const double dy = std::sin(direction.pitch);
    const double dz = std::cos(direction.yaw) * cp;
    const double forward = dx * std::sin(yaw) + dz * std::cos(yaw);
    if (forward <= 1e-9)
        return std::nullopt;
    const double right = (dx * std::cos(yaw) - dz * std::sin(yaw)) / forward;
    const double up = dy / forward;
    const double halfWidth = std::tan(horizontalFov / 2);
    const double halfHeight = halfWidth * size.height() / size.width();
    const QPointF position((right / halfWidth + 1) / 2, (1 - up / halfHeight) / 2);
    if (position.x() < 0 || position.x() > 1 || position.y() < 0 || position.y() > 1)
        return std::nullopt;
    return position;
}

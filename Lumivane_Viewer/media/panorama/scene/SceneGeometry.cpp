#include "SceneGeometry.h"

#include "SphereTextureMapping.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// The rows of one band of a sphere, from texture row t0 down to t1: the
// rows of latitude of the uncut sphere that fall in it, at least one.
void addSphereBand(SceneMesh &mesh, double radius, int columns, int rows, double t0, double t1)
{
    const int bandRows = std::max(1, int(std::lround((t1 - t0) * rows)));
    const auto firstVertex = static_cast<unsigned>(mesh.vertices.size() / 5);
    for (int row = 0; row <= bandRows; ++row) {
        // The last row ends exactly at the cut, where the next band begins.
        const double t = row == bandRows ? t1 : t0 + (t1 - t0) * row / bandRows;
        const double pitch = std::numbers::pi / 2.0 - std::numbers::pi * t;
        for (int column = 0; column <= columns; ++column) {
            const double yaw = -std::numbers::pi + 2.0 * std::numbers::pi * column / columns;
            const double x = -std::sin(yaw) * std::cos(pitch);
            const double y = std::sin(pitch);
            const double z = std::cos(yaw) * std::cos(pitch);
            mesh.vertices.insert(mesh.vertices.end(),
                {static_cast<float>(radius * x), static_cast<float>(radius * y), static_cast<float>(radius * z),
                 static_cast<float>(SphereTextureMapping::sphereCoordinateS(yaw)),
                 static_cast<float>(SphereTextureMapping::photoRow(pitch))});
        }
    }
    const int firstIndex = int(mesh.indices.size());
    for (int row = 0; row < bandRows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const unsigned a = firstVertex + static_cast<unsigned>(row * (columns + 1) + column);
            const unsigned b = a + static_cast<unsigned>(columns + 1);
            mesh.indices.insert(mesh.indices.end(), {a, b, a + 1, a + 1, b, b + 1});
        }
    }
    mesh.bands.push_back({firstIndex, int(mesh.indices.size()) - firstIndex});
}

SceneMesh sphereMesh(double radius, int segments, const std::vector<float> &rowCuts)
{
    // The sphere's frame follows the panorama's yaw/pitch convention so that
    // its texture coordinates come from one place.
    const int columns = std::max(3, segments);
    const int rows = std::max(2, segments / 2);
    SceneMesh mesh;
    double top = 0.0;
    for (const float cut : rowCuts) {
        if (cut <= top || cut >= 1.0f)
            continue;
        addSphereBand(mesh, radius, columns, rows, top, cut);
        top = cut;
    }
    addSphereBand(mesh, radius, columns, rows, top, 1.0);
    return mesh;
}

SceneMesh planeMesh(double width, double height)
{
    const float w = static_cast<float>(width / 2.0);
    const float h = static_cast<float>(height / 2.0);
    SceneMesh mesh;
    // Image row 0 is the top of the plane.
    mesh.vertices = {-w, -h, 0.0f, 0.0f, 1.0f,
                     w, -h, 0.0f, 1.0f, 1.0f,
                     w, h, 0.0f, 1.0f, 0.0f,
                     -w, h, 0.0f, 0.0f, 0.0f};
    mesh.indices = {0, 1, 2, 0, 2, 3};
    mesh.bands = {{0, 6}};
    return mesh;
}

} // namespace

SceneGeometry::SceneGeometry(Kind kind)
    : m_kind(kind)
{
}

std::shared_ptr<SceneGeometry> SceneGeometry::sphere(double radius, int segmentCount)
{
    auto geometry = std::shared_ptr<SceneGeometry>(new SceneGeometry(Kind::Sphere));
    geometry->m_radius = radius;
    geometry->m_segmentCount = segmentCount;
    geometry->m_meshKey = QStringLiteral("sphere:%1:%2").arg(radius, 0, 'g', 17).arg(segmentCount);
    return geometry;
}

std::shared_ptr<SceneGeometry> SceneGeometry::plane(double width, double height)
{
    auto geometry = std::shared_ptr<SceneGeometry>(new SceneGeometry(Kind::Plane));
    geometry->m_width = width;
    geometry->m_height = height;
    geometry->m_meshKey = QStringLiteral("plane:%1:%2").arg(width, 0, 'g', 17).arg(height, 0, 'g', 17);
    return geometry;
}

SceneMesh SceneGeometry::makeMesh(const std::vector<float> &rowCuts) const
{
    return m_kind == Kind::Sphere ? sphereMesh(m_radius, m_segmentCount, rowCuts) : planeMesh(m_width, m_height);
}

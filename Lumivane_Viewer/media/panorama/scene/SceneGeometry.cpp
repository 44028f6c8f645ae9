#include "SceneGeometry.h"

#include "SphereTextureMapping.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

SceneMesh sphereMesh(double radius, int segments)
{
    // The sphere's frame follows the panorama's yaw/pitch convention so that
    // its texture coordinates come from one place.
    const int columns = std::max(3, segments);
    const int rows = std::max(2, segments / 2);
    SceneMesh mesh;
    mesh.vertices.reserve(static_cast<std::size_t>((columns + 1) * (rows + 1) * 5));
    for (int row = 0; row <= rows; ++row) {
        const double pitch = std::numbers::pi / 2.0 - std::numbers::pi * row / rows;
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
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const unsigned a = static_cast<unsigned>(row * (columns + 1) + column);
            const unsigned b = a + static_cast<unsigned>(columns + 1);
            mesh.indices.insert(mesh.indices.end(), {a, b, a + 1, a + 1, b, b + 1});
        }
    }
    mesh.textureRows = rows;
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
    return geometry;
}

std::shared_ptr<SceneGeometry> SceneGeometry::plane(double width, double height)
{
    auto geometry = std::shared_ptr<SceneGeometry>(new SceneGeometry(Kind::Plane));
    geometry->m_width = width;
    geometry->m_height = height;
    return geometry;
}

QString SceneGeometry::meshKey() const
{
    if (m_kind == Kind::Sphere)
        return QStringLiteral("sphere:%1:%2").arg(m_radius, 0, 'g', 17).arg(m_segmentCount);
    return QStringLiteral("plane:%1:%2").arg(m_width, 0, 'g', 17).arg(m_height, 0, 'g', 17);
}

SceneMesh SceneGeometry::makeMesh() const
{
    return m_kind == Kind::Sphere ? sphereMesh(m_radius, m_segmentCount) : planeMesh(m_width, m_height);
}

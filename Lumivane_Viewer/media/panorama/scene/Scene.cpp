#include "Scene.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

namespace {

struct Ray
{
    QVector3D origin;
    QVector3D direction;
};

std::optional<double> hitSphere(const Ray &ray, const QMatrix4x4 &world, double radius)
{
    const QVector3D centre = world.map(QVector3D());
    const double scale = world.mapVector(QVector3D(1, 0, 0)).length();
    const double r = radius * scale;
    const QVector3D oc = ray.origin - centre;
    const double b = QVector3D::dotProduct(oc, ray.direction);
    const double c = QVector3D::dotProduct(oc, oc) - r * r;
    const double discriminant = b * b - c;
    if (discriminant < 0.0)
        return std::nullopt;
    const double root = std::sqrt(discriminant);
    if (-b - root > 0.0)
        return -b - root;
    if (-b + root > 0.0)
        return -b + root;
    return std::nullopt;
}

std::optional<double> hitPlane(const Ray &ray, const QMatrix4x4 &world, double width, double height)
{
    bool invertible = false;
    const QMatrix4x4 inverse = world.inverted(&invertible);
    if (!invertible)
        return std::nullopt;
    const QVector3D origin = inverse.map(ray.origin);
    const QVector3D direction = inverse.mapVector(ray.direction);
    if (std::abs(direction.z()) < 1e-9f)
        return std::nullopt;
    const double t = -origin.z() / direction.z();
    if (t <= 0.0)
        return std::nullopt;
    const QVector3D local = origin + direction * float(t);
    if (std::abs(local.x()) > width / 2.0 || std::abs(local.y()) > height / 2.0)
        return std::nullopt;
    // t is in local units; the world distance follows from the world point.
    return (world.map(local) - ray.origin).length();
}

void collectHits(const SceneNode &node, const Ray &ray, double now, std::vector<SceneHit> &hits)
{
    if (const auto &geometry = node.geometry()) {
        const QMatrix4x4 world = node.worldTransform(now);
        const std::optional<double> distance = geometry->kind() == SceneGeometry::Kind::Sphere
            ? hitSphere(ray, world, geometry->radius())
            : hitPlane(ray, world, geometry->width(), geometry->height());
        if (distance)
            hits.push_back({&node, *distance});
    }
    for (const auto &child : node.children())
        collectHits(*child, ray, now, hits);
}

} // namespace

Scene::Scene()
    : m_root(QString())
{
}

void Scene::advance()
{
    m_root.advanceActions(m_clock.now());
}

bool Scene::isAnimating() const
{
    return m_root.isAnimating(m_clock.now());
}

QMatrix4x4 Scene::projection(double aspect) const
{
    QMatrix4x4 m;
    const SceneCamera *camera = m_pointOfView ? m_pointOfView->camera() : nullptr;
    if (!camera) {
        m.perspective(60.0f, float(aspect), 0.1f, 100.0f);
        return m;
    }
    m.perspective(float(camera->presentedFieldOfView(m_clock.now())), float(aspect), float(camera->zNear()),
                  float(camera->zFar()));
    return m;
}

QMatrix4x4 Scene::viewMatrix() const
{
    if (!m_pointOfView)
        return {};
    return m_pointOfView->worldTransform(m_clock.now()).inverted();
}

std::vector<SceneHit> Scene::hitTest(QPointF point, QSizeF viewport) const
{
    std::vector<SceneHit> hits;
    if (viewport.isEmpty())
        return hits;
    const double ndcX = 2.0 * point.x() / viewport.width() - 1.0;
    const double ndcY = 1.0 - 2.0 * point.y() / viewport.height();
    const QMatrix4x4 inverse = (projection(viewport.width() / viewport.height()) * viewMatrix()).inverted();
    const QVector3D nearPoint = inverse.map(QVector3D(float(ndcX), float(ndcY), -1.0f));
    const QVector3D farPoint = inverse.map(QVector3D(float(ndcX), float(ndcY), 1.0f));
    const QVector3D eye = m_pointOfView ? m_pointOfView->worldTransform(m_clock.now()).map(QVector3D()) : QVector3D();
    const Ray ray{eye, (farPoint - nearPoint).normalized()};
    collectHits(m_root, ray, m_clock.now(), hits);
    std::stable_sort(hits.begin(), hits.end(), [](const SceneHit &a, const SceneHit &b) { return a.distance < b.distance; });
    return hits;
}

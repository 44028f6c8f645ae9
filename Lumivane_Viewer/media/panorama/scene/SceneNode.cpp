#include "SceneNode.h"

#include <algorithm>
#include <utility>
#include <cmath>

namespace {

// Rotation Rx(x)·Ry(y)·Rz(z): sines and cosines are taken in double so that
// angles grown large by hours of turning still give exact directions.
QMatrix4x4 eulerRotation(SceneVector e)
{
    const double cx = std::cos(e.x), sx = std::sin(e.x);
    const double cy = std::cos(e.y), sy = std::sin(e.y);
    const double cz = std::cos(e.z), sz = std::sin(e.z);
    const double m00 = cy * cz, m01 = -cy * sz, m02 = sy;
    const double m10 = sx * sy * cz + cx * sz, m11 = -sx * sy * sz + cx * cz, m12 = -sx * cy;
    const double m20 = -cx * sy * cz + sx * sz, m21 = cx * sy * sz + sx * cz, m22 = cx * cy;
    return QMatrix4x4(float(m00), float(m01), float(m02), 0.0f,
                      float(m10), float(m11), float(m12), 0.0f,
                      float(m20), float(m21), float(m22), 0.0f,
                      0.0f, 0.0f, 0.0f, 1.0f);
}

} // namespace

SceneNode::SceneNode(QString name)
    : m_name(std::move(name))
{
}

SceneNode::~SceneNode() = default;

SceneNode *SceneNode::addChild(std::unique_ptr<SceneNode> child)
{
    if (child->m_parent)
        child = child->removeFromParent();
    child->m_parent = this;
    m_children.push_back(std::move(child));
    return m_children.back().get();
}

std::unique_ptr<SceneNode> SceneNode::removeFromParent()
{
    if (!m_parent)
        return nullptr;
    auto &siblings = m_parent->m_children;
    auto it = std::find_if(siblings.begin(), siblings.end(), [this](const auto &c) { return c.get() == this; });
    std::unique_ptr<SceneNode> self = std::move(*it);
    siblings.erase(it);
    m_parent = nullptr;
    return self;
}

std::vector<std::unique_ptr<SceneNode>> SceneNode::takeChildren()
{
    for (auto &child : m_children)
        child->m_parent = nullptr;
    return std::exchange(m_children, {});
}

SceneNode *SceneNode::childNamed(const QString &name) const
{
    for (const auto &child : m_children) {
        if (child->m_name == name)
            return child.get();
    }
    return nullptr;
}

void SceneNode::animateEulerAngles(SceneVector target, double duration, double now)
{
    const SceneVector shown = presentedEulerAngles(now);
    m_eulerAngles = target;
    m_eulerOffset = shown - target;
    m_eulerAnimationStart = now;
    m_eulerAnimationDuration = duration;
}

SceneVector SceneNode::presentedEulerAngles(double now) const
{
    if (m_eulerAnimationDuration <= 0.0 || now >= m_eulerAnimationStart + m_eulerAnimationDuration)
        return m_eulerAngles;
    const double progress = std::clamp((now - m_eulerAnimationStart) / m_eulerAnimationDuration, 0.0, 1.0);
    return m_eulerAngles + m_eulerOffset * (1.0 - progress);
}

void SceneNode::runAction(SceneAction::Ptr action, double startTime, const QString &key)
{
    if (!key.isEmpty())
        removeAction(key);
    m_actions.push_back({key, startTime, std::make_unique<SceneActionRun>(std::move(action))});
}

void SceneNode::removeAction(const QString &key)
{
    std::erase_if(m_actions, [&key](const RunningAction &a) { return a.key == key; });
}

bool SceneNode::hasAction(const QString &key) const
{
    return std::any_of(m_actions.begin(), m_actions.end(), [&key](const RunningAction &a) { return a.key == key; });
}

void SceneNode::advanceActions(double now)
{
    for (std::size_t i = 0; i < m_actions.size();) {
        RunningAction &action = m_actions[i];
        const double dt = now - action.lastTime;
        if (dt < 0.0) {
            ++i;
            continue;
        }
        action.lastTime = now;
        if (action.run->advance(*this, dt))
            m_actions.erase(m_actions.begin() + static_cast<std::ptrdiff_t>(i));
        else
            ++i;
    }
    for (const auto &child : m_children)
        child->advanceActions(now);
}

bool SceneNode::isAnimating(double now) const
{
    if (!m_actions.empty() || presentedEulerAngles(now) != m_eulerAngles)
        return true;
    if (m_camera && m_camera->isAnimating(now))
        return true;
    return std::any_of(m_children.begin(), m_children.end(), [now](const auto &c) { return c->isAnimating(now); });
}

QMatrix4x4 SceneNode::localTransform(double now) const
{
    QMatrix4x4 m;
    m.translate(float(m_position.x), float(m_position.y), float(m_position.z));
    m *= eulerRotation(presentedEulerAngles(now));
    m.scale(float(m_scale));
    return m;
}

QMatrix4x4 SceneNode::worldTransform(double now) const
{
    const QMatrix4x4 parentWorld = m_parent ? m_parent->worldTransform(now) : QMatrix4x4();
    if (!m_billboard)
        return parentWorld * localTransform(now);
    double scale = m_scale;
    for (const SceneNode *n = m_parent; n; n = n->m_parent)
        scale *= n->m_scale;
    const QVector3D origin = parentWorld.map(QVector3D(float(m_position.x), float(m_position.y), float(m_position.z)));
    QMatrix4x4 m;
    m.translate(origin);
    m.scale(float(scale));
    return m;
}

double SceneNode::worldOpacity() const
{
    double opacity = m_opacity;
    for (const SceneNode *n = m_parent; n; n = n->m_parent)
        opacity *= n->m_opacity;
    return opacity;
}

#include "SceneAction.h"

#include "SceneNode.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Cubic Bézier easing with end points (0,0) and (1,1), solved for x by
// Newton steps with a bisection fallback.
double bezierEase(double x1, double y1, double x2, double y2, double x)
{
    auto curve = [](double a, double b, double t) {
        const double u = 1.0 - t;
        return 3.0 * u * u * t * a + 3.0 * u * t * t * b + t * t * t;
    };
    auto slope = [](double a, double b, double t) {
        const double u = 1.0 - t;
        return 3.0 * u * u * a + 6.0 * u * t * (b - a) + 3.0 * t * t * (1.0 - b);
    };
    double t = x;
    for (int i = 0; i < 8; ++i) {
        const double error = curve(x1, x2, t) - x;
        if (std::abs(error) < 1e-9)
            return curve(y1, y2, t);
        const double d = slope(x1, x2, t);
        if (std::abs(d) < 1e-9)
            break;
        t -= error / d;
    }
    double lo = 0.0;
    double hi = 1.0;
    t = x;
    for (int i = 0; i < 60; ++i) {
        const double value = curve(x1, x2, t);
        if (std::abs(value - x) < 1e-12)
            break;
        (value < x ? lo : hi) = t;
        t = 0.5 * (lo + hi);
    }
    return curve(y1, y2, t);
}

} // namespace

double sceneEase(SceneTimingMode mode, double fraction)
{
    const double x = std::clamp(fraction, 0.0, 1.0);
    switch (mode) {
    case SceneTimingMode::Linear:
        return x;
    case SceneTimingMode::EaseIn:
        return bezierEase(0.42, 0.0, 1.0, 1.0, x);
    case SceneTimingMode::EaseOut:
        return bezierEase(0.0, 0.0, 0.58, 1.0, x);
    case SceneTimingMode::EaseInEaseOut:
        return bezierEase(0.42, 0.0, 0.58, 1.0, x);
    }
    return x;
}

SceneAction::SceneAction(Kind kind, double duration)
    : m_kind(kind)
    , m_duration(std::max(0.0, duration))
{
}

SceneAction::Ptr SceneAction::fadeOpacity(double to, double duration, SceneTimingMode mode)
{
    auto action = std::shared_ptr<SceneAction>(new SceneAction(Kind::FadeOpacity, duration));
    action->m_target = to;
    action->m_mode = mode;
    return action;
}

SceneAction::Ptr SceneAction::scaleTo(double to, double duration, SceneTimingMode mode)
{
    auto action = std::shared_ptr<SceneAction>(new SceneAction(Kind::ScaleTo, duration));
    action->m_target = to;
    action->m_mode = mode;
    return action;
}

SceneAction::Ptr SceneAction::rotateBy(SceneVector angles, double duration)
{
    auto action = std::shared_ptr<SceneAction>(new SceneAction(Kind::RotateBy, duration));
    action->m_angles = angles;
    return action;
}

SceneAction::Ptr SceneAction::wait(double duration)
{
    return std::shared_ptr<SceneAction>(new SceneAction(Kind::Wait, duration));
}

SceneAction::Ptr SceneAction::group(std::vector<Ptr> actions)
{
    auto action = std::shared_ptr<SceneAction>(new SceneAction(Kind::Group, 0.0));
    action->m_children = std::move(actions);
    return action;
}

SceneAction::Ptr SceneAction::sequence(std::vector<Ptr> actions)
{
    auto action = std::shared_ptr<SceneAction>(new SceneAction(Kind::Sequence, 0.0));
    action->m_children = std::move(actions);
    return action;
}

SceneAction::Ptr SceneAction::repeatForever(Ptr child)
{
    auto action = std::shared_ptr<SceneAction>(new SceneAction(Kind::RepeatForever, 0.0));
    action->m_children = {std::move(child)};
    return action;
}

double SceneAction::totalDuration() const
{
    switch (m_kind) {
    case Kind::Group: {
        double longest = 0.0;
        for (const Ptr &child : m_children)
            longest = std::max(longest, child->totalDuration());
        return longest;
    }
    case Kind::Sequence: {
        double sum = 0.0;
        for (const Ptr &child : m_children)
            sum += child->totalDuration();
        return sum;
    }
    case Kind::RepeatForever:
        return std::numeric_limits<double>::infinity();
    default:
        return m_duration;
    }
}

SceneActionRun::SceneActionRun(SceneAction::Ptr action)
    : m_action(std::move(action))
{
}

SceneActionRun::~SceneActionRun() = default;
SceneActionRun::SceneActionRun(SceneActionRun &&) noexcept = default;
SceneActionRun &SceneActionRun::operator=(SceneActionRun &&) noexcept = default;

std::optional<double> SceneActionRun::advance(SceneNode &node, double dt)
{
    switch (m_action->kind()) {
    case SceneAction::Kind::Group:
        return advanceGroup(node, dt);
    case SceneAction::Kind::Sequence:
        return advanceSequence(node, dt);
    case SceneAction::Kind::RepeatForever:
        return advanceRepeat(node, dt);
    default:
        return advanceLeaf(node, dt);
    }
}

std::optional<double> SceneActionRun::advanceLeaf(SceneNode &node, double dt)
{
    const SceneAction &action = *m_action;
    if (!m_started) {
        m_started = true;
        if (action.kind() == SceneAction::Kind::FadeOpacity)
            m_startValue = node.opacity();
        else if (action.kind() == SceneAction::Kind::ScaleTo)
            m_startValue = node.scale();
    }
    m_elapsed += dt;
    const double duration = action.duration();
    const bool done = m_elapsed >= duration;
    const double fraction = duration > 0.0 ? std::min(1.0, m_elapsed / duration) : 1.0;
    const double progress = sceneEase(action.timingMode(), fraction);
    switch (action.kind()) {
    case SceneAction::Kind::FadeOpacity:
        node.setOpacity(m_startValue + (action.target() - m_startValue) * progress);
        break;
    case SceneAction::Kind::ScaleTo:
        node.setScale(m_startValue + (action.target() - m_startValue) * progress);
        break;
    case SceneAction::Kind::RotateBy:
        // Relative: only the change since the last step is added, so angles
        // set by others in between are kept and turned further.
        node.setEulerAngles(node.eulerAngles() + action.angles() * (progress - m_appliedProgress));
        m_appliedProgress = progress;
        break;
    default:
        break;
    }
    if (!done)
        return std::nullopt;
    return m_elapsed - duration;
}

std::optional<double> SceneActionRun::advanceGroup(SceneNode &node, double dt)
{
    const auto &children = m_action->children();
    if (!m_started) {
        m_started = true;
        for (const auto &child : children)
            m_children.push_back(std::make_unique<SceneActionRun>(child));
        m_finished.assign(children.size(), false);
        m_leftovers.assign(children.size(), 0.0);
    }
    bool allDone = true;
    for (std::size_t i = 0; i < m_children.size(); ++i) {
        if (m_finished[i]) {
            m_leftovers[i] += dt;
            continue;
        }
        const std::optional<double> left = m_children[i]->advance(node, dt);
        if (left) {
            m_finished[i] = true;
            m_leftovers[i] = *left;
        } else {
            allDone = false;
        }
    }
    if (!allDone)
        return std::nullopt;
    double leftover = dt;
    for (double value : m_leftovers)
        leftover = std::min(leftover, value);
    return leftover;
}

std::optional<double> SceneActionRun::advanceSequence(SceneNode &node, double dt)
{
    const auto &children = m_action->children();
    while (m_index < children.size()) {
        if (m_children.empty())
            m_children.push_back(std::make_unique<SceneActionRun>(children[m_index]));
        const std::optional<double> left = m_children.front()->advance(node, dt);
        if (!left)
            return std::nullopt;
        dt = *left;
        m_children.clear();
        ++m_index;
    }
    return dt;
}

std::optional<double> SceneActionRun::advanceRepeat(SceneNode &node, double dt)
{
    const SceneAction::Ptr &child = m_action->children().front();
    // A pass of zero length would loop without end within one step.
    const bool emptyPass = !(child->totalDuration() > 0.0);
    for (;;) {
        if (m_children.empty())
            m_children.push_back(std::make_unique<SceneActionRun>(child));
        const std::optional<double> left = m_children.front()->advance(node, dt);
        if (!left)
            return std::nullopt;
        m_children.clear();
        if (emptyPass)
            return std::nullopt;
        dt = *left;
    }
}

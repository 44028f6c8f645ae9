#pragma once

#include "SceneVector.h"

#include <memory>
#include <optional>
#include <vector>

class SceneNode;

/// Easing of a timed action, as cubic Bézier curves from (0,0) to (1,1).
enum class SceneTimingMode { Linear, EaseIn, EaseOut, EaseInEaseOut };

/// An immutable description of timed changes to a node: fades, scaling,
/// relative rotation, waits, and their groups, sequences and endless repeats.
/// Descriptions are shared; each run of one keeps its own progress in a
/// SceneActionRun.
class SceneAction final
{
public:
    enum class Kind { FadeOpacity, ScaleTo, RotateBy, Wait, Group, Sequence, RepeatForever };
    using Ptr = std::shared_ptr<const SceneAction>;

    static Ptr fadeOpacity(double to, double duration, SceneTimingMode mode = SceneTimingMode::Linear);
    static Ptr scaleTo(double to, double duration, SceneTimingMode mode = SceneTimingMode::Linear);
    static Ptr rotateBy(SceneVector angles, double duration);
    static Ptr wait(double duration);
    static Ptr group(std::vector<Ptr> actions);
    static Ptr sequence(std::vector<Ptr> actions);
    static Ptr repeatForever(Ptr action);

    Kind kind() const { return m_kind; }
    double target() const { return m_target; }
    SceneVector angles() const { return m_angles; }
    double duration() const { return m_duration; }
    SceneTimingMode timingMode() const { return m_mode; }
    const std::vector<Ptr> &children() const { return m_children; }

    /// Total time of one pass; infinite for an endless repeat.
    double totalDuration() const;

private:
    SceneAction(Kind kind, double duration);

    Kind m_kind;
    double m_duration = 0.0;
    double m_target = 0.0;
    SceneVector m_angles;
    SceneTimingMode m_mode = SceneTimingMode::Linear;
    std::vector<Ptr> m_children;
};

/// Eased progress (0..1) of a linear fraction under the given timing mode.
double sceneEase(SceneTimingMode mode, double fraction);

/// The progress of one running action on one node.
class SceneActionRun final
{
public:
    explicit SceneActionRun(SceneAction::Ptr action);
    ~SceneActionRun();
    SceneActionRun(SceneActionRun &&) noexcept;
    SceneActionRun &operator=(SceneActionRun &&) noexcept;

    /// Moves the action forward by dt seconds. Returns the part of dt left
    /// over once the action has ended, or nothing while it still runs.
    std::optional<double> advance(SceneNode &node, double dt);

private:
    std::optional<double> advanceLeaf(SceneNode &node, double dt);
    std::optional<double> advanceGroup(SceneNode &node, double dt);
    std::optional<double> advanceSequence(SceneNode &node, double dt);
    std::optional<double> advanceRepeat(SceneNode &node, double dt);

    SceneAction::Ptr m_action;
    bool m_started = false;
    double m_elapsed = 0.0;
    double m_startValue = 0.0;
    double m_appliedProgress = 0.0;
    std::size_t m_index = 0;
    std::vector<std::unique_ptr<SceneActionRun>> m_children;
    std::vector<bool> m_finished;
    std::vector<double> m_leftovers;
};

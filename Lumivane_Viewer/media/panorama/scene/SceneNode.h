#pragma once

#include "SceneAction.h"
#include "SceneCamera.h"
#include "SceneGeometry.h"
#include "SceneVector.h"

#include <QMatrix4x4>
#include <QString>

#include <limits>
#include <memory>
#include <vector>

/// One node of the scene tree: a name, a transform (position, Euler angles
/// applied as Rx·Ry·Rz, uniform scale), an opacity multiplied down the tree,
/// a rendering order, optional geometry or camera, and timed actions.
/// A node owns its children.
class SceneNode final
{
public:
    /// A running action with its key (empty: unkeyed) and the clock time up
    /// to which it has been advanced.
    struct RunningAction
    {
        QString key;
        double lastTime = 0.0;
        std::unique_ptr<SceneActionRun> run;
    };

    explicit SceneNode(QString name = {});
    ~SceneNode();
    SceneNode(const SceneNode &) = delete;
    SceneNode &operator=(const SceneNode &) = delete;

    const QString &name() const { return m_name; }

    SceneNode *parent() const { return m_parent; }
    const std::vector<std::unique_ptr<SceneNode>> &children() const { return m_children; }
    SceneNode *addChild(std::unique_ptr<SceneNode> child);
    std::unique_ptr<SceneNode> removeFromParent();
    /// Removes every child at once and hands them over, in their order.
    std::vector<std::unique_ptr<SceneNode>> takeChildren();
    /// The first direct child with that name, or none.
    SceneNode *childNamed(const QString &name) const;

    SceneVector position() const { return m_position; }
    void setPosition(SceneVector position) { m_position = position; }
    SceneVector eulerAngles() const { return m_eulerAngles; }
    /// Sets the angles at once; an angle animation in progress keeps easing
    /// out from where it was shown.
    void setEulerAngles(SceneVector angles) { m_eulerAngles = angles; }
    /// Moves the drawn angles linearly from what is shown at `now` to
    /// `target`; eulerAngles() reads the target at once.
    void animateEulerAngles(SceneVector target, double duration, double now);
    SceneVector presentedEulerAngles(double now) const;

    double scale() const { return m_scale; }
    void setScale(double scale) { m_scale = scale; }
    double opacity() const { return m_opacity; }
    void setOpacity(double opacity) { m_opacity = opacity; }
    int renderingOrder() const { return m_renderingOrder; }
    void setRenderingOrder(int order) { m_renderingOrder = order; }
    bool isBillboard() const { return m_billboard; }
    /// Keeps the node facing the camera on all three axes.
    void setBillboard(bool billboard) { m_billboard = billboard; }

    const std::shared_ptr<SceneGeometry> &geometry() const { return m_geometry; }
    void setGeometry(std::shared_ptr<SceneGeometry> geometry) { m_geometry = std::move(geometry); }
    SceneCamera *camera() const { return m_camera.get(); }
    void setCamera(std::unique_ptr<SceneCamera> camera) { m_camera = std::move(camera); }

    /// Starts an action at clock time `startTime`. A keyed action replaces a
    /// running one with the same key; unkeyed actions all run side by side.
    void runAction(SceneAction::Ptr action, double startTime, const QString &key = {});
    void removeAction(const QString &key);
    bool hasAction(const QString &key) const;
    bool hasActions() const { return !m_actions.empty(); }

    /// Advances the actions of this node and of all below it to `now`.
    void advanceActions(double now);
    bool isAnimating(double now) const;

    QMatrix4x4 localTransform(double now) const;
    /// Transform to world space as drawn at `now`; a billboard keeps its
    /// world position and scale and faces the camera (which never turns).
    QMatrix4x4 worldTransform(double now) const;
    double worldOpacity() const;

private:
    QString m_name;
    SceneNode *m_parent = nullptr;
    std::vector<std::unique_ptr<SceneNode>> m_children;
    SceneVector m_position;
    SceneVector m_eulerAngles;
    SceneVector m_eulerOffset;
    double m_eulerAnimationStart = 0.0;
    double m_eulerAnimationDuration = 0.0;
    double m_scale = 1.0;
    double m_opacity = 1.0;
    int m_renderingOrder = 0;
    bool m_billboard = false;
    std::shared_ptr<SceneGeometry> m_geometry;
    std::unique_ptr<SceneCamera> m_camera;
    std::vector<RunningAction> m_actions;
};

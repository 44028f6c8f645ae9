#pragma once

#include "SceneNode.h"

#include "media/images/MediaClock.h"

#include <QPointF>
#include <QSizeF>

#include <vector>

/// One hit of a ray through the view: the node and how far along the ray.
struct SceneHit
{
    const SceneNode *node = nullptr;
    double distance = 0.0;
};

/// A tree of nodes under one root, the node whose camera it is seen through,
/// and the clock its actions run on.
class Scene final
{
public:
    Scene();

    SceneNode &rootNode() { return m_root; }
    const SceneNode &rootNode() const { return m_root; }
    MediaClock &clock() { return m_clock; }
    const MediaClock &clock() const { return m_clock; }

    SceneNode *pointOfView() const { return m_pointOfView; }
    void setPointOfView(SceneNode *node) { m_pointOfView = node; }

    /// Advances every node's actions to the clock's present time.
    void advance();
    bool isAnimating() const;

    /// Every geometry under the point `point` of a viewport of size
    /// `viewport` (pixels from the top-left), nearest first. Invisible and
    /// transparent nodes are found too; both faces of every surface count.
    std::vector<SceneHit> hitTest(QPointF point, QSizeF viewport) const;

    /// The perspective projection for a viewport aspect ratio, as drawn now.
    QMatrix4x4 projection(double aspect) const;
    /// World to camera space.
    QMatrix4x4 viewMatrix() const;

private:
    SceneNode m_root;
    SceneNode *m_pointOfView = nullptr;
    MediaClock m_clock;
};

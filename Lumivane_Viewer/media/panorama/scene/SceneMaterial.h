#pragma once

#include "SceneTexture.h"

#include <QColor>

#include <memory>

/// The look of a geometry. Always unlit: the colour is the texture (or the
/// plain colour) times the node's opacity.
struct SceneMaterial
{
    std::shared_ptr<SceneTexture> texture; ///< none: the plain colour
    QColor color = Qt::white;
    bool doubleSided = false;
    bool cullFront = false;
    bool readsDepth = true;
    bool writesDepth = true;
    bool blends = true;
    /// Horizontal scale of the texture coordinates; -1 mirrors left to right.
    float textureScaleS = 1.0f;
    bool repeatS = false;
};

#pragma once

#include <QHash>
#include <QOpenGLFunctions>
#include <QSize>
#include <QString>

#include "SceneGeometry.h"

#include <map>
#include <memory>
#include <vector>

class QOpenGLShaderProgram;
class SceneTexture;
class Scene;
class SceneNode;
struct SceneMaterial;

/// Draws a Scene with OpenGL into the current context: unlit materials,
/// opacity down the tree, back-to-front by rendering order then tree order.
/// A picture cut into strips is drawn band by band of the sphere, each band
/// with its strip's texture (or the picture's fallback while the strip is on
/// its way), so that no sample at a strip's edge is dropped or mixed.
/// Owns the GL buffers and the textures of image materials it uploaded;
/// every call needs the same context current.
class SceneRenderer final : protected QOpenGLFunctions
{
public:
    SceneRenderer();
    ~SceneRenderer();

    /// Draws the scene dimmed towards black by `cover` (0 none, 1 black:
    /// nothing but the clear is drawn then).
    void render(const Scene &scene, QSize viewportPixels, float cover = 0.0f);
    /// Frees the GL objects; the context they were made in must be current.
    void releaseResources();

private:
    struct Mesh
    {
        unsigned vertexBuffer = 0;
        unsigned indexBuffer = 0;
        int indexCount = 0;
        std::vector<SceneMesh::Band> bands;
    };
    struct ImageTexture
    {
        unsigned id = 0;
        quint64 lastFrame = 0;
    };

    void initialize();
    const Mesh &meshFor(const SceneNode &node, const std::vector<float> &rowCuts);
    unsigned imageTextureFor(const SceneMaterial &material);
    void drawNode(const SceneNode &node, const QMatrix4x4 &viewProjection, double now);
    void bindMesh(const Mesh &mesh);
    void drawStrips(const SceneNode &node);
    void applyMaterialState(const SceneMaterial &material);
    void dropUnusedTextures();

    /// GL state set by the last draw; -1 unknown.
    struct State
    {
        int cull = -1;
        int depthTest = -1;
        int depthWrite = -1;
        int blend = -1;
    };

    bool m_initialized = false;
    State m_state;
    std::unique_ptr<QOpenGLShaderProgram> m_program;
    /// Buffers by the geometry's mesh key, then by the rows it is cut at.
    QHash<QString, std::map<std::vector<float>, Mesh>> m_meshes;
    QHash<qint64, ImageTexture> m_imageTextures;
    quint64 m_frame = 0;
    int m_mvpLocation = -1;
    int m_scaleSLocation = -1;
    int m_opacityLocation = -1;
    int m_brightnessLocation = -1;
    int m_useImageLocation = -1;
    int m_colorLocation = -1;
    int m_rowRangeLocation = -1;
};

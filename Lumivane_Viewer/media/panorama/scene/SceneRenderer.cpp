#include "SceneRenderer.h"

#include "Scene.h"

#include <QOpenGLShaderProgram>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

constexpr auto vertexShader = R"(
attribute vec3 position;
attribute vec2 texCoord;
uniform mat4 mvp;
uniform float scaleS;
varying vec2 uv;
void main()
{
    uv = vec2(texCoord.x * scaleS, texCoord.y);
    gl_Position = mvp * vec4(position, 1.0);
}
)";

// Colours are premultiplied by alpha throughout; the node's opacity scales all
// four components. A black cover over the whole view scales the colour alone:
// blended over a covered background, that is the cover over the whole picture.
constexpr auto fragmentShader = R"(
uniform sampler2D image;
uniform vec4 color;
uniform float useImage;
uniform float opacity;
uniform float brightness;
uniform vec2 rowRange;
varying vec2 uv;
void main()
{
    // A strip's texture holds only its own rows. Its band of the sphere ends
    // exactly at the strip's edges; a sample at a pixel centre just outside
    // them is clamped to the edge row by the texture's wrap mode.
    vec2 t = vec2(uv.x, (uv.y - rowRange.x) / (rowRange.y - rowRange.x));
    vec4 c = useImage > 0.5 ? texture2D(image, t) : color;
    gl_FragColor = vec4(c.rgb * brightness, c.a) * opacity;
}
)";

// Image textures not drawn for this many frames are freed.
constexpr quint64 unusedTextureFrames = 600;

void collectDrawable(const SceneNode &node, std::vector<const SceneNode *> &out)
{
    if (node.geometry())
        out.push_back(&node);
    for (const auto &child : node.children())
        collectDrawable(*child, out);
}

} // namespace

SceneRenderer::SceneRenderer() = default;
SceneRenderer::~SceneRenderer() = default;

void SceneRenderer::initialize()
{
    initializeOpenGLFunctions();
    m_program = std::make_unique<QOpenGLShaderProgram>();
    m_program->addShaderFromSourceCode(QOpenGLShader::Vertex, vertexShader);
    m_program->addShaderFromSourceCode(QOpenGLShader::Fragment, fragmentShader);
    m_program->bindAttributeLocation("position", 0);
    m_program->bindAttributeLocation("texCoord", 1);
    m_program->link();
    m_mvpLocation = m_program->uniformLocation("mvp");
    m_scaleSLocation = m_program->uniformLocation("scaleS");
    m_opacityLocation = m_program->uniformLocation("opacity");
    m_brightnessLocation = m_program->uniformLocation("brightness");
    m_useImageLocation = m_program->uniformLocation("useImage");
    m_colorLocation = m_program->uniformLocation("color");
    m_rowRangeLocation = m_program->uniformLocation("rowRange");
    m_initialized = true;
}

void SceneRenderer::render(const Scene &scene, QSize viewportPixels, float cover)
{
    if (!m_initialized)
        initialize();
    ++m_frame;
    glViewport(0, 0, viewportPixels.width(), viewportPixels.height());
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // Under full black only the clear shows: the frames that hide a change
    // of photo cost next to nothing.
    if (viewportPixels.isEmpty() || cover >= 1.0f)
        return;

    std::vector<const SceneNode *> drawables;
    collectDrawable(scene.rootNode(), drawables);
    std::stable_sort(drawables.begin(), drawables.end(), [](const SceneNode *a, const SceneNode *b) {
        return a->renderingOrder() < b->renderingOrder();
    });

    const double aspect = double(viewportPixels.width()) / double(viewportPixels.height());
    const QMatrix4x4 viewProjection = scene.projection(aspect) * scene.viewMatrix();
    m_program->bind();
    m_program->setUniformValue("image", 0);
    m_program->setUniformValue(m_brightnessLocation, 1.0f - std::max(cover, 0.0f));
    glEnableVertexAttribArray(0);
    glEnableVertexAttribArray(1);
    glActiveTexture(GL_TEXTURE0);
    const double now = scene.clock().now();
    // Qt's compositing changes GL state between frames: start from unknown.
    m_state = {};
    for (const SceneNode *node : drawables)
        drawNode(*node, viewProjection, now);
    glDisableVertexAttribArray(0);
    glDisableVertexAttribArray(1);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    m_program->release();
    glDepthMask(GL_TRUE);
    dropUnusedTextures();
}

void SceneRenderer::drawNode(const SceneNode &node, const QMatrix4x4 &viewProjection, double now)
{
    const SceneMaterial &material = node.geometry()->firstMaterial();
    const double opacity = node.worldOpacity();
    // Fully transparent surfaces (hit targets, faded-out nodes) cost nothing.
    if (opacity <= 0.0 || (!material.texture && material.color.alphaF() <= 0.0))
        return;
    const bool strips = material.texture && !material.texture->strips().empty();
    const unsigned image = strips ? 0u : imageTextureFor(material);
    if (material.texture && !strips && image == 0)
        return;

    applyMaterialState(material);
    const QColor c = material.color;
    m_program->setUniformValue(m_mvpLocation, viewProjection * node.worldTransform(now));
    m_program->setUniformValue(m_scaleSLocation, material.textureScaleS);
    m_program->setUniformValue(m_opacityLocation, float(opacity));
    m_program->setUniformValue(m_useImageLocation, material.texture ? 1.0f : 0.0f);
    m_program->setUniformValue(m_colorLocation, QVector4D(float(c.redF() * c.alphaF()), float(c.greenF() * c.alphaF()),
                                                  float(c.blueF() * c.alphaF()), float(c.alphaF())));
    if (strips) {
        drawStrips(node);
        return;
    }
    const Mesh &mesh = meshFor(node, {});
    bindMesh(mesh);
    // Texture parameters are fixed when a texture is made: changing them on a
    // texture that an unfinished frame uses makes software drivers flush.
    if (image)
        glBindTexture(GL_TEXTURE_2D, image);
    m_program->setUniformValue(m_rowRangeLocation, QVector2D(0.0f, 1.0f));
    glDrawElements(GL_TRIANGLES, mesh.indexCount, GL_UNSIGNED_INT, nullptr);
}

void SceneRenderer::bindMesh(const Mesh &mesh)
{
    glBindBuffer(GL_ARRAY_BUFFER, mesh.vertexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.indexBuffer);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 5 * sizeof(float), nullptr);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 5 * sizeof(float), reinterpret_cast<void *>(3 * sizeof(float)));
}

void SceneRenderer::drawStrips(const SceneNode &node)
{
    const SceneTexture &texture = *node.geometry()->firstMaterial().texture;
    const std::vector<SceneTexture::Strip> &strips = texture.strips();
    const Mesh &mesh = meshFor(node, texture.rowCuts());
    bindMesh(mesh);
    for (std::size_t i = 0; i < strips.size() && i < mesh.bands.size(); ++i) {
        const SceneTexture::Strip &strip = strips[i];
        const unsigned id = strip.glTextureId ? strip.glTextureId : texture.fallbackTextureId();
        if (!id)
            continue;
        glBindTexture(GL_TEXTURE_2D, id);
        // The fallback covers the whole picture.
        m_program->setUniformValue(m_rowRangeLocation, strip.glTextureId ? QVector2D(strip.top, strip.bottom)
                                                                         : QVector2D(0.0f, 1.0f));
        const SceneMesh::Band &band = mesh.bands[i];
        glDrawElements(GL_TRIANGLES, band.indexCount, GL_UNSIGNED_INT,
                       reinterpret_cast<void *>(std::uintptr_t(band.firstIndex) * sizeof(unsigned)));
    }
}

void SceneRenderer::applyMaterialState(const SceneMaterial &material)
{
    // Only what changes from the previous draw: software drivers revalidate
    // their whole pipeline on every state call.
    const int cull = material.doubleSided ? 0 : (material.cullFront ? 1 : 2);
    if (cull != m_state.cull) {
        if (cull == 0) {
            glDisable(GL_CULL_FACE);
        } else {
            glEnable(GL_CULL_FACE);
            glCullFace(cull == 1 ? GL_FRONT : GL_BACK);
        }
        m_state.cull = cull;
    }
    if (int(material.readsDepth) != m_state.depthTest) {
        if (material.readsDepth)
            glEnable(GL_DEPTH_TEST);
        else
            glDisable(GL_DEPTH_TEST);
        m_state.depthTest = int(material.readsDepth);
    }
    if (int(material.writesDepth) != m_state.depthWrite) {
        glDepthMask(material.writesDepth ? GL_TRUE : GL_FALSE);
        m_state.depthWrite = int(material.writesDepth);
    }
    if (int(material.blends) != m_state.blend) {
        if (material.blends) {
            glEnable(GL_BLEND);
            glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
        } else {
            glDisable(GL_BLEND);
        }
        m_state.blend = int(material.blends);
    }
}

const SceneRenderer::Mesh &SceneRenderer::meshFor(const SceneNode &node, const std::vector<float> &rowCuts)
{
    std::map<std::vector<float>, Mesh> &cuts = m_meshes[node.geometry()->meshKey()];
    if (const auto it = cuts.find(rowCuts); it != cuts.end())
        return it->second;
    const SceneMesh data = node.geometry()->makeMesh(rowCuts);
    Mesh mesh;
    glGenBuffers(1, &mesh.vertexBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, mesh.vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(data.vertices.size() * sizeof(float)), data.vertices.data(), GL_STATIC_DRAW);
    glGenBuffers(1, &mesh.indexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.indexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(data.indices.size() * sizeof(unsigned)), data.indices.data(),
                 GL_STATIC_DRAW);
    mesh.indexCount = int(data.indices.size());
    mesh.bands = data.bands;
    return cuts.emplace(rowCuts, mesh).first->second;
}

unsigned SceneRenderer::imageTextureFor(const SceneMaterial &material)
{
    if (!material.texture)
        return 0;
    const QImage &image = material.texture->image();
    if (image.isNull())
        return 0;
    ImageTexture &entry = m_imageTextures[image.cacheKey()];
    entry.lastFrame = m_frame;
    if (entry.id)
        return entry.id;
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    glGenTextures(1, &entry.id);
    glBindTexture(GL_TEXTURE_2D, entry.id);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, rgba.width(), rgba.height(), 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.constBits());
    glGenerateMipmap(GL_TEXTURE_2D);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, material.repeatS ? GL_REPEAT : GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    return entry.id;
}

void SceneRenderer::dropUnusedTextures()
{
    for (auto it = m_imageTextures.begin(); it != m_imageTextures.end();) {
        if (m_frame - it->lastFrame > unusedTextureFrames) {
            glDeleteTextures(1, &it->id);
            it = m_imageTextures.erase(it);
        } else {
            ++it;
        }
    }
}

void SceneRenderer::releaseResources()
{
    if (!m_initialized)
        return;
    for (const auto &cuts : std::as_const(m_meshes)) {
        for (const auto &[rowCuts, mesh] : cuts) {
            glDeleteBuffers(1, &mesh.vertexBuffer);
            glDeleteBuffers(1, &mesh.indexBuffer);
        }
    }
    m_meshes.clear();
    for (const ImageTexture &texture : std::as_const(m_imageTextures))
        glDeleteTextures(1, &texture.id);
    m_imageTextures.clear();
    m_program.reset();
    m_initialized = false;
}

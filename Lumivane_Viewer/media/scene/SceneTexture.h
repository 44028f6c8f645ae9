#pragma once

#include <QImage>

#include <memory>

/// A picture for a material: either an image that the renderer uploads on
/// first use (small marker bitmaps), or a texture already uploaded into the
/// shared GL context group by someone else (panorama photos), kept alive by
/// its owner handle.
class SceneTexture final
{
public:
    explicit SceneTexture(QImage image);
    SceneTexture(unsigned glTextureId, QSize size, std::shared_ptr<const void> owner);

    const QImage &image() const { return m_image; }
    unsigned glTextureId() const { return m_glTextureId; }
    QSize size() const { return m_size; }

private:
    QImage m_image;
    unsigned m_glTextureId = 0;
    QSize m_size;
    std::shared_ptr<const void> m_owner;
};

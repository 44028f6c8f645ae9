#pragma once

#include <QImage>

#include <memory>
#include <vector>

/// A picture for a material: either an image that the renderer uploads on
/// first use (small marker bitmaps), or textures already uploaded into the
/// shared GL context group by someone else (panorama photos, cut into
/// horizontal strips), kept alive by their owner handle. A strip still on
/// its way is drawn from a fallback texture of the whole picture.
class SceneTexture final
{
public:
    /// One GL texture covering the rows [top, bottom) of the picture, as
    /// fractions of its height; 0 while it is on its way.
    struct Strip
    {
        unsigned glTextureId = 0;
        float top = 0.0f;
        float bottom = 1.0f;
    };

    explicit SceneTexture(QImage image);
    SceneTexture(std::vector<Strip> strips, QSize size, std::shared_ptr<const void> owner,
                 unsigned fallbackTextureId = 0);

    const QImage &image() const { return m_image; }
    const std::vector<Strip> &strips() const { return m_strips; }
    /// The texture of the first strip; 0 for an image not uploaded yet.
    unsigned glTextureId() const { return m_strips.empty() ? 0u : m_strips.front().glTextureId; }
    /// A texture of the whole picture for the strips still on their way; 0: none.
    unsigned fallbackTextureId() const { return m_fallbackTextureId; }
    /// Every strip has its texture.
    bool isComplete() const;
    /// Where one strip ends and the next begins, as fractions of the height.
    const std::vector<float> &rowCuts() const { return m_rowCuts; }
    QSize size() const { return m_size; }

private:
    QImage m_image;
    std::vector<Strip> m_strips;
    std::vector<float> m_rowCuts;
    QSize m_size;
    std::shared_ptr<const void> m_owner;
    unsigned m_fallbackTextureId = 0;
};

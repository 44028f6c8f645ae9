#pragma once

#include <QSize>
#include <QtGlobal>

#include <functional>
#include <utility>
#include <vector>

/// One picture uploaded into a shared context group as GL textures with
/// mipmaps, one per horizontal strip of stripRows rows: a photo cut into
/// strips (PanoramaStrips) that are filled in one by one while it uploads,
/// or a preview in one texture. Deleting the last reference hands the
/// textures uploaded so far to its `release`, which deletes them on the
/// thread that made them. GUI thread only.
class PanoramaTexture final
{
public:
    using Release = std::function<void(std::vector<unsigned> ids)>;

    /// `ids` has one entry per strip, 0 for a strip not uploaded yet.
    PanoramaTexture(Release release, QSize size, int stripRows, std::vector<unsigned> ids);
    ~PanoramaTexture();
    PanoramaTexture(const PanoramaTexture &) = delete;
    PanoramaTexture &operator=(const PanoramaTexture &) = delete;

    /// The strip textures, top to bottom.
    const std::vector<unsigned> &ids() const { return m_ids; }
    QSize size() const { return m_size; }
    int stripRows() const { return m_stripRows; }
    /// Every strip is on the GPU.
    bool isComplete() const;
    /// What the textures take on the GPU, mipmaps included.
    qint64 bytes() const;

    /// Takes over the texture of a strip that has finished uploading.
    void setStrip(int strip, unsigned id);
    /// Hands the GL textures over to a new owner; this object then deletes nothing.
    std::vector<unsigned> takeIds() { return std::exchange(m_ids, {}); }

private:
    Release m_release;
    QSize m_size;
    int m_stripRows;
    std::vector<unsigned> m_ids;
};

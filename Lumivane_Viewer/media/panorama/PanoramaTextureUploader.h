#pragma once

#include "PanoramaMipmapBands.h"

#include <QImage>
#include <QObject>
#include <QSize>

#include <optional>
#include <set>
#include <vector>

class QOpenGLContext;
class QOffscreenSurface;

/// The worker of PanoramaTextureStore: lives on the upload thread with its
/// own context, shared with the views' context group, and is deleted there. Uploads a photo band
/// by band with its mipmaps made on the CPU: each GL call is short, so the
/// views' contexts, which share the driver's texture lock, keep drawing.
class PanoramaTextureUploader final : public QObject
{
    Q_OBJECT

public:
    /// The strip textures of one photo (PanoramaStrips), top to bottom.
    struct Result
    {
        std::vector<unsigned> ids;
        QSize size;
    };

    /// One photo being uploaded band by band.
    struct Job
    {
        QSize size;
        std::vector<unsigned> textures;
        std::vector<std::optional<PanoramaMipmapBands>> mipmaps;
    };

    /// Makes its own context in the group of `shareContext`; it draws on
    /// `surface`, which must outlive it.
    PanoramaTextureUploader(QOpenGLContext *shareContext, QOffscreenSurface *surface);
    /// Deletes every texture still alive, on the upload thread. The context
    /// group may outlive the store (a window's own context keeps it), so
    /// nothing may be left behind.
    ~PanoramaTextureUploader() override;

    /// Uploads a whole photo. Upload thread only. `recycled` are textures
    /// that no view shows any more: their storage is reused when they have
    /// the right size, so that no new GPU memory has to be set up; otherwise
    /// they are deleted.
    Result upload(const QImage &image, Result recycled);

    /// Band by band, for photos still being decoded: begin() with the full
    /// size, then every band of pixels in order from the top, then finish().
    /// Pixels are 32-bit BGRA rows; the size must be within what the GPU takes.
    bool begin(Job &job, QSize size, Result recycled);
    void addBand(Job &job, int y, const uchar *pixels, int rows, qsizetype stride);
    /// Waits until the GPU holds the texture, so that any context of the
    /// group may draw it at once.
    Result finish(Job &job);
    /// Drops a texture whose photo could not be decoded to the end.
    void abort(Job &job);

    void deleteTextures(const std::vector<unsigned> &ids);

    /// The image as it is uploaded: within maxSize on both sides and in a
    /// layout that GL reads without another copy.
    static QImage prepared(const QImage &image, int maxSize);

private:
    bool makeCurrent();
    unsigned allocate(QSize size);
    void uploadRows(int level, int y, const uchar *pixels, int width, int rows, qsizetype stride);

    QOpenGLContext *m_context; // a child: moves to the upload thread with this object
    /// Every texture made here and not deleted yet.
    std::set<unsigned> m_alive;
    QOffscreenSurface *m_surface;
    int m_maxTextureSize = 0;
};

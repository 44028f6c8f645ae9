#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <qopengl.h>

#include <set>
#include <vector>

class QOpenGLContext;
class QOffscreenSurface;

/// The GL side of PanoramaTextureStore: lives on the upload thread with its
/// own context, shared with the views' context group, and is deleted there.
/// Every call is short (one texture set up, one band of rows copied), so the
/// views' contexts, which share the driver's texture lock, keep drawing.
/// Pixels go in as RGBA bytes, the layout GL copies without converting.
class PanoramaTextureUploader final : public QObject
{
    Q_OBJECT

public:
    /// Textures of one photo, one per strip, top to bottom.
    struct Result
    {
        std::vector<unsigned> ids;
        QSize size;
    };

    /// Makes its own context in the group of `shareContext`; it draws on
    /// `surface`, which must outlive it.
    PanoramaTextureUploader(QOpenGLContext *shareContext, QOffscreenSurface *surface);
    /// Deletes every texture still alive, on the upload thread. The context
    /// group may outlive the store (a window's own context keeps it), so
    /// nothing may be left behind.
    ~PanoramaTextureUploader() override;

    /// Upload thread only, from here on; 0 (or false) when the context cannot be made current.
    int maxTextureSize();
    /// A texture of `size` with room for its whole mipmap chain, bound.
    unsigned allocate(QSize size);
    void bind(unsigned id);
    /// Rows [y, y + rows) of one level of the bound texture, RGBA.
    void uploadRows(int level, int y, const uchar *pixels, int width, int rows, qsizetype stride);
    /// Marks everything uploaded so far, for writesDone(). Null when the
    /// context has no fences: it has waited for the GPU then and there.
    GLsync markWrites();
    /// Whether the GPU holds what was uploaded up to `mark`, so that any
    /// context of the group may draw it; with `wait`, once it does. A mark
    /// found done is deleted.
    bool writesDone(GLsync mark, bool wait);
    /// Deletes a mark no longer asked about.
    void dropMark(GLsync mark);
    /// A whole picture (24-bit RGB or RGBA rows) in one texture with its mipmaps.
    unsigned uploadPicture(const QImage &image);
    void deleteTextures(const std::vector<unsigned> &ids);

    /// The image as it is uploaded: within maxSize on both sides, 24-bit RGB
    /// when opaque, premultiplied RGBA otherwise.
    static QImage prepared(const QImage &image, int maxSize);

private:
    bool makeCurrent();

    QOpenGLContext *m_context; // a child: moves to the upload thread with this object
    /// Every texture made here and not deleted yet.
    std::set<unsigned> m_alive;
    QOffscreenSurface *m_surface;
    int m_maxTextureSize = 0;
};

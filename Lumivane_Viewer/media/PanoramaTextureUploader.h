#pragma once

#include <QImage>
#include <QObject>
#include <QSize>

#include <memory>

class QOpenGLContext;
class QOffscreenSurface;

/// The worker of PanoramaTextureStore: lives on the upload thread with its
/// own context, shared with the views' context group.
class PanoramaTextureUploader final : public QObject
{
    Q_OBJECT

public:
    struct Result
    {
        unsigned id = 0;
        QSize size;
    };

    PanoramaTextureUploader(QOpenGLContext *context, QOffscreenSurface *surface);
    ~PanoramaTextureUploader() override;

    /// Uploads with mipmaps and waits until the GPU holds the texture, so
    /// that any context of the group may draw it at once. Upload thread only.
    Result upload(const QImage &image);
    void deleteTexture(unsigned id);
    /// Destroys the context; the last call on the upload thread.
    void shutDown();

    /// Largest square the GPU takes, after the first upload.
    int maxTextureSize() const { return m_maxTextureSize; }

    /// The image as it is uploaded: within maxSize on both sides and in a
    /// layout that GL reads without another copy.
    static QImage prepared(const QImage &image, int maxSize);

private:
    bool makeCurrent();

    std::unique_ptr<QOpenGLContext> m_context;
    QOffscreenSurface *m_surface;
    int m_maxTextureSize = 0;
};

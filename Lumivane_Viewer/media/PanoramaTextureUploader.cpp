#include "PanoramaTextureUploader.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

#ifndef GL_BGRA
#define GL_BGRA 0x80E1
#endif

PanoramaTextureUploader::PanoramaTextureUploader(QOpenGLContext *context, QOffscreenSurface *surface)
    : m_context(context)
    , m_surface(surface)
{
}

PanoramaTextureUploader::~PanoramaTextureUploader() = default;

bool PanoramaTextureUploader::makeCurrent()
{
    if (!m_context || !m_context->makeCurrent(m_surface))
        return false;
    if (m_maxTextureSize == 0) {
        int size = 0;
        m_context->functions()->glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
        m_maxTextureSize = size > 0 ? size : 2048;
    }
    return true;
}

QImage PanoramaTextureUploader::prepared(const QImage &image, int maxSize)
{
    QImage result = image;
    if (result.width() > maxSize || result.height() > maxSize)
        result = result.scaled(QSize(maxSize, maxSize), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    // RGB32 and premultiplied ARGB32 are BGRA bytes in memory on the
    // little-endian machines we build for: GL takes them as they are.
    if (result.format() != QImage::Format_RGB32 && result.format() != QImage::Format_ARGB32_Premultiplied)
        result = result.convertToFormat(result.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                                 : QImage::Format_RGB32);
    return result;
}

PanoramaTextureUploader::Result PanoramaTextureUploader::upload(const QImage &image)
{
    if (image.isNull() || !makeCurrent())
        return {};
    const QImage pixels = prepared(image, m_maxTextureSize);
    QOpenGLFunctions *gl = m_context->functions();
    unsigned id = 0;
    gl->glGenTextures(1, &id);
    gl->glBindTexture(GL_TEXTURE_2D, id);
    gl->glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    gl->glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, pixels.width(), pixels.height(), 0, GL_BGRA, GL_UNSIGNED_BYTE,
                     pixels.constBits());
    gl->glGenerateMipmap(GL_TEXTURE_2D);
    gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    gl->glBindTexture(GL_TEXTURE_2D, 0);
    // Other contexts of the group may draw it as soon as they hear of it.
    gl->glFinish();
    return {id, pixels.size()};
}

void PanoramaTextureUploader::deleteTexture(unsigned id)
{
    if (makeCurrent())
        m_context->functions()->glDeleteTextures(1, &id);
}

void PanoramaTextureUploader::shutDown()
{
    if (m_context)
        m_context->doneCurrent();
    m_context.reset();
}

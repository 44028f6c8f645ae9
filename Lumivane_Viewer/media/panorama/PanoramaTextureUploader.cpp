#include "PanoramaTextureUploader.h"

#include "PanoramaMipmapBands.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QThread>

#ifndef GL_UNPACK_ROW_LENGTH
#define GL_UNPACK_ROW_LENGTH 0x0CF2
#endif
#ifndef GL_TIMEOUT_IGNORED
#define GL_TIMEOUT_IGNORED 0xFFFFFFFFFFFFFFFFull
#endif
#ifndef GL_TEXTURE_MAX_LEVEL
#define GL_TEXTURE_MAX_LEVEL 0x813D
#endif

PanoramaTextureUploader::PanoramaTextureUploader(QOpenGLContext *shareContext, QOffscreenSurface *surface)
    : m_context(new QOpenGLContext(this))
    , m_surface(surface)
{
    m_context->setFormat(shareContext->format());
    m_context->setShareContext(shareContext);
    m_context->create();
}

PanoramaTextureUploader::~PanoramaTextureUploader()
{
    deleteTextures(std::vector<unsigned>(m_alive.cbegin(), m_alive.cend()));
    m_context->doneCurrent();
}

bool PanoramaTextureUploader::makeCurrent()
{
    if (!m_context->makeCurrent(m_surface))
        return false;
    if (m_maxTextureSize == 0) {
        int size = 0;
        m_context->functions()->glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
        m_maxTextureSize = size > 0 ? size : 2048;
    }
    return true;
}

int PanoramaTextureUploader::maxTextureSize()
{
    return makeCurrent() ? m_maxTextureSize : 0;
}

QImage PanoramaTextureUploader::prepared(const QImage &image, int maxSize)
{
    QImage result = image;
    if (result.width() > maxSize || result.height() > maxSize)
        result = result.scaled(QSize(maxSize, maxSize), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (result.hasAlphaChannel()) {
        if (result.format() != QImage::Format_RGBA8888_Premultiplied)
            result.convertTo(QImage::Format_RGBA8888_Premultiplied);
    } else if (result.format() != QImage::Format_RGB888) {
        result.convertTo(QImage::Format_RGB888);
    }
    return result;
}

unsigned PanoramaTextureUploader::allocate(QSize size)
{
    if (!makeCurrent() || size.isEmpty() || size.width() > m_maxTextureSize || size.height() > m_maxTextureSize)
        return 0;
    auto *gl = m_context->extraFunctions();
    unsigned id = 0;
    gl->glGenTextures(1, &id);
    m_alive.insert(id);
    gl->glBindTexture(GL_TEXTURE_2D, id);
    const int levels = PanoramaMipmapBands::levelCount(size);
    // All levels in one allocation: defining them one by one makes the
    // driver copy the whole texture again for every new level.
    if (m_context->format().version() >= qMakePair(4, 2) || m_context->isOpenGLES()) {
        gl->glTexStorage2D(GL_TEXTURE_2D, levels, GL_RGBA8, size.width(), size.height());
    } else {
        for (int level = 0; level < levels; ++level) {
            const QSize s = PanoramaMipmapBands::levelSize(size, level);
            gl->glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, s.width(), s.height(), 0, GL_RGBA, GL_UNSIGNED_BYTE,
                             nullptr);
        }
        gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, levels - 1);
    }
    gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    gl->glFlush();
    // The driver's texture lock is not fair: step aside so that a view
    // waiting for it draws its frame before the next strip is set up.
    QThread::usleep(1500);
    return id;
}

void PanoramaTextureUploader::bind(unsigned id)
{
    if (makeCurrent())
        m_context->functions()->glBindTexture(GL_TEXTURE_2D, id);
}

void PanoramaTextureUploader::uploadRows(int level, int y, const uchar *pixels, int width, int rows, qsizetype stride)
{
    QOpenGLFunctions *gl = m_context->functions();
    gl->glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    gl->glPixelStorei(GL_UNPACK_ROW_LENGTH, int(stride / 4));
    gl->glTexSubImage2D(GL_TEXTURE_2D, level, 0, y, width, rows, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    gl->glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    // Hand the band to the driver now rather than in one lump at the end.
    gl->glFlush();
}

GLsync PanoramaTextureUploader::markWrites()
{
    if (!makeCurrent())
        return nullptr;
    auto *gl = m_context->extraFunctions();
    gl->glBindTexture(GL_TEXTURE_2D, 0);
    // A fence lets the upload go on while the GPU finishes; waiting for the
    // whole GPU to finish takes as long as a frame of the views.
    if (m_context->format().version() >= qMakePair(3, 2) || m_context->isOpenGLES()) {
        GLsync mark = gl->glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
        gl->glFlush();
        if (mark)
            return mark;
    }
    gl->glFinish();
    return nullptr;
}

bool PanoramaTextureUploader::writesDone(GLsync mark, bool wait)
{
    if (!mark || !makeCurrent())
        return true;
    auto *gl = m_context->extraFunctions();
    const GLenum status = gl->glClientWaitSync(mark, 0, wait ? GL_TIMEOUT_IGNORED : 0);
    if (status == GL_TIMEOUT_EXPIRED)
        return false;
    gl->glDeleteSync(mark);
    return true;
}

void PanoramaTextureUploader::dropMark(GLsync mark)
{
    if (mark && makeCurrent())
        m_context->extraFunctions()->glDeleteSync(mark);
}

unsigned PanoramaTextureUploader::uploadPicture(const QImage &image)
{
    const unsigned id = allocate(image.size());
    if (!id)
        return 0;
    PanoramaMipmapBands bands(image.size());
    const auto sink = [this](int level, int y, const uchar *pixels, int width, int rows, qsizetype stride) {
        uploadRows(level, y, pixels, width, rows, stride);
    };
    for (int y = 0; y < image.height(); y += PanoramaMipmapBands::bandRows) {
        const int rows = std::min(PanoramaMipmapBands::bandRows, image.height() - y);
        bands.addBand(y, image.constScanLine(y), rows, image.bytesPerLine(), image.depth() / 8, sink);
    }
    bands.finish(sink);
    writesDone(markWrites(), true);
    return id;
}

void PanoramaTextureUploader::deleteTextures(const std::vector<unsigned> &ids)
{
    for (unsigned id : ids) {
        if (id && m_alive.erase(id) && makeCurrent())
            m_context->functions()->glDeleteTextures(1, &id);
    }
}

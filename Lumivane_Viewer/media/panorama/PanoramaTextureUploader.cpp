#include "PanoramaTextureUploader.h"

#include "PanoramaStrips.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QThread>

#ifndef GL_BGRA
#define GL_BGRA 0x80E1
#endif
#ifndef GL_UNPACK_ROW_LENGTH
#define GL_UNPACK_ROW_LENGTH 0x0CF2
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

PanoramaTextureUploader::Result PanoramaTextureUploader::upload(const QImage &image, Result recycled)
{
    if (image.isNull() || !makeCurrent()) {
        deleteTextures(recycled.ids);
        return {};
    }
    const QImage pixels = prepared(image, m_maxTextureSize);
    Job job;
    if (!begin(job, pixels.size(), recycled))
        return {};
    for (int y = 0; y < pixels.height(); y += PanoramaMipmapBands::bandRows) {
        const int rows = std::min(PanoramaMipmapBands::bandRows, pixels.height() - y);
        addBand(job, y, pixels.constScanLine(y), rows, pixels.bytesPerLine());
    }
    return finish(job);
}

bool PanoramaTextureUploader::begin(Job &job, QSize size, Result recycled)
{
    const bool usable = makeCurrent() && !size.isEmpty() && size.width() <= m_maxTextureSize
        && size.height() <= m_maxTextureSize;
    if (!usable || recycled.size != size) {
        deleteTextures(recycled.ids);
        recycled = {};
    }
    if (!usable)
        return false;
    job.size = size;
    const int strips = PanoramaStrips::count(size);
    job.textures = recycled.ids.empty() ? std::vector<unsigned>(std::size_t(strips), 0u) : recycled.ids;
    job.mipmaps.assign(std::size_t(strips), std::nullopt);
    return true;
}

unsigned PanoramaTextureUploader::allocate(QSize size)
{
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
            gl->glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA, s.width(), s.height(), 0, GL_BGRA, GL_UNSIGNED_BYTE,
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

void PanoramaTextureUploader::uploadRows(int level, int y, const uchar *pixels, int width, int rows, qsizetype stride)
{
    QOpenGLFunctions *gl = m_context->functions();
    gl->glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    gl->glPixelStorei(GL_UNPACK_ROW_LENGTH, int(stride / 4));
    gl->glTexSubImage2D(GL_TEXTURE_2D, level, 0, y, width, rows, GL_BGRA, GL_UNSIGNED_BYTE, pixels);
    gl->glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    // Hand the band to the driver now rather than in one lump at the end.
    gl->glFlush();
}

void PanoramaTextureUploader::addBand(Job &job, int y, const uchar *pixels, int rows, qsizetype stride)
{
    const auto strip = std::size_t(y / PanoramaStrips::stripRows);
    if (strip >= job.textures.size() || !makeCurrent())
        return;
    const QSize size = PanoramaStrips::stripSize(job.size, int(strip));
    if (!job.textures[strip])
        job.textures[strip] = allocate(size);
    if (!job.mipmaps[strip])
        job.mipmaps[strip].emplace(size);
    m_context->functions()->glBindTexture(GL_TEXTURE_2D, job.textures[strip]);
    job.mipmaps[strip]->addBand(y - PanoramaStrips::firstRow(int(strip)), pixels, rows, stride,
                                [this](int level, int row, const uchar *p, int width, int count, qsizetype s) {
                                    uploadRows(level, row, p, width, count, s);
                                });
}

PanoramaTextureUploader::Result PanoramaTextureUploader::finish(Job &job)
{
    if (job.textures.empty() || !makeCurrent())
        return {};
    QOpenGLFunctions *gl = m_context->functions();
    for (std::size_t strip = 0; strip < job.textures.size(); ++strip) {
        if (!job.textures[strip] || !job.mipmaps[strip]) {
            abort(job);
            return {};
        }
        gl->glBindTexture(GL_TEXTURE_2D, job.textures[strip]);
        job.mipmaps[strip]->finish([this](int level, int row, const uchar *p, int width, int count, qsizetype s) {
            uploadRows(level, row, p, width, count, s);
        });
    }
    gl->glBindTexture(GL_TEXTURE_2D, 0);
    gl->glFinish();
    job.mipmaps.clear();
    return {std::exchange(job.textures, {}), job.size};
}

void PanoramaTextureUploader::abort(Job &job)
{
    deleteTextures(std::exchange(job.textures, {}));
    job.mipmaps.clear();
}

void PanoramaTextureUploader::deleteTextures(const std::vector<unsigned> &ids)
{
    for (unsigned id : ids) {
        if (id && m_alive.erase(id) && makeCurrent())
            m_context->functions()->glDeleteTextures(1, &id);
    }
}

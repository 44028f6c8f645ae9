#include "PanoramaPhotoUpload.h"

#include "PanoramaPhotoDecode.h"
#include "PanoramaStrips.h"

#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <utility>

namespace {

// Rows of a decoded band, for the mipmap band they make in a strip's
// texture, and where it is prepared.
struct Chunk
{
    QImage image;
    QSize texture;
    int textureY;
    int imageY;
    int rows;
    PanoramaMipmapBands::Band *band;
};

void prepareChunk(const Chunk &chunk)
{
    PanoramaMipmapBands::prepare(*chunk.band, chunk.texture, chunk.textureY, chunk.image.constScanLine(chunk.imageY),
                                 chunk.rows, chunk.image.bytesPerLine(), chunk.image.depth() / 8, chunk.image.width());
}

PanoramaMipmapBands::Sink rowsTo(PanoramaTextureUploader &uploader)
{
    return [&uploader](int level, int y, const uchar *pixels, int width, int rows, qsizetype stride) {
        uploader.uploadRows(level, y, pixels, width, rows, stride);
    };
}

} // namespace

PanoramaPhotoUpload::PanoramaPhotoUpload(Reports reports, bool previewComing, bool holdForViews)
    : m_reports(std::move(reports))
    , m_holdForViews(holdForViews)
    , m_stage(previewComing && holdForViews ? Stage::waitingForPreview : Stage::strips)
    , m_previewComing(previewComing)
{
}

void PanoramaPhotoUpload::preview(Uploader &uploader, const QImage &image, QSize photoSize)
{
    // A preview made from the whole photo may have come first.
    if (!std::exchange(m_previewComing, false) || m_previewShown)
        return;
    if (!image.isNull())
        showPreview(uploader, image, photoSize);
    else if (m_stage == Stage::waitingForPreview)
        release(uploader);
}

void PanoramaPhotoUpload::showPreview(Uploader &uploader, const QImage &image, QSize photoSize)
{
    const unsigned id = uploader.uploadPicture(image);
    if (!id) {
        release(uploader);
        return;
    }
    m_previewShown = true;
    if (m_holdForViews)
        m_stage = Stage::waitingForViews;
    m_reports.preview(id, image.size(), photoSize);
}

void PanoramaPhotoUpload::go(Uploader &uploader, Uploader::Result recycled)
{
    m_recycled = std::move(recycled);
    if (m_ended || (m_size.isValid() && m_recycled.size != m_size))
        dropRecycled(uploader);
    if (m_stage == Stage::waitingForViews)
        release(uploader);
}

void PanoramaPhotoUpload::release(Uploader &uploader)
{
    m_stage = Stage::strips;
    for (const Held &call : std::exchange(m_held, {}))
        call(uploader);
}

void PanoramaPhotoUpload::begin(Uploader &uploader, QSize size)
{
    m_size = size;
    m_strips = std::vector<Strip>(std::size_t(PanoramaStrips::count(size)));
    if (m_recycled.size.isValid() && m_recycled.size != size)
        dropRecycled(uploader);
}

void PanoramaPhotoUpload::addBand(Uploader &uploader, const QImage &image, int y, int rows)
{
    if (holding()) {
        m_held.push_back([this, image, y, rows](Uploader &u) { addBand(u, image, y, rows); });
        return;
    }
    reportWritten(uploader, false);
    const int index = y / PanoramaStrips::stripRows;
    if (index < 0 || index >= int(m_strips.size()))
        return;
    const QSize size = PanoramaStrips::textureSize(m_size, index);
    Strip &strip = m_strips[std::size_t(index)];
    if (!strip.id)
        strip.id = stripTexture(uploader, index, size);
    if (!strip.id)
        return; // the photo ends incomplete, which finish() reports
    if (m_mipmapStrip != index) {
        m_mipmaps.reset(size);
        m_mipmapStrip = index;
    }
    // The bands of the mipmap chain within this band are prepared side by
    // side (the upload thread alone would fall behind the decode), each in
    // buffers of its own, made here and kept from band to band. The call
    // waits for them all.
    std::vector<Chunk> chunks;
    for (int row = 0; row < rows; row += PanoramaMipmapBands::bandRows) {
        if (m_bands.size() <= chunks.size())
            m_bands.emplace_back();
        PanoramaMipmapBands::reserve(m_bands[chunks.size()], size);
        chunks.push_back({image, size, y - PanoramaStrips::firstRow(index) + row, y + row,
                          std::min(PanoramaMipmapBands::bandRows, rows - row), &m_bands[chunks.size()]});
    }
    QtConcurrent::blockingMap(chunks, prepareChunk);
    uploader.bind(strip.id);
    for (std::size_t i = 0; i < chunks.size(); ++i)
        m_mipmaps.add(m_bands[i], rowsTo(uploader));
    strip.rows += rows;
    if (strip.rows == size.height())
        endStrip(uploader, index);
}

unsigned PanoramaPhotoUpload::stripTexture(Uploader &uploader, int strip, QSize size)
{
    if (m_recycled.size == m_size && strip < int(m_recycled.ids.size()) && m_recycled.ids[std::size_t(strip)])
        return std::exchange(m_recycled.ids[std::size_t(strip)], 0u);
    return uploader.allocate(size);
}

void PanoramaPhotoUpload::endStrip(Uploader &uploader, int index)
{
    Strip &strip = m_strips[std::size_t(index)];
    uploader.bind(strip.id);
    m_mipmaps.finish(rowsTo(uploader));
    m_mipmapStrip = -1;
    m_written.push_back({index, uploader.markWrites()});
    reportWritten(uploader, false);
}

void PanoramaPhotoUpload::reportWritten(Uploader &uploader, bool wait)
{
    while (!m_written.empty() && uploader.writesDone(m_written.front().mark, wait)) {
        const int index = m_written.front().strip;
        m_written.pop_front();
        Strip &strip = m_strips[std::size_t(index)];
        strip.reported = true;
        m_reports.strip(m_size, index, strip.id);
    }
}

void PanoramaPhotoUpload::finish(Uploader &uploader)
{
    if (holding()) {
        m_held.push_back([this](Uploader &u) { finish(u); });
        return;
    }
    reportWritten(uploader, true);
    const bool complete = !m_strips.empty()
        && std::all_of(m_strips.cbegin(), m_strips.cend(), [](const Strip &strip) { return strip.reported; });
    if (!complete) {
        fail(uploader);
        return;
    }
    dropRecycled(uploader);
    m_ended = true;
    m_previewComing = false;
    m_reports.finished(true);
}

void PanoramaPhotoUpload::fail(Uploader &uploader)
{
    // A preview that comes after this has nothing left to show.
    m_previewComing = false;
    m_stage = Stage::strips;
    m_held.clear();
    dropUnreported(uploader);
    dropRecycled(uploader);
    m_ended = true;
    m_reports.finished(false);
}

void PanoramaPhotoUpload::abort(Uploader &uploader)
{
    // The bands held back belong to the decode that gave up.
    m_held.clear();
    dropUnreported(uploader);
    dropRecycled(uploader);
    const bool anyReported =
        std::any_of(m_strips.cbegin(), m_strips.cend(), [](const Strip &strip) { return strip.reported; });
    m_strips.clear();
    m_size = QSize();
    if (anyReported)
        m_reports.restarted();
}

void PanoramaPhotoUpload::whole(Uploader &uploader, const QImage &image)
{
    const int maxSide = image.isNull() ? 0 : uploader.maxTextureSize();
    if (maxSide == 0) {
        fail(uploader);
        return;
    }
    const QImage pixels = Uploader::prepared(image, maxSide);
    if (!m_previewShown) {
        // A preview decoded apart is no longer waited for.
        m_previewComing = false;
        const QImage preview = PanoramaPhotoDecode::previewOf(pixels);
        if (!preview.isNull())
            showPreview(uploader, preview, pixels.size());
        else if (m_stage == Stage::waitingForPreview)
            release(uploader);
    }
    begin(uploader, pixels.size());
    for (int y = 0; y < pixels.height(); y += PanoramaPhotoDecode::bandRows)
        addBand(uploader, pixels, y, std::min(PanoramaPhotoDecode::bandRows, pixels.height() - y));
    finish(uploader);
}

void PanoramaPhotoUpload::dropUnreported(Uploader &uploader)
{
    for (const Written &written : std::exchange(m_written, {}))
        uploader.dropMark(written.mark);
    std::vector<unsigned> ids;
    m_mipmapStrip = -1;
    for (Strip &strip : m_strips) {
        if (strip.id && !strip.reported)
            ids.push_back(std::exchange(strip.id, 0u));
    }
    uploader.deleteTextures(ids);
}

void PanoramaPhotoUpload::dropRecycled(Uploader &uploader)
{
    uploader.deleteTextures(std::exchange(m_recycled, {}).ids);
}

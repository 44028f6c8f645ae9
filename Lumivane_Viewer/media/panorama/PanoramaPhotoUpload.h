#pragma once

#include "PanoramaMipmapBands.h"
#include "PanoramaTextureUploader.h"

#include <QImage>
#include <QSize>

#include <deque>
#include <functional>
#include <vector>

/// One photo on its way to the GPU, on the upload thread. Takes the calls of
/// its decode and of its preview decode in whatever order the two make them,
/// and uploads strip by strip, reporting every finished strip. When the
/// photo replaces another on the GPU, it puts the preview there first and
/// holds its strips back until the views show the preview: the photo that
/// the preview replaced can then leave the GPU (or lend its storage) before
/// the new one takes its memory. Made on the GUI thread, then used on the
/// upload thread only.
class PanoramaPhotoUpload final
{
public:
    using Uploader = PanoramaTextureUploader;

    /// What the upload tells the views' side, called on the upload thread.
    struct Reports
    {
        /// The preview is on the GPU in texture `id`; `photoSize` is the photo's.
        std::function<void(unsigned id, QSize previewSize, QSize photoSize)> preview;
        /// Strip `strip` of a photo of `size` is on the GPU in texture `id`.
        std::function<void(QSize size, int strip, unsigned id)> strip;
        /// The strips reported so far stay incomplete: the photo starts over.
        std::function<void()> restarted;
        /// The end: every strip was reported, or the photo gives none.
        std::function<void(bool complete)> finished;
    };

    /// `previewComing`: a preview decode will call preview() once.
    /// `holdForViews`: the strips wait for the views to show a preview.
    PanoramaPhotoUpload(Reports reports, bool previewComing, bool holdForViews);

    /// A preview decoded apart; a null image when the photo has none.
    void preview(Uploader &uploader, const QImage &image, QSize photoSize);
    /// The views show the preview: the strips may take their memory now.
    /// `recycled` are the textures of a photo that no view shows any more,
    /// reused when they have the photo's size.
    void go(Uploader &uploader, Uploader::Result recycled);

    /// The calls of PanoramaPhotoDecode::Sink, in its order.
    void begin(Uploader &uploader, QSize size);
    void addBand(Uploader &uploader, const QImage &image, int y, int rows);
    void finish(Uploader &uploader);
    void abort(Uploader &uploader);
    void whole(Uploader &uploader, const QImage &image);

private:
    enum class Stage { waitingForPreview, waitingForViews, strips };
    using Held = std::function<void(Uploader &)>;

    struct Strip
    {
        unsigned id = 0;
        int rows = 0;
        bool reported = false;
    };

    bool holding() const { return m_stage != Stage::strips; }
    void showPreview(Uploader &uploader, const QImage &image, QSize photoSize);
    void release(Uploader &uploader);
    unsigned stripTexture(Uploader &uploader, int strip, QSize size);
    void endStrip(Uploader &uploader, int strip);
    /// Reports the strips that the GPU holds now, in order; with `wait`,
    /// every strip ended so far.
    void reportWritten(Uploader &uploader, bool wait);
    void fail(Uploader &uploader);
    /// Deletes what no one else will: unreported strips and unused recycled textures.
    void dropUnreported(Uploader &uploader);
    void dropRecycled(Uploader &uploader);

    Reports m_reports;
    const bool m_holdForViews;
    Stage m_stage;
    bool m_previewComing;
    bool m_previewShown = false;
    bool m_ended = false;
    std::vector<Held> m_held;
    QSize m_size;
    std::vector<Strip> m_strips;
    /// Strips ended whose upload the GPU may still be finishing, in order,
    /// with the mark that tells when it has.
    struct Written
    {
        int strip;
        GLsync mark;
    };
    std::deque<Written> m_written;
    /// Bands come from the top down, so one strip at a time is under way:
    /// this one, whose mipmaps are being built.
    int m_mipmapStrip = -1;
    PanoramaMipmapBands m_mipmaps{QSize()};
    /// Where the mipmap bands of one decoded band are prepared.
    std::deque<PanoramaMipmapBands::Band> m_bands;
    Uploader::Result m_recycled;
};

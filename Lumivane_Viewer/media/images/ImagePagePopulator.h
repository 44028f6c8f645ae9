#pragma once

#include <QImage>

#include <thread>

/// Maps the pages of a freshly allocated image on a second thread while the
/// caller decodes into it: page faults on a fresh large buffer take about
/// half as long as decoding into it. Populating never changes the contents,
/// so the decoder may write rows meanwhile. The second thread is joined when
/// this object goes. Small images are left alone.
class ImagePagePopulator final
{
public:
    /// Images of fewer bytes are left alone: below this a second thread
    /// costs more than the faults it saves.
    static constexpr qsizetype worthASecondThread = 16 << 20;

    explicit ImagePagePopulator(QImage &image);
    ~ImagePagePopulator();

    ImagePagePopulator(const ImagePagePopulator &) = delete;
    ImagePagePopulator &operator=(const ImagePagePopulator &) = delete;

private:
    std::thread m_thread;
};

#pragma once

#include <QImage>
#include <QSize>

#include <memory>
#include <mutex>

/// One full-size photo buffer whose pages are mapped ahead of time, for the
/// next band decode to write into. Mapping fresh memory page by page while
/// decoding into it costs about a third of the decode of a large photo, and
/// the next photo usually has the size of the last one. Owned by the texture
/// store of a context group, so the buffer lives only while a view of that
/// group is open. Safe to call from any thread.
class PanoramaSpareImage final : public std::enable_shared_from_this<PanoramaSpareImage>
{
public:
    /// The buffer prepared for `size`, or a fresh one when none of that size is ready.
    QImage take(QSize size);
    /// Prepares a buffer of `size` on the global pool unless one is ready or
    /// on its way. A buffer that is ready after its owner went is dropped.
    void prepare(QSize size);

private:
    void keep(QImage image);

    std::mutex m_mutex;
    QImage m_image;
    bool m_preparing = false;
};

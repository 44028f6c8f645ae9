#include "ImagePagePopulator.h"

#include <sys/mman.h>
#include <unistd.h>

namespace {

void populatePages(uchar *data, qsizetype bytes)
{
#ifdef MADV_POPULATE_WRITE
    const quintptr pageSize = quintptr(sysconf(_SC_PAGE_SIZE));
    const quintptr first = (quintptr(data) + pageSize - 1) & ~(pageSize - 1);
    const quintptr last = (quintptr(data) + quintptr(bytes)) & ~(pageSize - 1);
    if (last > first)
        madvise(reinterpret_cast<void *>(first), last - first, MADV_POPULATE_WRITE);
#else
    Q_UNUSED(data);
    Q_UNUSED(bytes);
#endif
}

} // namespace

ImagePagePopulator::ImagePagePopulator(QImage &image)
{
    if (image.sizeInBytes() >= worthASecondThread)
        m_thread = std::thread(populatePages, image.bits(), image.sizeInBytes());
}

ImagePagePopulator::~ImagePagePopulator()
{
    if (m_thread.joinable())
        m_thread.join();
}

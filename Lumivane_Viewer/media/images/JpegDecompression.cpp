#include "JpegDecompression.h"

#include "ImageDecodeBudget.h"

#include <QFile>

#include <atomic>

namespace {

std::atomic<bool> s_stopped{false};

[[noreturn]] void onError(j_common_ptr info)
{
    std::longjmp(static_cast<JpegDecompression *>(info->client_data)->jump, 1);
}

// Warnings (a cut file, a damaged block) are no reason to stop: what can be
// decoded shows, as with Qt's own reader.
void onMessage(j_common_ptr) {}

// Stops the decode as an error once it reaches the scan past the limit, or
// once the process is ending. libjpeg calls this for every row of blocks it
// reads or puts out.
void onProgress(j_common_ptr common)
{
    const auto *info = reinterpret_cast<j_decompress_ptr>(common);
    if (info->input_scan_number > ImageDecodeBudget::scanLimit || s_stopped.load(std::memory_order_relaxed))
        onError(common);
}

} // namespace

JpegDecompression::JpegDecompression()
{
    info.err = jpeg_std_error(&errors);
    errors.error_exit = onError;
    errors.output_message = onMessage;
    jpeg_create_decompress(&info);
    info.client_data = this;
    progress.progress_monitor = onProgress;
    info.progress = &progress;
}

JpegDecompression::~JpegDecompression()
{
    jpeg_destroy_decompress(&info);
    if (file)
        std::fclose(file);
}

std::unique_ptr<JpegDecompression> JpegDecompression::openFile(const QString &path)
{
    auto decompression = std::make_unique<JpegDecompression>();
    decompression->file = std::fopen(QFile::encodeName(path).constData(), "rb");
    if (!decompression->file)
        return nullptr;
    jpeg_stdio_src(&decompression->info, decompression->file);
    return decompression;
}

std::unique_ptr<JpegDecompression> JpegDecompression::openData(const QByteArray &bytes)
{
    // libjpeg fails on an empty source before any jump is set.
    if (bytes.isEmpty())
        return nullptr;
    auto decompression = std::make_unique<JpegDecompression>();
    jpeg_mem_src(&decompression->info, reinterpret_cast<const unsigned char *>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    return decompression;
}

void JpegDecompression::stopAll()
{
    s_stopped = true;
}

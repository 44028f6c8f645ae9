#pragma once

#include <QByteArray>
#include <QString>

#include <csetjmp>
#include <cstdio>
#include <memory>

#include <jpeglib.h>

/// One libjpeg decompression of this library's JPEG readers, from a file or
/// from bytes that outlive it, whose errors jump back to `jump`: the caller
/// sets it with setjmp before its first call into libjpeg that reads. Kept
/// behind one pointer, never reassigned after setjmp, so that it survives
/// the jump; its destructor lets libjpeg's memory and the file go. A file of
/// more scans than ImageDecodeBudget::scanLimit is an error when libjpeg
/// reaches the one past it, and so is every step after stopAll().
struct JpegDecompression
{
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    jpeg_progress_mgr progress{};
    std::jmp_buf jump;
    FILE *file = nullptr;

    /// Null when the file cannot be opened.
    static std::unique_ptr<JpegDecompression> openFile(const QString &path);
    static std::unique_ptr<JpegDecompression> openData(const QByteArray &bytes);
    /// Ends every decompression of the process at its next step, those under
    /// way included, and every one started afterwards at its first: the
    /// process is ending.
    static void stopAll();

    JpegDecompression();
    ~JpegDecompression();
    JpegDecompression(const JpegDecompression &) = delete;
    JpegDecompression &operator=(const JpegDecompression &) = delete;
};

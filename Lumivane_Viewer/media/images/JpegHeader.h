#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include <optional>

struct jpeg_decompress_struct;

/// What the header of a JPEG tells of the cost of decoding it, read without
/// decoding anything: the stored size, and the memory libjpeg holds for the
/// whole picture before it hands on a first row, whatever the output scale
/// (the coefficients of a progressive or multi-scan file; none otherwise).
struct JpegHeader
{
    QSize size;
    qint64 wholePictureBytes = 0;

    /// Whether `bytes` start as libjpeg requires of a JPEG: with the start
    /// of image. Stray bytes may follow it; libjpeg skips them, as it does
    /// any before a marker.
    static bool startsLikeAJpeg(const QByteArray &bytes);
    /// None when the file is not a JPEG or its header cannot be read.
    static std::optional<JpegHeader> readFile(const QString &path);
    static std::optional<JpegHeader> readData(const QByteArray &bytes);
    /// The header that `info` has read.
    static JpegHeader of(jpeg_decompress_struct &info);
};

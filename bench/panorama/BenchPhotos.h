#pragma once

#include <QString>
#include <QStringList>

class QTemporaryDir;

/// Equirectangular JPEG photos for the panorama benchmarks, with enough
/// detail that they decode like real photos.
namespace BenchPhotos {

QString writePhoto(const QTemporaryDir &dir, const QString &name, int width, int height, int seed);
QStringList writePhotos(const QTemporaryDir &dir, int count, int width, int height);

} // namespace BenchPhotos

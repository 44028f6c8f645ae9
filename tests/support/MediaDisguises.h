#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

/// Files that pass for sounds or movies by their first bytes but name what to
/// play at an address elsewhere, and the pieces to build such files from.
namespace MediaDisguises {

enum class Kind { m3u, pls, asx, hls, referenceMovie };

const QList<Kind> &allKinds();
QString name(Kind kind);

/// A file of the kind that points a player at target.
QByteArray disguise(Kind kind, const QUrl &target);

/// An empty ID3v2.4 tag, as sound files carry in front of their frames.
QByteArray id3Tag();

/// One MP4/QuickTime box: its size, its type and the payload.
QByteArray mp4Box(const char (&type)[5], const QByteArray &payload);

} // namespace MediaDisguises

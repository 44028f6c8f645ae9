#pragma once

#include "TourPlan.h"

#include <QByteArray>
#include <QString>

/// The still pictures, documents and fallback sounds of a sample tour, drawn
/// with QPainter. Needs a QGuiApplication (for fonts); any thread.
namespace SampleArtwork {

/// The agency logo as a transparent PNG.
QByteArray logoPng(const QString &agencyName);
/// The plan of one level as a PNG: its stations' rooms, named, with a dot where
/// each station stands; levelKey "" draws the stations without a level.
QByteArray floorPlanPng(const TourPlan &plan, const QString &levelKey);
/// A PNG picture for an image attachment.
QByteArray picturePng(const QString &title);
/// A two-page A4 brochure of the tour.
bool writeBrochurePdf(const QString &path, const QString &title, const TourPlan &plan);
/// A plain 16-bit mono WAV tone, used when no encoder is installed.
QByteArray toneWav(double seconds, double frequency);

} // namespace SampleArtwork

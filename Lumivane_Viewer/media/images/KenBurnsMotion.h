#pragma once

#include <QPoint>
#include <QUuid>

/// One moment of the slow zoom and drift of a classic photo: a zoom about the
/// frame's centre, then a shift in points (x to the right, y downward).
struct KenBurnsFrame
{
    double scale = 1.0;
    double offsetX = 0.0;
    double offsetY = 0.0;
};

/// The Ken Burns motion of the classic slideshow: 8 s, ease-in-out, from the
/// still photo to a zoom of 1.18 shifted 40 points on each axis, in a
/// direction chosen by the station id. Pure functions of time.
namespace KenBurnsMotion {

inline constexpr double duration = 8.0;
inline constexpr double targetScale = 1.18;
inline constexpr double shift = 40.0;
/// The user setting that keeps classic photos still; off unless set.
inline constexpr const char *reduceMotionSettingsKey = "lumivane.reduceMotion";

/// Reads reduceMotionSettingsKey now.
bool reduceMotionSetting();

/// (dx, dy), each +1 or -1: dx = +1 for an odd hash of the id's canonical
/// upper-case text, dy = -1 (upward) when the hash is divisible by 3.
QPoint drift(const QUuid &seed);
/// The frame elapsed seconds after the start; held at the end after 8 s.
KenBurnsFrame frameAt(double elapsed, QPoint drift);
/// The standard ease-in-out curve, cubic Bezier (0.42, 0) (0.58, 1).
double easeInOut(double progress);

} // namespace KenBurnsMotion

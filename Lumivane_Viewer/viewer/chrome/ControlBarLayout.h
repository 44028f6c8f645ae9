#pragma once

#include <QList>
#include <QPoint>

/// The vertical room of the control bar's buttons: the band between what
/// lies above them (the language picker and the audio-guide button) and
/// below them (the thumbnail strip), in a view of the given height.
struct ControlBarRoom
{
    int viewHeight = 0;
    int bandTop = 0;
    int bandBottom = 0;
};

/// Where the top-left corners of `count` round buttons of side `side` go,
/// in order: one column at the left edge, centred on the view's middle line
/// as long as that keeps it inside the band, else moved into it. When the
/// band is too short the gaps between the buttons shrink; when even the
/// smallest gaps leave it too short, the buttons continue in further
/// columns beside the first, each as tall as the first.
QList<QPoint> controlBarPositions(int count, int side, const ControlBarRoom &room);

#pragma once

#include <QRect>

/// The parts of the station view that its standing controls and titles
/// hold, in the station view's coordinates, for the views that must keep
/// clear of them: the control bar keeps between the overlay column and the
/// strip, a classic tour's step buttons above the floor plan and its
/// caption above the strip and beside the information panel, the info card
/// clear of all of them, the information panel below the header. An empty
/// rectangle holds nothing.
struct ReservedAreas
{
    QRect overlayColumn;     // the language picker and the audio-guide button, top left
    QRect header;            // the header's, the kiosk header's or the immersive exit's controls, at the top
    QRect informationPanel;  // the information panel's column, along the trailing edge
    QRect thumbStrip;        // along the bottom edge, while the strip is shown
    QRect floorPlan;         // bottom right, while a plan is shown
    QRect controlBar;        // the control bar's buttons, at the left edge
    QRect classicPrevious;   // a classic tour's step buttons, left and right
    QRect classicNext;
    QRect classicCaption;    // a classic station's name and caption, at the bottom

    bool operator==(const ReservedAreas &) const = default;
};

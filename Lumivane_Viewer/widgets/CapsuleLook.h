#pragma once

#include "SoftShadow.h"
#include "model/SystemFont.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <optional>

class QPainter;

/// A line drawn along the inside of a capsule's edge.
struct CapsuleOutline
{
    QColor color;
    double width = 1;
};

/// How a capsule looks: a leading symbol (a button's) or image (a label's)
/// and one line of text on a fill with rounded ends. Lengths in logical
/// pixels.
struct CapsuleLook
{
    QString symbol = {};            // leading symbol; none when empty
    double symbolPoints = 12;       // font size the symbol is sized like
    double imageHeight = 0;         // largest height of a leading image
    QFont font = systemFont(13, QFont::DemiBold);
    QColor foreground = Qt::white;  // symbol and text
    double spacing = 6;             // between symbol or image and text
    double horizontalPadding = 12;
    double verticalPadding = 8;
    QColor background = Qt::transparent;
    std::optional<CapsuleOutline> outline = {};
    std::optional<DropShadow> shadow = {};
    double disabledOpacity = 1;     // the whole button's opacity when disabled
};

/// Paints a look's capsule, without its content, at `capsule`: the shadow,
/// the fill and the outline. The painter antialiases.
void paintCapsule(QPainter &painter, const QRectF &capsule, const CapsuleLook &look);

/// The viewer's capsules. Each is described once, in one table, so that it
/// looks the same wherever it stands.
enum class Capsule {
    coverStart,        // start the visit, on the cover
    coverContact,      // ask for a visit, on the cover
    kioskStop,         // end the kiosk tour
    headerInfo,        // the project's information, in the header
    stationName,       // the station on screen, in both headers
    branding,          // the agency's logo and name, in the header
    audioGuide,        // the audio guide, paused
    audioGuidePlaying, // the audio guide, playing
    unlock,            // the password gate's button
    feedbackSend,      // send the feedback; its fill follows the rating
};

/// The look of one of the viewer's capsules. Those filled with the tour's
/// accent glow in it too.
CapsuleLook capsuleLook(Capsule capsule, const QColor &accent = QColor());

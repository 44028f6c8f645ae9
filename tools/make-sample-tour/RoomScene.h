#pragma once

#include <QColor>
#include <QList>
#include <QString>

/// The four walls of a box-shaped room, named by the compass direction they face
/// the camera from: North is the wall straight ahead at yaw 0.
enum class Wall { North, East, South, West };

/// Something painted on a wall that a hotspot points at: a door to another
/// station or an information plaque.
struct WallFeature
{
    enum class Kind { Door, InfoPlaque };

    Kind kind = Kind::Door;
    Wall wall = Wall::North;
    /// Position of the feature's centre along the wall, 0 at the wall's left
    /// edge and 1 at its right edge, as seen from inside the room.
    double along = 0.5;
    /// Text painted above a door or on the plaque.
    QString label;
};

/// One box-shaped room (or walled courtyard when outdoor) with the camera at its
/// centre, as the renderer draws it. Lengths are metres; the floor is at
/// -eyeHeight, the camera at height 0.
struct RoomScene
{
    QString title;
    QColor wallColour = QColor(0xd8, 0xcf, 0xc0);
    QColor floorColour = QColor(0x8a, 0x6a, 0x4a);
    QColor ceilingColour = QColor(0xf2, 0xf0, 0xea);
    double width = 5.0;   ///< extent along west-east
    double depth = 4.0;   ///< extent along south-north
    double height = 2.7;  ///< wall height
    double eyeHeight = 1.6;
    bool outdoor = false; ///< no ceiling: the sky shows above the walls
    QList<WallFeature> features;
};

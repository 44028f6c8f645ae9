#include "TourPlan.h"

#include <numbers>

namespace {

PlannedHotspot door(Wall wall, double along, int target, const QString &label, bool pending = false)
{
    PlannedHotspot hotspot;
    hotspot.feature = {WallFeature::Kind::Door, wall, along, label};
    hotspot.targetStation = target;
    hotspot.pending = pending;
    return hotspot;
}

PlannedHotspot plaque(Wall wall, double along, const QString &title, const QString &titleEn,
                      const QString &description, const QString &descriptionEn,
                      QList<PlannedAttachment> attachments)
{
    PlannedHotspot hotspot;
    hotspot.feature = {WallFeature::Kind::InfoPlaque, wall, along, title};
    hotspot.title = title;
    hotspot.titleEn = titleEn;
    hotspot.description = description;
    hotspot.descriptionEn = descriptionEn;
    hotspot.attachments = std::move(attachments);
    return hotspot;
}

RoomScene room(const QString &title, double width, double depth, QColor wall, QColor floor)
{
    RoomScene scene;
    scene.title = title;
    scene.width = width;
    scene.depth = depth;
    scene.wallColour = wall;
    scene.floorColour = floor;
    return scene;
}

const QString groundFloor = QStringLiteral("Rez-de-chaussée");
const QString upstairs = QStringLiteral("Étage");

enum DemoStation { Entrance, Living, Kitchen, Landing, Bedroom, Bathroom, Garden };

PlannedStation entrance()
{
    PlannedStation s;
    s.name = QStringLiteral("Entrée");
    s.nameEn = QStringLiteral("Entrance hall");
    s.caption = QStringLiteral("Une entrée lumineuse qui dessert toute la maison.");
    s.captionEn = QStringLiteral("A bright hall leading to every room of the house.");
    s.level = groundFloor;
    s.orderIndex = 10;
    s.planRect = QRectF(0.42, 0.40, 0.16, 0.45);
    s.narration = QStringLiteral("Bienvenue dans la maison des Tilleuls. Voici l'entrée.");
    s.scene = room(s.name, 3.2, 4.0, QColor(0xe3, 0xd5, 0xb8), QColor(0x9b, 0x74, 0x4e));
    s.hotspots = {
        door(Wall::North, 0.25, Garden, QStringLiteral("Jardin")),
        door(Wall::East, 0.3, Living, QStringLiteral("Séjour")),
        door(Wall::West, 0.7, Kitchen, QStringLiteral("Cuisine")),
        door(Wall::South, 0.7, Landing, QStringLiteral("Escalier")),
        plaque(Wall::North, 0.78, QStringLiteral("Bienvenue"), QStringLiteral("Welcome"),
               QStringLiteral("La maison a été rénovée en 2021.\nVisite libre, bonne découverte !"),
               QStringLiteral("The house was renovated in 2021.\nEnjoy your visit!"),
               {{QStringLiteral("text"), QStringLiteral("Mot de l'agence"),
                 QStringLiteral("Cette maison familiale des années 1930 conserve ses parquets et ses moulures "
                                "d'origine. Chauffage au gaz, double vitrage partout.")},
                {QStringLiteral("link"), QStringLiteral("Le quartier"),
                 QStringLiteral("https://www.example.org/quartier-des-tilleuls")}}),
    };
    return s;
}

PlannedStation living()
{
    PlannedStation s;
    s.name = QStringLiteral("Séjour");
    s.nameEn = QStringLiteral("Living room");
    s.caption = QStringLiteral("Séjour de 38 m² avec cheminée et accès direct au jardin.");
    s.captionEn = QStringLiteral("A 38 m² living room with a fireplace and direct access to the garden.");
    s.level = groundFloor;
    s.orderIndex = 20;
    s.planRect = QRectF(0.58, 0.10, 0.34, 0.75);
    s.initialYaw = 0.3;
    s.narration = QStringLiteral("Le séjour, plein sud, ouvre sur le jardin.");
    s.scene = room(s.name, 6.0, 5.0, QColor(0xcf, 0xdd, 0xc3), QColor(0xa8, 0x80, 0x58));
    s.scene.height = 2.8;
    s.hotspots = {
        door(Wall::West, 0.78, Entrance, QStringLiteral("Entrée")),
        door(Wall::North, 0.2, Garden, QStringLiteral("Jardin")),
        plaque(Wall::North, 0.75, QStringLiteral("Cheminée"), QStringLiteral("Fireplace"),
               QStringLiteral("Cheminée d'origine en marbre, insert récent."),
               QStringLiteral("Original marble fireplace with a recent insert."),
               {{QStringLiteral("pdf"), QStringLiteral("Plaquette de la maison"), QStringLiteral("plaquette")},
                {QStringLiteral("image"), QStringLiteral("Plan du séjour"), QStringLiteral("plan-sejour")},
                {QStringLiteral("text"), QStringLiteral("Entretien"),
                 QStringLiteral("Ramonage annuel effectué en octobre.")},
                {QStringLiteral("link"), QStringLiteral("Diagnostic énergétique"),
                 QStringLiteral("https://www.example.org/diagnostic")}}),
    };
    return s;
}

PlannedStation kitchen()
{
    PlannedStation s;
    s.name = QStringLiteral("Cuisine");
    s.nameEn = QStringLiteral("Kitchen");
    s.caption = QStringLiteral("Cuisine équipée, ouverte sur l'entrée.");
    s.captionEn = QStringLiteral("Fitted kitchen opening onto the hall.");
    s.level = groundFloor;
    s.orderIndex = 30;
    s.planRect = QRectF(0.08, 0.40, 0.34, 0.45);
    s.initialYaw = -0.2;
    s.narration = QStringLiteral("La cuisine est entièrement équipée.");
    s.scene = room(s.name, 4.0, 3.5, QColor(0xc4, 0xd8, 0xe6), QColor(0x7d, 0x7d, 0x7d));
    s.hotspots = {
        door(Wall::East, 0.25, Entrance, QStringLiteral("Entrée")),
        plaque(Wall::North, 0.3, QStringLiteral("Équipements"), QStringLiteral("Appliances"),
               QStringLiteral("Four, plaque à induction et lave-vaisselle récents."),
               QStringLiteral("Recent oven, induction hob and dishwasher."),
               {{QStringLiteral("video"), QStringLiteral("Démonstration"), QStringLiteral("demonstration")},
                {QStringLiteral("sound"), QStringLiteral("Carillon de la porte"), QStringLiteral("carillon")}}),
    };
    return s;
}

PlannedStation landing()
{
    PlannedStation s;
    s.name = QStringLiteral("Palier");
    s.nameEn = QStringLiteral("Landing");
    s.caption = QStringLiteral("Le palier de l'étage.");
    s.captionEn = QStringLiteral("The upstairs landing.");
    s.level = upstairs;
    s.orderIndex = 40;
    s.planRect = QRectF(0.42, 0.40, 0.16, 0.40);
    s.narration = QStringLiteral("À l'étage, le palier dessert deux pièces.");
    s.scene = room(s.name, 2.6, 3.0, QColor(0xd6, 0xcf, 0xe0), QColor(0x96, 0x6f, 0x4c));
    s.hotspots = {
        door(Wall::South, 0.25, Entrance, QStringLiteral("Escalier")),
        door(Wall::East, 0.25, Bedroom, QStringLiteral("Chambre")),
        door(Wall::West, 0.75, Bathroom, QStringLiteral("Salle de bain")),
    };
    return s;
}

PlannedStation bedroom()
{
    PlannedStation s;
    s.name = QStringLiteral("Chambre");
    s.nameEn = QStringLiteral("Bedroom");
    s.caption = QStringLiteral("Chambre parentale avec placards.");
    s.captionEn = QStringLiteral("Main bedroom with built-in wardrobes.");
    s.level = upstairs;
    s.orderIndex = 50;
    s.planRect = QRectF(0.58, 0.15, 0.34, 0.65);
    s.narration = QStringLiteral("La chambre parentale donne sur le jardin.");
    s.scene = room(s.name, 4.5, 4.0, QColor(0xec, 0xd2, 0xd2), QColor(0xb0, 0x8a, 0x62));
    s.hotspots = {
        door(Wall::West, 0.25, Landing, QStringLiteral("Palier")),
        // The connecting door is not finished in the editor yet.
        door(Wall::North, 0.25, Bathroom, QStringLiteral("Porte communicante"), true),
        plaque(Wall::North, 0.75, QStringLiteral("Rangements"), QStringLiteral("Storage"),
               QStringLiteral("Deux placards toute hauteur."), QStringLiteral("Two full-height wardrobes."),
               {{QStringLiteral("text"), QStringLiteral("Dimensions"),
                 QStringLiteral("Placards : 2,40 m × 0,60 m chacun.")}}),
    };
    return s;
}

PlannedStation bathroom()
{
    PlannedStation s;
    s.name = QStringLiteral("Salle de bain");
    s.nameEn = QStringLiteral("Bathroom");
    s.caption = QStringLiteral("Salle de bain avec douche à l'italienne.");
    s.captionEn = QStringLiteral("Bathroom with a walk-in shower.");
    s.level = upstairs;
    s.orderIndex = 60;
    s.planRect = QRectF(0.12, 0.40, 0.30, 0.40);
    s.narration = QStringLiteral("La salle de bain a été refaite à neuf.");
    s.scene = room(s.name, 3.0, 2.5, QColor(0xbf, 0xe3, 0xdf), QColor(0xe8, 0xe8, 0xe8));
    s.hotspots = {door(Wall::East, 0.8, Landing, QStringLiteral("Palier"))};
    return s;
}

PlannedStation garden()
{
    PlannedStation s;
    s.name = QStringLiteral("Jardin");
    s.nameEn = QStringLiteral("Garden");
    s.caption = QStringLiteral("Jardin clos de 400 m², exposé sud.");
    s.captionEn = QStringLiteral("A walled 400 m² south-facing garden.");
    s.orderIndex = 70;
    s.planRect = QRectF(0.10, 0.05, 0.80, 0.55);
    s.initialYaw = std::numbers::pi;
    s.narration = QStringLiteral("Le jardin clos entoure la maison.");
    s.scene = room(s.name, 12.0, 10.0, QColor(0xb9, 0xa9, 0x8c), QColor(0x5f, 0x8f, 0x3e));
    s.scene.height = 2.2;
    s.scene.outdoor = true;
    s.hotspots = {
        door(Wall::South, 0.4, Entrance, QStringLiteral("Entrée")),
        door(Wall::South, 0.7, Living, QStringLiteral("Séjour")),
        plaque(Wall::South, 0.2, QStringLiteral("Potager"), QStringLiteral("Vegetable patch"),
               QStringLiteral("Potager et arbres fruitiers."), QStringLiteral("Vegetable patch and fruit trees."),
               {{QStringLiteral("image"), QStringLiteral("Plan du jardin"), QStringLiteral("plan-jardin")}}),
    };
    return s;
}

} // namespace

TourPlan TourPlan::demo()
{
    TourPlan plan;
    plan.stations = {entrance(), living(), kitchen(), landing(), bedroom(), bathroom(), garden()};
    // The garden comes first in the file although it is last by orderIndex,
    // so readers that ignore orderIndex are caught out.
    plan.stations.move(Garden, 0);
    for (PlannedStation &station : plan.stations) {
        for (PlannedHotspot &hotspot : station.hotspots) {
            if (hotspot.targetStation >= 0)
                hotspot.targetStation = hotspot.targetStation == Garden ? 0 : hotspot.targetStation + 1;
        }
    }
    plan.startStation = Entrance + 1;
    return plan;
}

TourPlan TourPlan::generated(int count)
{
    constexpr int perLevel = 10;
    TourPlan plan;
    for (int i = 0; i < count; ++i) {
        PlannedStation s;
        s.name = QStringLiteral("Pièce %1").arg(i + 1);
        s.nameEn = QStringLiteral("Room %1").arg(i + 1);
        s.caption = QStringLiteral("Pièce numéro %1.").arg(i + 1);
        s.captionEn = QStringLiteral("Room number %1.").arg(i + 1);
        s.level = QStringLiteral("Niveau %1").arg(i / perLevel);
        s.orderIndex = i;
        const int slot = i % perLevel;
        s.planRect = QRectF(0.05 + (slot % 5) * 0.18, 0.1 + (slot / 5) * 0.4, 0.18, 0.4);
        s.narration = QStringLiteral("Pièce %1.").arg(i + 1);
        const QColor wall = QColor::fromHsv((i * 47) % 360, 60, 225);
        s.scene = room(s.name, 3.0 + (i * 7) % 5, 3.0 + (i * 3) % 4, wall, QColor::fromHsv((i * 47 + 180) % 360, 80, 140));
        if (i > 0)
            s.hotspots.append(door(Wall::West, 0.2, i - 1, QStringLiteral("Pièce %1").arg(i)));
        if (i + 1 < count)
            s.hotspots.append(door(Wall::East, 0.8, i + 1, QStringLiteral("Pièce %1").arg(i + 2)));
        if (i % 5 == 2) {
            QList<PlannedAttachment> attachments = {
                {QStringLiteral("text"), QStringLiteral("Note"), QStringLiteral("Note de la pièce %1.").arg(i + 1)}};
            if (i == 2)
                attachments.append({QStringLiteral("pdf"), QStringLiteral("Plaquette"), QStringLiteral("plaquette")});
            s.hotspots.append(plaque(Wall::North, 0.75, QStringLiteral("Détails"), QStringLiteral("Details"),
                                     QStringLiteral("Détails de la pièce."), QStringLiteral("Room details."),
                                     attachments));
        }
        plan.stations.append(s);
    }
    if (count > 1)
        plan.stations[0].hotspots.append(door(Wall::North, 0.25, count - 1, QStringLiteral("Bientôt"), true));
    return plan;
}

QStringList TourPlan::levelKeys() const
{
    QStringList keys;
    for (const PlannedStation &station : stations) {
        const QString key = station.level.value_or(QString());
        if (!keys.contains(key))
            keys.append(key);
    }
    return keys;
}

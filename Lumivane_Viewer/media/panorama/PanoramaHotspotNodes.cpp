#include "PanoramaHotspotNodes.h"

#include "scene/SceneNode.h"

#include "media/images/HotspotMarkerImages.h"
#include "model/Palette.h"

#include <QSet>

#include <cmath>

namespace {

struct Look
{
    bool visited = false;
    QColor color;
    bool ripple = false;
};

Look lookOf(const Hotspot &hotspot, const PanoramaHotspotNodes::Inputs &inputs)
{
    Look look;
    const bool navigation = hotspot.kind == HotspotKind::navigation;
    look.visited = navigation && inputs.visitedStationIDs.contains(hotspot.targetStationID);
    look.color = (!navigation || look.visited) ? paletteBrown() : paletteGold();
    look.ripple = navigation && inputs.hotspotStyle == HotspotStyle::haloRipple;
    return look;
}

std::unique_ptr<SceneNode> makePlane(const QString &name, double width, double height, const QImage &image,
                                     int renderingOrder, double opacity)
{
    auto node = std::make_unique<SceneNode>(name);
    auto geometry = SceneGeometry::plane(width, height);
    SceneMaterial &material = geometry->firstMaterial();
    material.texture = std::make_shared<SceneTexture>(image);
    material.doubleSided = true;
    material.readsDepth = false;
    material.writesDepth = false;
    material.blends = true;
    node->setGeometry(std::move(geometry));
    node->setRenderingOrder(renderingOrder);
    node->setOpacity(opacity);
    node->setBillboard(true);
    return node;
}

SceneAction::Ptr pulse()
{
    using A = SceneAction;
    return A::repeatForever(A::sequence({A::scaleTo(1.08, 1.5, SceneTimingMode::EaseInEaseOut),
                                         A::scaleTo(1.0, 1.5, SceneTimingMode::EaseInEaseOut)}));
}

SceneAction::Ptr ripple(double delay)
{
    using A = SceneAction;
    const auto cycle = A::sequence({A::group({A::scaleTo(1.0, 0.0), A::fadeOpacity(0.75, 0.0)}),
                                    A::group({A::scaleTo(3.0, 2.6, SceneTimingMode::EaseOut),
                                              A::fadeOpacity(0.0, 2.6, SceneTimingMode::EaseOut)})});
    if (delay > 0.0)
        return A::sequence({A::wait(delay), A::repeatForever(cycle)});
    return A::repeatForever(cycle);
}

SceneAction::Ptr breathe()
{
    using A = SceneAction;
    const auto mode = SceneTimingMode::EaseInEaseOut;
    return A::repeatForever(A::sequence({A::group({A::scaleTo(1.35, 1.1, mode), A::fadeOpacity(0.15, 1.1, mode)}),
                                         A::group({A::scaleTo(1.0, 1.1, mode), A::fadeOpacity(0.7, 1.1, mode)})}));
}

HotspotGlyph glyphOf(const Hotspot &hotspot, const Look &look)
{
    if (hotspot.kind == HotspotKind::info)
        return HotspotGlyph::info;
    return look.visited ? HotspotGlyph::check : HotspotGlyph::arrow;
}

void addRippleLook(SceneNode &group, const QString &name, const QColor &color, double now)
{
    auto core = makePlane(name, 0.28, 0.28, coreMarkerImage(color), 102, 1.0);
    core->runAction(pulse(), now);
    group.addChild(std::move(core));
    for (double delay : {0.0, 1.3}) {
        auto ring = makePlane(name, 0.26, 0.26, rippleRingImage(color), 100, 0.0);
        ring->runAction(ripple(delay), now);
        group.addChild(std::move(ring));
    }
}

void addClassicLook(SceneNode &group, const QString &name, const QColor &color, HotspotGlyph glyph,
                    const std::optional<QString> &symbol, double now)
{
    auto halo = makePlane(name, 1.5, 1.5, classicHaloImage(color), 99, 0.7);
    halo->runAction(breathe(), now);
    group.addChild(std::move(halo));
    group.addChild(makePlane(name, 0.85, 0.85, markerIconImage(color, glyph, symbol), 101, 1.0));
}

void addLabel(SceneNode &group, const QString &name, const QString &text, bool ripple)
{
    const QImage image = hotspotLabelImage(text);
    const QSizeF size = image.deviceIndependentSize();
    const double width = 0.4 * size.width() / std::max(size.height(), 1.0);
    auto label = makePlane(name, width, 0.4, image, 102, 1.0);
    label->setPosition({0.0, ripple ? -0.32 : -0.7, 0.0});
    group.addChild(std::move(label));
}

void addHitSphere(SceneNode &group, const QString &name)
{
    auto node = std::make_unique<SceneNode>(name);
    auto geometry = SceneGeometry::sphere(PanoramaHotspotNodes::hitSphereRadius, 12);
    geometry->firstMaterial().color = Qt::transparent;
    geometry->firstMaterial().doubleSided = true;
    node->setGeometry(std::move(geometry));
    node->setOpacity(0.001);
    group.addChild(std::move(node));
}

// Moves the running animations of a previous build onto the new nodes, child
// by child; both builds have the same children because their looks match.
void carryOverAnimations(SceneNode &from, SceneNode &to)
{
    const auto &oldChildren = from.children();
    const auto &newChildren = to.children();
    for (std::size_t i = 0; i < oldChildren.size() && i < newChildren.size(); ++i) {
        SceneNode &oldNode = *oldChildren[i];
        SceneNode &newNode = *newChildren[i];
        newNode.removeAllActions();
        newNode.adoptActions(oldNode.takeActions());
        newNode.setOpacity(oldNode.opacity());
        newNode.setScale(oldNode.scale());
    }
}

} // namespace

QString PanoramaHotspotNodes::nodeName(const QUuid &id)
{
    return QStringLiteral("hotspot_") + id.toString(QUuid::WithoutBraces).toUpper();
}

std::optional<QUuid> PanoramaHotspotNodes::idFromNodeName(const QString &name)
{
    static const QString prefix = QStringLiteral("hotspot_");
    if (!name.startsWith(prefix))
        return std::nullopt;
    const QString rest = name.mid(prefix.size());
    // Exactly the 36-character canonical form; QUuid alone would also take
    // braces and trailing text.
    if (rest.size() != 36)
        return std::nullopt;
    const QUuid id = QUuid::fromString(rest);
    if (id.isNull() && rest != QStringLiteral("00000000-0000-0000-0000-000000000000"))
        return std::nullopt;
    return id;
}

void PanoramaHotspotNodes::markerPosition(double yaw, double pitch, double &x, double &y, double &z)
{
    const float fy = float(yaw);
    const float fp = float(pitch);
    const float r = float(markerRadius);
    x = double(-r * std::sin(fy) * std::cos(fp));
    y = double(r * std::sin(fp));
    z = double(r * std::cos(fy) * std::cos(fp));
}

std::optional<QString> PanoramaHotspotNodes::symbolName(const Hotspot &hotspot)
{
    QSet<AttachmentKind> kinds;
    for (const HotspotAttachment &attachment : hotspot.attachments)
        kinds.insert(attachment.kind);
    if (kinds.size() != 1)
        return std::nullopt;
    switch (*kinds.begin()) {
    case AttachmentKind::pdf:
        return QStringLiteral("doc.richtext.fill");
    case AttachmentKind::image:
        return QStringLiteral("photo.fill");
    case AttachmentKind::video:
        return QStringLiteral("play.rectangle.fill");
    case AttachmentKind::sound:
        return QStringLiteral("speaker.wave.2.fill");
    case AttachmentKind::text:
        return QStringLiteral("text.alignleft");
    case AttachmentKind::link:
        return QStringLiteral("link");
    }
    return std::nullopt;
}

std::optional<QString> PanoramaHotspotNodes::labelText(const Hotspot &hotspot, const Inputs &inputs)
{
    if (hotspot.kind != HotspotKind::navigation || !inputs.showHotspotLabels)
        return std::nullopt;
    return stationLabel(hotspot.targetStationID, inputs.stationNames, inputs.stationNumbers);
}

std::optional<QString> PanoramaHotspotNodes::stationLabel(const QUuid &stationID, const QHash<QUuid, QString> &names,
                                                          const QHash<QUuid, QString> &numbers)
{
    const QString name = names.value(stationID);
    if (name.isEmpty())
        return std::nullopt;
    const QString number = numbers.value(stationID);
    if (number.isEmpty())
        return name;
    return number + QStringLiteral(" \u00B7 ") + name;
}

double PanoramaHotspotNodes::drawnRadius(const Hotspot &hotspot, const Inputs &inputs)
{
    // The sizes addRippleLook() and addClassicLook() draw.
    constexpr double rippleReach = 0.26 * 3.0 / 2.0;
    constexpr double haloRadius = 1.5 / 2.0;
    return lookOf(hotspot, inputs).ripple ? rippleReach : haloRadius;
}

QString PanoramaHotspotNodes::lookSignature(const Hotspot &hotspot, const Inputs &inputs)
{
    const Look look = lookOf(hotspot, inputs);
    return QStringList{rawValue(hotspot.kind), look.ripple ? QStringLiteral("ripple") : QStringLiteral("classic"),
                       markerColorKey(look.color), glyphName(glyphOf(hotspot, look)),
                       symbolName(hotspot).value_or(QString()), labelText(hotspot, inputs).value_or(QString())}
        .join(QLatin1Char('|'));
}

std::unique_ptr<SceneNode> PanoramaHotspotNodes::makeHotspotNode(const Hotspot &hotspot, const Inputs &inputs,
                                                                 double now)
{
    const Look look = lookOf(hotspot, inputs);
    const QString name = nodeName(hotspot.id);
    auto group = std::make_unique<SceneNode>(name);
    if (look.ripple) {
        addRippleLook(*group, name, look.color, now);
    } else {
        const HotspotGlyph glyph = glyphOf(hotspot, look);
        const std::optional<QString> symbol =
            hotspot.kind == HotspotKind::info ? symbolName(hotspot) : std::nullopt;
        addClassicLook(*group, name, look.color, glyph, symbol, now);
    }
    if (const std::optional<QString> text = labelText(hotspot, inputs))
        addLabel(*group, name, *text, look.ripple);
    addHitSphere(*group, name);
    double x = 0.0, y = 0.0, z = 0.0;
    markerPosition(hotspot.yaw, hotspot.pitch, x, y, z);
    group->setPosition({x, y, z});
    return group;
}

void PanoramaHotspotNodes::sync(SceneNode *hotspotsRoot, const Inputs &inputs, double now)
{
    if (!hotspotsRoot)
        return;
    // Keep the previous build until the new one has taken its animations.
    std::vector<std::unique_ptr<SceneNode>> previous;
    while (!hotspotsRoot->children().empty())
        previous.push_back(hotspotsRoot->children().front()->removeFromParent());
    QHash<QUuid, QString> signatures;
    if (!inputs.hideHotspots) {
        for (const Hotspot &hotspot : inputs.hotspots) {
            if (hotspot.isPending)
                continue;
            auto group = makeHotspotNode(hotspot, inputs, now);
            const QString signature = lookSignature(hotspot, inputs);
            if (m_signatures.value(hotspot.id) == signature && !signatures.contains(hotspot.id)) {
                for (auto &old : previous) {
                    if (old && old->name() == group->name()) {
                        carryOverAnimations(*old, *group);
                        old.reset();
                        break;
                    }
                }
            }
            signatures.insert(hotspot.id, signature);
            hotspotsRoot->addChild(std::move(group));
        }
    }
    m_signatures = signatures;
}

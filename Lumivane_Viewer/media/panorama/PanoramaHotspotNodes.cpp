#include "PanoramaHotspotNodes.h"

#include "PanoramaLogging.h"
#include "scene/Scene.h"

#include "media/images/HotspotMarkerImages.h"
#include "model/Palette.h"

#include <QSet>

#include <algorithm>
#include <cmath>
#include <numbers>

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

// How far into `action` a run begun `elapsed` seconds ago stands, less the
// whole passes of its endless repeats. Each pass of a marker's animation
// starts from where the one before ended, so a run begun that much later
// shows the same, without stepping through every pass in between.
double withoutWholePasses(const SceneAction &action, double elapsed)
{
    switch (action.kind()) {
    case SceneAction::Kind::RepeatForever: {
        const double pass = action.children().front()->totalDuration();
        return pass > 0.0 ? std::fmod(elapsed, pass) : elapsed;
    }
    case SceneAction::Kind::Sequence: {
        double before = 0.0;
        for (const SceneAction::Ptr &child : action.children()) {
            const double duration = child->totalDuration();
            if (elapsed - before < duration)
                return before + withoutWholePasses(*child, elapsed - before);
            before += duration;
        }
        return elapsed;
    }
    default:
        return elapsed;
    }
}

void runSince(SceneNode &node, const SceneAction::Ptr &action, double start, double now)
{
    node.runAction(action, now - withoutWholePasses(*action, std::max(0.0, now - start)));
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

void addRippleLook(SceneNode &group, const QString &name, const QColor &color, double start, double now)
{
    auto core = makePlane(name, 0.28, 0.28, coreMarkerImage(color), 102, 1.0);
    runSince(*core, pulse(), start, now);
    group.addChild(std::move(core));
    for (double delay : {0.0, 1.3}) {
        auto ring = makePlane(name, 0.26, 0.26, rippleRingImage(color), 100, 0.0);
        runSince(*ring, ripple(delay), start, now);
        group.addChild(std::move(ring));
    }
}

void addClassicLook(SceneNode &group, const QString &name, const QColor &color, HotspotGlyph glyph,
                    const std::optional<QString> &symbol, double start, double now)
{
    auto halo = makePlane(name, 1.5, 1.5, classicHaloImage(color), 99, 0.7);
    runSince(*halo, breathe(), start, now);
    group.addChild(std::move(halo));
    group.addChild(makePlane(name, 0.85, 0.85, markerIconImage(color, glyph, symbol), 101, 1.0));
}

double labelWidth(const QImage &image)
{
    const QSizeF size = image.deviceIndependentSize();
    return 0.4 * size.width() / std::max(size.height(), 1.0);
}

double labelOffset(bool ripple)
{
    return ripple ? -0.32 : -0.7;
}

void addLabel(SceneNode &group, const QString &name, const QString &text, bool ripple)
{
    const QImage image = hotspotLabelImage(text);
    auto label = makePlane(name, labelWidth(image), 0.4, image, 102, 1.0);
    label->setPosition({0.0, labelOffset(ripple), 0.0});
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

// Whether a sphere of `radius` round `centre` (camera space) reaches into
// the view: it is on the inner side of, or within `radius` of, each of the
// four planes through the eye that bound the view.
bool reachesIntoView(const QVector3D &centre, float radius, float tanHalfHeight, float tanHalfWidth)
{
    const float verticalNorm = std::sqrt(1.0f + tanHalfHeight * tanHalfHeight);
    const float horizontalNorm = std::sqrt(1.0f + tanHalfWidth * tanHalfWidth);
    const float depth = -centre.z();
    return depth * tanHalfHeight - centre.y() >= -radius * verticalNorm
        && depth * tanHalfHeight + centre.y() >= -radius * verticalNorm
        && depth * tanHalfWidth - centre.x() >= -radius * horizontalNorm
        && depth * tanHalfWidth + centre.x() >= -radius * horizontalNorm;
}

bool sameLooks(const PanoramaHotspotNodes::Inputs &a, const PanoramaHotspotNodes::Inputs &b)
{
    return a.visitedStationIDs == b.visitedStationIDs && a.stationNames == b.stationNames
           && a.stationNumbers == b.stationNumbers && a.hotspotStyle == b.hotspotStyle
           && a.showHotspotLabels == b.showHotspotLabels;
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

QList<QUuid> PanoramaHotspotNodes::shownMarkers() const
{
    QList<QUuid> ids;
    ids.reserve(qsizetype(m_shown.size()));
    for (const Shown &shown : m_shown)
        ids.append(shown.id);
    return ids;
}

std::unique_ptr<SceneNode> PanoramaHotspotNodes::makeHotspotNode(const Hotspot &hotspot, const Inputs &inputs,
                                                                 double now, std::optional<double> animationStart)
{
    const Look look = lookOf(hotspot, inputs);
    const QString name = nodeName(hotspot.id);
    const double start = animationStart.value_or(now);
    auto group = std::make_unique<SceneNode>(name);
    if (look.ripple) {
        addRippleLook(*group, name, look.color, start, now);
    } else {
        const HotspotGlyph glyph = glyphOf(hotspot, look);
        const std::optional<QString> symbol =
            hotspot.kind == HotspotKind::info ? symbolName(hotspot) : std::nullopt;
        addClassicLook(*group, name, look.color, glyph, symbol, start, now);
    }
    if (const std::optional<QString> text = labelText(hotspot, inputs))
        addLabel(*group, name, *text, look.ripple);
    addHitSphere(*group, name);
    double x = 0.0, y = 0.0, z = 0.0;
    markerPosition(hotspot.yaw, hotspot.pitch, x, y, z);
    group->setPosition({x, y, z});
    return group;
}

double PanoramaHotspotNodes::reach(const Hotspot &hotspot, const Inputs &inputs)
{
    const Look look = lookOf(hotspot, inputs);
    // The classic halo breathes out to 1.35 times its size.
    const double marker = (look.ripple ? 1.0 : 1.35) * drawnRadius(hotspot, inputs);
    double reach = std::max(hitSphereRadius, marker);
    if (const std::optional<QString> text = labelText(hotspot, inputs)) {
        const double halfWidth = labelWidth(hotspotLabelImage(*text)) / 2;
        reach = std::max(reach, std::hypot(halfWidth, std::abs(labelOffset(look.ripple)) + 0.2));
    }
    return reach;
}

PanoramaHotspotNodes::View PanoramaHotspotNodes::View::of(const Scene &scene, const SceneNode &hotspotsRoot,
                                                          QSizeF viewport)
{
    View view;
    const SceneCamera *camera = scene.pointOfView() ? scene.pointOfView()->camera() : nullptr;
    if (viewport.isEmpty() || !camera)
        return view;
    const double now = scene.clock().now();
    view.toCamera = scene.viewMatrix() * hotspotsRoot.worldTransform(now);
    view.tanHalfHeight = std::tan(camera->presentedFieldOfView(now) * std::numbers::pi / 360.0);
    view.tanHalfWidth = view.tanHalfHeight * viewport.width() / viewport.height();
    return view;
}

void PanoramaHotspotNodes::sync(const Inputs &inputs, double now)
{
    const bool sameHotspots = inputs.hotspots == m_inputs.hotspots && inputs.hideHotspots == m_inputs.hideHotspots;
    if (sameHotspots && sameLooks(inputs, m_inputs))
        return;
    std::vector<Marker> markers;
    if (!inputs.hideHotspots) {
        // Most markers of a crowded station lead to a few stations: one label each.
        QHash<QUuid, float> reachByTarget;
        for (qsizetype index = 0; index < inputs.hotspots.size(); ++index) {
            const Hotspot &hotspot = inputs.hotspots[index];
            if (hotspot.isPending)
                continue;
            Marker marker;
            marker.hotspot = index;
            marker.id = hotspot.id;
            double x = 0.0, y = 0.0, z = 0.0;
            markerPosition(hotspot.yaw, hotspot.pitch, x, y, z);
            marker.position = QVector3D(float(x), float(y), float(z));
            if (hotspot.kind == HotspotKind::navigation) {
                auto known = reachByTarget.constFind(hotspot.targetStationID);
                if (known == reachByTarget.cend())
                    known = reachByTarget.insert(hotspot.targetStationID, float(reach(hotspot, inputs)));
                marker.reach = *known;
            } else {
                marker.reach = float(reach(hotspot, inputs));
            }
            marker.animationStart = sameHotspots && markers.size() < m_markers.size()
                                        ? m_markers[markers.size()].animationStart
                                        : now;
            markers.push_back(marker);
        }
    }
    if (!sameHotspots)
        m_toldLimit = false;
    m_inputs = inputs;
    m_markers = std::move(markers);
    m_restyled = true;
}

std::vector<int> PanoramaHotspotNodes::markersInView(const View &view)
{
    std::vector<std::pair<float, int>> inView; // nearness to the middle, marker
    if (view.tanHalfHeight <= 0.0)
        return {};
    const auto tanHalfHeight = float(view.tanHalfHeight);
    const auto tanHalfWidth = float(view.tanHalfWidth);
    for (int index = 0; index < int(m_markers.size()); ++index) {
        const Marker &marker = m_markers[std::size_t(index)];
        const QVector3D centre = view.toCamera.map(marker.position);
        if (reachesIntoView(centre, marker.reach, tanHalfHeight, tanHalfWidth))
            inView.emplace_back(-centre.z() / std::max(centre.length(), 1e-6f), index);
    }
    if (inView.size() > std::size_t(shownLimit)) {
        if (!std::exchange(m_toldLimit, true))
            qCWarning(lcPanorama).nospace() << "a view shows " << inView.size() << " markers at once; only the "
                                            << shownLimit << " nearest its middle are drawn";
        std::nth_element(inView.begin(), inView.begin() + shownLimit, inView.end(),
                         [](const auto &a, const auto &b) { return a.first > b.first; });
        inView.resize(std::size_t(shownLimit));
    }
    std::vector<int> shown;
    shown.reserve(inView.size());
    for (const auto &[nearness, index] : inView)
        shown.push_back(index);
    std::sort(shown.begin(), shown.end());
    return shown;
}

void PanoramaHotspotNodes::showInView(SceneNode &hotspotsRoot, const View &view, double now)
{
    std::vector<int> wanted = markersInView(view);
    if (!m_restyled && wanted == m_shownMarkers)
        return;
    std::vector<std::unique_ptr<SceneNode>> previous = hotspotsRoot.takeChildren();
    QHash<QUuid, std::size_t> previousByID;
    for (std::size_t i = 0; i < m_shown.size() && i < previous.size(); ++i)
        previousByID.insert(m_shown[i].id, i); // a second marker of the same id gets nodes of its own
    std::vector<Shown> shown;
    shown.reserve(wanted.size());
    for (const int index : wanted) {
        Marker &marker = m_markers[std::size_t(index)];
        const Hotspot &hotspot = m_inputs.hotspots[marker.hotspot];
        std::unique_ptr<SceneNode> group;
        QString look;
        if (const auto kept = previousByID.constFind(marker.id); kept != previousByID.cend()) {
            look = m_restyled ? lookSignature(hotspot, m_inputs) : m_shown[*kept].look;
            if (look == m_shown[*kept].look)
                group = std::move(previous[*kept]);
            else
                marker.animationStart = now; // a new look starts over
            previousByID.erase(kept);
        } else {
            look = lookSignature(hotspot, m_inputs);
        }
        if (!group)
            group = makeHotspotNode(hotspot, m_inputs, now, marker.animationStart);
        group->setPosition({marker.position.x(), marker.position.y(), marker.position.z()});
        hotspotsRoot.addChild(std::move(group));
        shown.push_back({marker.id, look});
    }
    m_shown = std::move(shown);
    m_shownMarkers = std::move(wanted);
    m_restyled = false;
}

#include "PanoramaAccessibility.h"

#include "Panorama360ViewerView.h"

#include "model/DisplayText.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QWindow>

#include <algorithm>

namespace {

Panorama360ViewerView *panoramaOf(QWidget *widget)
{
    return dynamic_cast<Panorama360ViewerView *>(widget);
}

/// One marker in view, known by its hotspot: it stays the same child while
/// it is in view, wherever the turning view moves it.
class MarkerAccessible final : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    MarkerAccessible(Panorama360ViewerView *view, const QUuid &hotspotID)
        : m_view(view)
        , m_hotspotID(hotspotID)
    {
    }

    bool isValid() const override { return place().has_value(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_view ? m_view->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_view.data()); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text kind) const override
    {
        if (kind != QAccessible::Name || !m_view)
            return {};
        const std::optional<Hotspot> hotspot = m_view->markerHotspot(m_hotspotID);
        return hotspot ? markerAccessibleName(*hotspot, *m_view) : QString();
    }
    void setText(QAccessible::Text, const QString &) override {}

    QRect rect() const override
    {
        const std::optional<PanoramaMarkerPlace> shown = place();
        if (!shown)
            return {};
        const QRect local = shown->rect.toAlignedRect();
        return QRect(m_view->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.invisible = !m_view || !m_view->isVisible();
        state.offscreen = !place();
        return state;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &name) override
    {
        if (name == pressAction() && isValid())
            m_view->pressMarker(m_hotspotID);
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    std::optional<PanoramaMarkerPlace> place() const
    {
        if (!m_view)
            return std::nullopt;
        const QList<PanoramaMarkerPlace> places = m_view->visibleMarkers();
        const auto found = std::find_if(places.cbegin(), places.cend(),
                                        [this](const PanoramaMarkerPlace &p) { return p.hotspotID == m_hotspotID; });
        return found == places.cend() ? std::nullopt : std::optional(*found);
    }

    QPointer<Panorama360ViewerView> m_view;
    QUuid m_hotspotID;
};

class PanoramaAccessible final : public QAccessibleWidget
{
public:
    explicit PanoramaAccessible(Panorama360ViewerView *view)
        : QAccessibleWidget(view, QAccessible::Client)
    {
    }
    ~PanoramaAccessible() override
    {
        for (const QAccessible::Id id : std::as_const(m_markers))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override
    {
        const QList<PanoramaMarkerPlace> places = view()->visibleMarkers();
        // Markers out of view are no children any more: a new station's
        // markers do not pile up behind the old ones.
        for (auto entry = m_markers.begin(); entry != m_markers.end();) {
            const QUuid id = entry.key();
            if (std::any_of(places.cbegin(), places.cend(), [&id](const PanoramaMarkerPlace &p) { return p.hotspotID == id; })) {
                ++entry;
                continue;
            }
            QAccessible::deleteAccessibleInterface(entry.value());
            entry = m_markers.erase(entry);
        }
        return int(places.size());
    }

    QAccessibleInterface *child(int index) const override
    {
        const QList<PanoramaMarkerPlace> places = view()->visibleMarkers();
        if (index < 0 || index >= places.size())
            return nullptr;
        const QUuid id = places[index].hotspotID;
        auto known = m_markers.constFind(id);
        if (known == m_markers.constEnd()) {
            // Registered interfaces belong to the framework until deleted above.
            known = m_markers.insert(id, QAccessible::registerAccessibleInterface(new MarkerAccessible(view(), id)));
        }
        return QAccessible::accessibleInterface(*known);
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const QList<PanoramaMarkerPlace> places = view()->visibleMarkers();
        for (qsizetype index = 0; index < places.size(); ++index) {
            const QAccessible::Id id = m_markers.value(places[index].hotspotID);
            if (id && QAccessible::accessibleInterface(id) == child)
                return int(index);
        }
        return -1;
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QPoint local = view()->mapFromGlobal(QPoint(x, y));
        const QList<PanoramaMarkerPlace> places = view()->visibleMarkers();
        for (qsizetype index = 0; index < places.size(); ++index) {
            if (places[index].rect.contains(local))
                return child(int(index));
        }
        return nullptr;
    }

private:
    Panorama360ViewerView *view() const { return static_cast<Panorama360ViewerView *>(widget()); }

    mutable QHash<QUuid, QAccessible::Id> m_markers;
};

QAccessibleInterface *panoramaFactory(const QString &, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (Panorama360ViewerView *view = widget ? panoramaOf(widget) : nullptr)
        return new PanoramaAccessible(view);
    return nullptr;
}

} // namespace

void installPanoramaAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(panoramaFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

QString markerAccessibleName(const Hotspot &hotspot, const Panorama360ViewerView &view)
{
    const Panorama360ViewerView::Inputs &inputs = view.inputs();
    QString name;
    if (hotspot.kind == HotspotKind::navigation) {
        name = inputs.stationNames.value(hotspot.targetStationID);
        const QString number = inputs.stationNumbers.value(hotspot.targetStationID);
        if (!name.isEmpty() && !number.isEmpty())
            name = number + QStringLiteral(" \u00B7 ") + name;
    } else {
        name = hotspot.localizedInfoTitle(inputs.languageCode).value_or(QString());
    }
    return displayLine(name.isEmpty() ? hotspot.label.value_or(QString()) : name);
}

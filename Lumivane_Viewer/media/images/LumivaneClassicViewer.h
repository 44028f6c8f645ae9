#pragma once

#include "ClassicPhotoLayer.h"
#include "KenBurnsMotion.h"

#include "model/ModelEnums.h"
#include "model/Station.h"

#include <QElapsedTimer>
#include <QList>
#include <QTimer>
#include <QUrl>
#include <QUuid>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class LumivaneImageCache;

/// The media engine of classic tours: the current station's photo fitted on
/// black, changing with the tour's transition style (Ken Burns, fade, slide).
/// Built from its inputs and reports nothing; captions and info markers are
/// laid over it by its owner. Photos come through the shared image cache and
/// are never read on the GUI thread.
class LumivaneClassicViewer final : public QWidget
{
public:
    using PhotoURLResolver = std::function<std::optional<QUrl>(const QUuid &stationID)>;
    /// Monotonic seconds.
    using Clock = std::function<double()>;

    explicit LumivaneClassicViewer(QWidget *parent = nullptr, std::shared_ptr<LumivaneImageCache> cache = nullptr);
    ~LumivaneClassicViewer() override;

    /// A change of the shown station animates with the style's transition
    /// over animationSeconds; 0 swaps the photos at once.
    void setStations(const QList<Station> &stations, double animationSeconds = 0);
    void setCurrentIndex(int index, double animationSeconds = 0);
    void setPhotoURLResolver(PhotoURLResolver resolver);
    void setStyle(ClassicTransitionStyle style);
    /// Replaces the clock that motion and transitions run on.
    void setClock(Clock clock);

    /// The station whose photo view is shown; none while the "no photo" text is.
    std::optional<QUuid> shownStationID() const;
    /// The shown photo; null while it loads or when it is missing.
    QImage shownImage() const;
    /// The Ken Burns motion of the shown photo now; none for a still style.
    std::optional<KenBurnsFrame> kenBurnsFrame() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void refresh(double animationSeconds);
    std::optional<Station> currentStation() const;
    void replaceLayer(const std::optional<Station> &station, double animationSeconds);
    ClassicPhotoLayer::Transition transition() const;
    void animate();
    void tick();
    double now() const;
    void paintNoPhotoText(QPainter &painter);

    std::shared_ptr<LumivaneImageCache> m_cache;
    QList<Station> m_stations;
    int m_currentIndex = 0;
    PhotoURLResolver m_photoURLResolver;
    ClassicTransitionStyle m_style = ClassicTransitionStyle::kenBurns;
    std::unique_ptr<ClassicPhotoLayer> m_current;
    std::vector<std::unique_ptr<ClassicPhotoLayer>> m_leaving;
    QElapsedTimer m_elapsed;
    Clock m_clock;
    QTimer m_frameTimer;
};

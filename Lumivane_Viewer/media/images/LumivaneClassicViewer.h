#pragma once

#include "ClassicPhotoLayer.h"
#include "KenBurnsMotion.h"
#include "MediaClock.h"

#include "model/ModelEnums.h"
#include "model/Station.h"

#include <QList>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QUuid>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class L10n;
class LumivaneImageCache;
class QScreen;

/// The media engine of classic tours: the current station's photo fitted on
/// black, changing with the tour's transition style (Ken Burns, fade, slide).
/// Built from its inputs: the owner hands the whole set to setInputs()
/// whenever its own state changes, and the view works out what has to
/// change. Reports nothing; captions and info markers are laid over it by its
/// owner. Photos come through the injected image cache and are never read on
/// the GUI thread.
class LumivaneClassicViewer final : public QWidget
{
public:
    using PhotoURLResolver = std::function<std::optional<QUrl>(const QUuid &stationID)>;

    /// Everything the owner supplies, on every update.
    struct Inputs
    {
        QList<Station> stations;
        int currentIndex = 0;
        PhotoURLResolver photoURLResolver;
        ClassicTransitionStyle style = ClassicTransitionStyle::kenBurns;
        /// How long a change of the shown station animates with the style's
        /// transition; 0 swaps the photos at once.
        double animationSeconds = 0;
    };

    LumivaneClassicViewer(const Inputs &inputs, std::shared_ptr<LumivaneImageCache> cache, L10n &l10n,
                          QWidget *parent = nullptr);
    ~LumivaneClassicViewer() override;

    /// The most pixels a photo is shown at on `screen`: the whole screen in
    /// device pixels, at the Ken Burns motion's closest zoom. Photos are
    /// decoded no larger.
    static QSize photoBound(const QScreen &screen);

    /// Takes the owner's current inputs and updates the shown photo.
    void setInputs(const Inputs &inputs);
    const Inputs &inputs() const { return m_inputs; }

    /// The clock that motion and transitions run on.
    MediaClock &clock() { return m_clock; }

    /// The station whose photo view is shown; none while the "no photo" text is.
    std::optional<QUuid> shownStationID() const;
    /// The shown photo; null while it loads or when it is missing.
    QImage shownImage() const;
    /// The Ken Burns motion of the shown photo now; none for a still style.
    std::optional<KenBurnsFrame> kenBurnsFrame() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void refresh();
    std::optional<Station> currentStation() const;
    void replaceLayer(const std::optional<Station> &station);
    ClassicPhotoLayer::Transition transition() const;
    void animate();
    void tick();
    void paintNoPhotoText(QPainter &painter);

    Inputs m_inputs;
    std::shared_ptr<LumivaneImageCache> m_cache;
    QPointer<L10n> m_l10n;
    MediaClock m_clock;
    std::unique_ptr<ClassicPhotoLayer> m_current;
    std::vector<std::unique_ptr<ClassicPhotoLayer>> m_leaving;
    QTimer m_frameTimer;
};

#pragma once

#include "viewer/station/PanoramaInputs.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <memory>

class L10n;
class LumivaneImageCache;
class Panorama360ViewerView;
class ViewerController;

/// The media layer of panorama tours: the current station's panorama, the
/// side-by-side VR pair while VR mode is on, or the "no photo" text when
/// there is no current station. The panoramas are made when first needed;
/// the VR pair goes again when VR mode ends. Their inputs name the arriving
/// station's photo while a station change fades to black, so that it is on
/// the GPU when the change arrives.
class PanoramaMediaLayer final : public QWidget
{
public:
    PanoramaMediaLayer(ViewerController &controller, std::shared_ptr<LumivaneImageCache> cache, L10n &l10n,
                       QWidget *parent = nullptr);

    /// Shows what the controller's state asks for now.
    void refresh();

    /// The single panorama; null until a station was first shown.
    Panorama360ViewerView *panorama() const { return m_single; }
    /// A half of the VR pair (0 left, 1 right); null outside VR mode.
    Panorama360ViewerView *vrHalf(int half) const { return m_vrPair[std::size_t(half)]; }
    bool showsNoPhotoText() const { return m_noStation; }
    /// Black over everything the layer shows, at this opacity: drawn by its
    /// panoramas themselves, and by the layer where it shows no panorama.
    void setCoverOpacity(double opacity);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void showVRPair(bool shown);
    void layOut();

    ViewerController &m_controller;
    std::shared_ptr<LumivaneImageCache> m_cache;
    QPointer<L10n> m_l10n;
    const StationLabelMaps m_labels;
    QPointer<Panorama360ViewerView> m_single;
    std::array<QPointer<Panorama360ViewerView>, 2> m_vrPair;
    bool m_noStation = false;
    double m_coverOpacity = 0;
};

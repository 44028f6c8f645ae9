#pragma once

#include "model/ModelEnums.h"

#include <QList>
#include <QPointer>
#include <QUrl>
#include <QWidget>

#include <memory>
#include <optional>

class ClassicCoverBackground;
class LumivaneImageCache;
class Panorama360ViewerView;

/// The cover's full-window background, made from the start station's photo:
/// black without a photo; for panorama tours the photo as a panorama turning
/// by itself once in 90 seconds and deaf to the pointer; for classic tours
/// the photo filled and blurred. A gradient from black 0.55 at the top to
/// black 0.85 at the bottom lies over all three so white text stays legible.
class CoverBackground final : public QWidget
{
public:
    static constexpr double rotationSeconds = 90;

    CoverBackground(RenderMode renderMode, std::optional<QUrl> photo, std::shared_ptr<LumivaneImageCache> cache,
                    QWidget *parent = nullptr);

    /// Shows another photo or kind; the layer is replaced only when the kind
    /// changes, so a panorama keeps turning through a rebuild.
    void setPhoto(RenderMode renderMode, std::optional<QUrl> photo);

    /// The layer under the gradient; at most one of the two is set.
    Panorama360ViewerView *panorama() const;
    ClassicCoverBackground *classic() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void showPanorama(const QUrl &photo);
    void showClassic(const QUrl &photo);
    void removePhotoLayer();
    /// The photo layer when there is one, then the gradient.
    QList<QWidget *> layers() const;

    std::shared_ptr<LumivaneImageCache> m_cache;
    QPointer<Panorama360ViewerView> m_panorama;
    QPointer<ClassicCoverBackground> m_classic;
    QWidget *m_gradient;
};

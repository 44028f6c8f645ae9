#pragma once

#include "model/Palette.h"

#include <QAbstractButton>
#include <QColor>

#include <functional>

/// The marker of an info hotspot on a classic tour's photo: an accent disc
/// with a white ring and an "info" symbol, casting a soft shadow. The widget
/// is larger than the disc by the shadow's room: place it with
/// moveCentreTo(). Reports clicks through onSelect; reached with Tab, it
/// rings its disc while it shows the focus. Its name is the owner's.
class ClassicInfoMarker final : public QAbstractButton
{
public:
    explicit ClassicInfoMarker(QWidget *parent = nullptr);

    void setAccent(const QColor &accent);
    /// Puts the disc's centre at a point of the parent.
    void moveCentreTo(QPointF centre);

    QSize sizeHint() const override;

    std::function<void()> onSelect;

protected:
    void paintEvent(QPaintEvent *event) override;
    /// Only the disc and its ring answer, not the shadow around them.
    bool hitButton(const QPoint &pos) const override;

private:
    QPointF discCentre() const;

    QColor m_accent = paletteGold();
};

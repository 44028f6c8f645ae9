#pragma once

#include "ShadowedText.h"

#include "model/Station.h"

#include <QPointer>
#include <QRectF>
#include <QWidget>

#include <optional>

class L10n;

/// The station's name and public caption over a classic tour's photo, on a
/// gradient that darkens towards the bottom. A layer meant to fill the media
/// area above what holds its bottom edge; it never takes the mouse. The name
/// follows the interface language, the caption is shown as stored.
class ClassicCaptionBand final : public QWidget
{
public:
    explicit ClassicCaptionBand(L10n &l10n, QWidget *parent = nullptr);

    /// None shows nothing.
    void setStation(const std::optional<Station> &station);
    /// Where the name and the caption are drawn; empty without a station.
    QRect textArea() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Lines
    {
        QRectF name;
        QRectF caption;
    };

    void refreshTexts();
    Lines lines() const;

    QPointer<L10n> m_l10n;
    std::optional<Station> m_station;
    ShadowedText m_name;
    ShadowedText m_caption;
};

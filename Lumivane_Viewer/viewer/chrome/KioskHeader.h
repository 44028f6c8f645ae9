#pragma once

#include "ChromeLayer.h"

#include "model/Palette.h"

#include <QColor>
#include <QString>

#include <functional>

class CapsuleButton;
class CapsuleLabel;
class L10n;

/// The reduced header while the kiosk tour runs: the station's name and a
/// stop button in the tour's accent. A layer meant to fill the station view;
/// the row sits at its top. Reports the stop through onStopKiosk.
class KioskHeader final : public ChromeLayer
{
public:
    struct Inputs
    {
        QString stationName; // empty when there is no station
        QColor accent = paletteGold();

        bool operator==(const Inputs &) const = default;
    };

    explicit KioskHeader(const L10n &language, QWidget *parent = nullptr);

    void setInputs(const Inputs &inputs);

    std::function<void()> onStopKiosk;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void retranslate();
    void placeRow();

    const L10n &m_language;
    Inputs m_inputs;
    CapsuleLabel *m_stationName;
    CapsuleButton *m_stop;
};

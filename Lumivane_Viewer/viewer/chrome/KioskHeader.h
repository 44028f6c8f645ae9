#pragma once

#include "ChromeLayer.h"

#include "model/Palette.h"

#include <QColor>
#include <QPointer>
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

    explicit KioskHeader(L10n &l10n, QWidget *parent = nullptr);

    void setInputs(const Inputs &inputs);

    std::function<void()> onStopKiosk;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void retranslate();
    void placeRow();

    QPointer<L10n> m_l10n;
    Inputs m_inputs;
    CapsuleLabel *m_stationName;
    CapsuleButton *m_stop;
};

#pragma once

#include "ChromeLayer.h"
#include "HeaderBranding.h"

#include "media/images/LatestPoolTask.h"

#include <QPointer>
#include <QString>

#include <functional>
#include <optional>

class CapsuleButton;
class CapsuleLabel;
class L10n;
class SymbolButton;

/// The bar along the top of the station view: history back and forward, the
/// current station's name, the tour's branding, the information button and
/// the close button. A layer meant to fill the station view; the bar sits at
/// its top. Knows nothing of the visit: state comes in through setInputs()
/// and setBranding(), presses go out through the callbacks.
class HeaderBar final : public ChromeLayer
{
public:
    struct Inputs
    {
        bool canGoBack = false;
        bool canGoForward = false;
        std::optional<QString> stationName; // the base name; none shows "—"

        bool operator==(const Inputs &) const = default;
    };

    explicit HeaderBar(L10n &l10n, QWidget *parent = nullptr);

    void setInputs(const Inputs &inputs);
    /// Once per tour: the logo shows once decodeHeaderLogo() has decoded it
    /// on the image cache's pool.
    void setBranding(const HeaderBranding &branding);
    /// Whether the logo last set is still being decoded.
    bool isDecodingLogo() const { return m_logoDecode.isRunning(); }

    std::function<void()> onNavigateBack;
    std::function<void()> onNavigateForward;
    std::function<void()> onTogglePropertyInfo;
    std::function<void()> onClose;

private:
    void retranslate();

    QPointer<L10n> m_l10n;
    Inputs m_inputs;
    LatestPoolTask<QImage> m_logoDecode{*this};
    SymbolButton *m_back;
    SymbolButton *m_forward;
    CapsuleLabel *m_stationName;
    CapsuleLabel *m_branding;
    CapsuleButton *m_info;
    SymbolButton *m_close;
};

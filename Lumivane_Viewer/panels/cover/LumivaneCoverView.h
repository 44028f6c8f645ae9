#pragma once

#include "CoverRules.h"

#include "model/LumivaneProject.h"

#include <QList>
#include <QPointer>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class CoverActionButtons;
class CoverBackground;
class CoverFactChip;
class CoverLinkButton;
class CoverLogo;
class CoverMapView;
class L10n;
class LumivaneImageCache;
class QLabel;
class QScrollArea;
class QVBoxLayout;
class WrappingText;

/// The services the cover works with; none is owned. The language service
/// must outlive the cover.
struct CoverServices
{
    L10n &l10n;
    /// The store the panorama and the classic background read the photo through.
    std::shared_ptr<LumivaneImageCache> imageCache;
    /// Every hand-off of a contact link to the desktop.
    std::function<bool(const QUrl &)> openExternal;
};

/// The tour's title page: over a background made from the start station's
/// photo, a scrolling column with the agency's logo, name and contact links,
/// the tour's name and address, a line of facts, a description, the start
/// button, an optional contact button, a location map card when the tour has
/// coordinates, and a footer with the brand mark. It changes no tour state:
/// it reports the visitor's two choices through onLaunchTour and
/// onOpenContact and hands contact links to openExternal. Texts follow the
/// language as it changes.
class LumivaneCoverView final : public QWidget
{
public:
    /// What the owner gives, and gives again to rebuild.
    struct Inputs
    {
        LumivaneProject project;
        /// The start station's photo; none without stations or photo.
        std::optional<QUrl> coverPhotoURL;
        std::function<void()> onLaunchTour;
        /// Empty: the cover shows no contact button.
        std::function<void()> onOpenContact;
    };

    LumivaneCoverView(Inputs inputs, CoverServices services, QWidget *parent = nullptr);

    /// Rebuilds from new inputs. The logo is decoded again only when its
    /// bytes change, the background keeps turning unless its photo or kind
    /// changes, and the map keeps the visitor's view unless the place does.
    void setInputs(Inputs inputs);
    const Inputs &inputs() const { return m_inputs; }

    CoverBackground *background() const { return m_background; }
    /// The location map card; null when the tour has no coordinates.
    CoverMapView *mapCard() const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QWidget *buildColumn();
    QWidget *buildHeader(QWidget *parent);
    QWidget *buildTitleBlock(QWidget *parent);
    QWidget *buildFacts(QWidget *parent);
    QWidget *buildDescription(QWidget *parent);
    QWidget *buildFooter(QWidget *parent);
    void applyInputs();
    void applyLinks();
    void applyMap();
    void retranslate();
    CoverLinkButton *linkButton(CoverContactLink::Kind kind) const;
    void openLink(CoverContactLink::Kind kind) const;

    Inputs m_inputs;
    QPointer<L10n> m_l10n;
    std::shared_ptr<LumivaneImageCache> m_imageCache;
    std::function<bool(const QUrl &)> m_openExternal;

    CoverBackground *m_background;
    QScrollArea *m_scroll;
    CoverLogo *m_logo = nullptr;
    QLabel *m_agency = nullptr;
    QWidget *m_linksRow = nullptr;
    CoverLinkButton *m_emailLink = nullptr;
    CoverLinkButton *m_websiteLink = nullptr;
    CoverLinkButton *m_phoneLink = nullptr;
    QList<CoverContactLink> m_contactLinks;
    WrappingText *m_name = nullptr;
    QLabel *m_address = nullptr;
    CoverFactChip *m_categoryChip = nullptr;
    CoverFactChip *m_stationsChip = nullptr;
    CoverFactChip *m_areaChip = nullptr;
    QWidget *m_descriptionBox = nullptr;
    QLabel *m_description = nullptr;
    CoverActionButtons *m_actions = nullptr;
    QWidget *m_mapSlot = nullptr;
    QPointer<CoverMapView> m_map;
    QLabel *m_footer = nullptr;
};

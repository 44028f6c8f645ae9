#pragma once

#include "model/LumivaneProject.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class InfoGroupsBody;
class L10n;
class QLabel;
class QScrollArea;
class SymbolButton;

/// The property information panel: a dimming backdrop over the window and,
/// along the trailing edge, a full-height column of fixed width that lists the
/// project's facts by group. It holds no state beyond the project it was given
/// and never closes itself: its close button and a click on the backdrop
/// report through onClose. Fills whatever it is given below its top inset
/// (the viewer keeps it window-sized, slides it in from the trailing edge
/// and leaves the band of its header above it).
class LumivaneInfoPanelView final : public QWidget
{
public:
    /// Width of the column, in logical pixels.
    static constexpr int columnWidth = 380;

    LumivaneInfoPanelView(LumivaneProject project, L10n &l10n, QWidget *parent = nullptr);

    std::function<void()> onClose;

    /// The height of the band along the top that the panel leaves to what
    /// lies under it: neither its backdrop nor its column covers it, and
    /// clicks there pass through. None at first.
    void setTopInset(int inset);
    /// The column's place in the view: the trailing columnWidth, from the
    /// top inset down.
    QRect columnGeometry() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QWidget *buildHeader();
    void placeColumn();
    void rebuild();
    void requestClose();

    LumivaneProject m_project;
    QPointer<L10n> m_l10n;
    QWidget *m_column = nullptr;
    QLabel *m_title = nullptr;
    SymbolButton *m_close = nullptr;
    InfoGroupsBody *m_body = nullptr;
    QScrollArea *m_scroll = nullptr;
    int m_topInset = 0;
};

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
/// report through onClose. Fills whatever it is given (the viewer keeps it
/// window-sized and slides it in from the trailing edge).
class LumivaneInfoPanelView final : public QWidget
{
public:
    /// Width of the column, in logical pixels.
    static constexpr int columnWidth = 380;

    LumivaneInfoPanelView(LumivaneProject project, L10n &l10n, QWidget *parent = nullptr);

    std::function<void()> onClose;

    /// The column's place in the view: the trailing columnWidth, full height.
    QRect columnGeometry() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QWidget *buildHeader();
    void rebuild();
    void requestClose();

    LumivaneProject m_project;
    QPointer<L10n> m_l10n;
    QWidget *m_column = nullptr;
    QLabel *m_title = nullptr;
    SymbolButton *m_close = nullptr;
    InfoGroupsBody *m_body = nullptr;
    QScrollArea *m_scroll = nullptr;
};

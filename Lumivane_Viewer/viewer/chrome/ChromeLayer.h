#pragma once

#include <QWidget>

#include <functional>

/// The width the headers leave free at their leading end, where the sheet
/// lays the language picker over every face, and the gap after it.
inline constexpr int kLanguagePickerCorner = 60 + 12;

/// A transparent layer of the station view that holds a few controls over
/// what lies below: only its visible children take the mouse, so drags and
/// clicks in its empty parts reach the panorama underneath. Meant to fill the
/// station view; each layer places its own children.
class ChromeLayer : public QWidget
{
public:
    explicit ChromeLayer(QWidget *parent = nullptr);

    /// Where its shown controls lie, in its own coordinates; empty when none is shown.
    QRect controlsArea() const;
    /// Runs after a control moved, resized, showed or hid.
    std::function<void()> onControlsMoved;

protected:
    void childEvent(QChildEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void updateMouseArea();
};

#pragma once

#include <QWidget>

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

protected:
    void childEvent(QChildEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void updateMouseArea();
};

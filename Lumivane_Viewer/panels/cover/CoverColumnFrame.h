#pragma once

#include <QPointer>
#include <QWidget>

/// The scrolling content of the cover: it centres its one column, at most
/// 720 points wide and at least 32 points from either edge, and is as tall as
/// the column needs at that width, or as its scroll area when that is taller
/// (so the column's spacers can grow).
class CoverColumnFrame final : public QWidget
{
public:
    static constexpr int maxColumnWidth = 720;
    static constexpr int sidePadding = 32;

    /// Takes `column` as its child.
    explicit CoverColumnFrame(QWidget *column, QWidget *parent = nullptr);

    static int columnWidth(int frameWidth);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeColumn();

    QPointer<QWidget> m_column;
};

#pragma once

#include "LumivaneInfoGroup.h"

#include <QColor>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QWidget>

#include <memory>
#include <vector>

class QTextLayout;

/// The scrolling body of the information panel: titled sections of icon,
/// label and value rows, or a single empty-state text. Texts are laid out once
/// per width and painted; its height follows its width.
class InfoGroupsBody final : public QWidget
{
public:
    explicit InfoGroupsBody(QWidget *parent = nullptr);
    ~InfoGroupsBody() override;

    void setContent(QList<LumivaneInfoGroup> groups, QString emptyText);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

    /// Where each row lies, for the current width (tests and hit checks).
    QList<QRectF> rowRects() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct PlacedText
    {
        std::unique_ptr<QTextLayout> layout;
        QPointF origin;
        QColor color;
    };
    struct Layout
    {
        int width = -1;
        int height = 0;
        std::vector<PlacedText> texts;
        QList<QRectF> rows;
    };

    const Layout &layoutFor(int width) const;
    void layOut(Layout &layout) const;
    double layOutGroup(Layout &layout, const LumivaneInfoGroup &group, double top) const;
    double layOutRow(Layout &layout, const LumivaneInfoItem &item, double top) const;

    QList<LumivaneInfoGroup> m_groups;
    QString m_emptyText;
    mutable Layout m_layout; // for the last width asked
};

#pragma once

#include "LumivaneInfoGroup.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QWidget>

#include <memory>
#include <vector>

class QPainter;
class QTextLayout;

/// The scrolling body of the information panel: titled sections of icon,
/// label and value rows, or a single empty-state text, painted from text
/// layouts shaped once per content and broken into lines once per width. Its
/// height follows its width. Assistive technology reads the groups it was
/// given (installInfoGroupsAccessibility).
class InfoGroupsBody final : public QWidget
{
public:
    explicit InfoGroupsBody(QWidget *parent = nullptr);
    ~InfoGroupsBody() override;

    /// `rowReading` is how assistive technology reads a row: a format whose
    /// two "%@" take its label and its value.
    void setContent(const QList<LumivaneInfoGroup> &groups, const QString &emptyText, const QString &rowReading);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

    /// Where each row lies at the current width.
    QList<QRectF> rowRects() const;
    /// Where each group's title lies at the current width.
    QList<QRectF> titleRects() const;
    /// What setContent() was given, each text cut as it is shown.
    const QList<LumivaneInfoGroup> &groups() const { return m_groups; }
    const QString &emptyText() const { return m_emptyText; }
    const QString &rowReading() const { return m_rowReading; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // One text of the body. Most fit their width on one line and are drawn
    // directly; the others are broken into lines by a text layout.
    struct Text
    {
        QString content;
        QFont font;
        Qt::Alignment alignment;
        QColor color;
        double naturalWidth = 0;
        std::unique_ptr<QTextLayout> wrapped; // only while the text needs more than one line
        QPointF origin;
        double width = 0;
        double height = 0;

        void prepare(const QString &text, const QFont &textFont, Qt::Alignment textAlignment,
                     const QColor &textColor);
        void flow(double availableWidth);
        void draw(QPainter &painter) const;
    };
    struct Row
    {
        Text icon;
        Text label;
        Text value;
        QRectF rect;
    };
    struct Section
    {
        Text title;
        std::vector<Row> rows;
    };

    void flowTo(int width) const;
    double flowSection(Section &section, double top, double contentWidth) const;
    double flowRow(Row &row, double top, double contentWidth) const;

    // Laid out lazily for the width last asked; the layouts themselves are
    // the widget's content, hence mutable.
    QList<LumivaneInfoGroup> m_groups;
    QString m_emptyText;
    QString m_rowReading;
    mutable std::vector<Section> m_sections;
    mutable Text m_empty;
    mutable int m_flowWidth = -1;
    mutable int m_height = 0;
};

#pragma once

#include <QString>
#include <QWidget>

/// One fact of the cover's facts line: a short text in white 0.85 on a white
/// 0.1 capsule.
class CoverFactChip final : public QWidget
{
public:
    explicit CoverFactChip(QWidget *parent = nullptr);

    void setText(const QString &text);
    QString text() const { return m_text; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
};

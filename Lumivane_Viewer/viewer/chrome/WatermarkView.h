#pragma once

#include "ShadowedText.h"

#include <QWidget>

/// The tour's watermark: a small italic serif text with a soft shadow at the
/// bottom trailing corner. A layer meant to fill the station view; it never
/// takes the mouse. Blank text shows nothing.
class WatermarkView final : public QWidget
{
public:
    explicit WatermarkView(QWidget *parent = nullptr);

    /// Spaces and tabs around the text are dropped; opacity 0 to 1 is the text's.
    void setWatermark(const QString &text, double opacity);
    bool isBlank() const { return m_text.isEmpty(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    ShadowedText m_text;
};

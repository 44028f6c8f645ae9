#pragma once

#include <QWidget>

struct LumivaneProject;

/// Stands in the window for the tour viewer: the tour's name and how many
/// stations it holds, nothing more.
class TourPlaceholderView final : public QWidget
{
public:
    explicit TourPlaceholderView(const LumivaneProject &project, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

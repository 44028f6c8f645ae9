#pragma once

#include "DesktopEffects.h"
#include "TestTours.h"
#include "l10n/L10n.h"
#include "viewer/state/ManualScheduler.h"
#include "viewer/state/ViewerController.h"

#include <QAbstractButton>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

// A started viewer controller over a tour, in English, with a station view
// of 1280 by 800 to lay the chrome into.
class ChromeFixture : public ::testing::Test
{
protected:
    ChromeFixture()
    {
        language.setCurrent(L10n::Language::english);
        stationView.resize(1280, 800);
    }

    /// The viewer just shown: on the cover, splash up.
    ViewerController &open(LumivaneProject project, ViewerTour tour = {})
    {
        tour.project = std::move(project);
        tour.projectID = tour.project.id;
        tour.photoURLResolver = [](const QUuid &) { return std::optional<QUrl>(); };
        controller = std::make_unique<ViewerController>(std::move(tour), effects, scheduler);
        controller->handleViewerAppear();
        return *controller;
    }

    /// The tour started and the splash gone.
    ViewerController &start(LumivaneProject project, ViewerTour tour = {})
    {
        open(std::move(project), std::move(tour));
        controller->startTour();
        scheduler.advance(2);
        return *controller;
    }

    /// The button of a layer whose accessible name is name.
    static QAbstractButton *buttonNamed(const QWidget &layer, const QString &name)
    {
        for (QAbstractButton *button : layer.findChildren<QAbstractButton *>())
            if (button->accessibleName() == name)
                return button;
        return nullptr;
    }

    /// A widget of the station view, filling it, shown.
    template<typename Widget>
    Widget &layer(Widget *widget)
    {
        widget->setParent(&stationView);
        widget->setGeometry(stationView.rect());
        widget->show();
        stationView.show();
        return *widget;
    }

    static void click(QAbstractButton *button)
    {
        ASSERT_TRUE(button && button->isVisibleTo(button->window()));
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    }

    L10n language{QStringList{QStringLiteral("en-US")}};
    DesktopEffects effects;
    ManualScheduler scheduler;
    std::unique_ptr<ViewerController> controller;
    QWidget stationView;
};

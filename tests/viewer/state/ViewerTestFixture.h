#pragma once

#include "RecordingEffects.h"
#include "TestTours.h"
#include "viewer/state/ManualScheduler.h"
#include "viewer/state/ViewerController.h"

#include <gtest/gtest.h>

#include <memory>

// A controller over a tour, on a manual clock, with recorded effects. Photos
// resolve for every station to "/photos/<n>.jpg" (logged as "prefetch:<n>").
class ViewerTestFixture : public ::testing::Test
{
protected:
    ViewerController &open(LumivaneProject project, ViewerTour tour = {})
    {
        tour.project = std::move(project);
        tour.projectID = tour.project.id;
        if (!tour.photoURLResolver)
            tour.photoURLResolver = [](const QUuid &id) -> std::optional<QUrl> {
                return QUrl::fromLocalFile(QStringLiteral("/photos/%1.jpg").arg(TestTours::stationNumber(id)));
            };
        controller = std::make_unique<ViewerController>(std::move(tour), effects, scheduler);
        QObject::connect(controller.get(), &ViewerController::stateChanged, controller.get(),
                         [this](ViewerAnimation animation) { animations.push_back(animation); });
        return *controller;
    }

    /// Opens the tour, shows the viewer and starts it, then forgets what that did.
    ViewerController &openStarted(LumivaneProject project, ViewerTour tour = {})
    {
        open(std::move(project), std::move(tour));
        controller->handleViewerAppear();
        controller->startTour();
        scheduler.advance(2);
        effects.log.clear();
        animations.clear();
        return *controller;
    }

    /// The station number on screen, 0 for none.
    int current() const
    {
        const auto id = controller->state().currentStationID;
        return id ? TestTours::stationNumber(*id) : 0;
    }

    QList<int> history() const
    {
        QList<int> numbers;
        for (const QUuid &id : controller->state().navHistory)
            numbers << TestTours::stationNumber(id);
        return numbers;
    }

    void go(int station) { controller->goToStation(TestTours::stationID(station)); }

    RecordingEffects effects;
    ManualScheduler scheduler;
    std::unique_ptr<ViewerController> controller;
    std::vector<ViewerAnimation> animations;
};

#pragma once

#include "viewer/state/ViewerController.h"

/// Runs apply now and after every change of the controller's state, for as
/// long as the widget lives.
template<typename Apply>
void followState(QObject &widget, ViewerController &controller, Apply apply)
{
    apply();
    QObject::connect(&controller, &ViewerController::stateChanged, &widget,
                     [apply](ViewerAnimation) mutable { apply(); });
}

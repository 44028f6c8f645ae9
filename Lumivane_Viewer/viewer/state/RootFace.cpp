#include "viewer/state/RootFace.h"

RootFace rootFace(const LumivaneProject &project, const ViewerState &state)
{
    if (project.tourPassword && !project.tourPassword->isEmpty() && !state.unlockedTour)
        return RootFace::gate;
    return state.hasLaunchedTour ? RootFace::stations : RootFace::cover;
}

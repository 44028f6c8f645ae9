#pragma once

#include "model/LumivaneProject.h"
#include "viewer/state/ViewerState.h"

/// Which of the three faces of a tour the viewer shows.
enum class RootFace { gate, stations, cover };

/// The password gate while the tour has a non-empty password not yet entered
/// (a password of spaces counts), else the stations once the tour has been
/// started, else the cover.
RootFace rootFace(const LumivaneProject &project, const ViewerState &state);

#pragma once

#include <QLatin1StringView>

// Names of the in-process notifications on which the viewer toggles its
// immersive and VR modes. Nothing in the application posts them.
inline constexpr QLatin1StringView lumivaneToggleImmersion("lumivaneToggleImmersion");
inline constexpr QLatin1StringView lumivaneToggleVR("lumivaneToggleVR");

#pragma once

/// Chooses the GStreamer multimedia backend before the first multimedia object
/// exists. Must run before the QApplication is created.
void pinMediaBackend();

#pragma once

#include <Qt>

/// The hover cursors a view may ask for.
enum class LumivaneCursorKind { grab, grabbing, link, zoom, crosshair };

/// The system cursor of a kind: open hand, closed hand, pointing hand, and
/// the crosshair for both zoom and crosshair.
Qt::CursorShape cursor(LumivaneCursorKind kind);

/// Hovering pushes the kind's cursor on the application's cursor stack (the
/// override cursor); leaving pops the top one, whatever was pushed. A view
/// calls it on entering and on leaving, so each push has its pop. GUI thread.
void setHoverCursor(bool hovering, LumivaneCursorKind kind);

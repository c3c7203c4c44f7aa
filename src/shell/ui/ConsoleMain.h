#pragma once

namespace zorneta {

// Runs what the program does without a display, on a core application only
// (no window system is touched): the help text, the version, where the
// installation is, a mistake in the arguments, the headless recorder, and a
// recording exported; a report is painted on a GUI application on the
// offscreen platform. Returns the exit status.
int runWithoutDisplay(int &argc, char **argv);

// Whether the window system the program would start on can be reached, told
// from the environment alone, before any application object exists (Qt
// aborts when its platform cannot connect): xcb needs DISPLAY, Wayland its
// socket, the default platform either; other platforms (offscreen, vnc,
// eglfs...) count as reachable.
bool displayReachable();

// The one line printed, and the status returned, when no display is reachable.
extern const char NoDisplayText[];
constexpr int NoDisplayStatus = 1;

} // namespace zorneta

#pragma once

namespace zorneta {

// Runs what the program does without a display, on a core application only
// (no window system is touched): the help text, the version, where the
// installation is, a mistake in the arguments, the headless recorder, and a
// recording exported; a report is painted on a GUI application on the
// offscreen platform. Returns the exit status.
int runWithoutDisplay(int &argc, char **argv);

} // namespace zorneta

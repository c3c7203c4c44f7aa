#pragma once

namespace zorneta {

// Runs what the program does without a display, on a core application only
// (no window system is touched): the help text, the version, where the
// installation is, a mistake in the arguments, and the headless recorder. Returns the exit status.
int runWithoutDisplay(int &argc, char **argv);

} // namespace zorneta

#pragma once

#include "platform/Status.h"

#include <QRect>

class QWidget;

namespace zorneta {

class SettingsStore;

// Keeps the program's windows on the screen, and the main window's place
// between runs.
namespace WindowPlacement {

// `wanted` shrunk to fit `area` and moved into it, as little as it takes.
QRect fitted(const QRect &wanted, const QRect &area);

// From now on every window and dialog the program shows is fitted, frame
// and all, into the available area of its screen (outside panels and docks)
// each time it appears. Installs itself once per application.
void keepWindowsOnScreen();

// Fits one window, frame and all, into the available area of its screen.
void fitOnScreen(QWidget &window);

// The main window's place is kept in the settings file of the preferences,
// in a section of its own: application "Зорнета", section "Window", keys
// Left, Top, Width, Height (pixels of the inner area, as decimal text).
// restore() takes a stored place, fitted into the screen it lies on (or
// the primary one); without a whole stored place the window stays as it is.
void restore(QWidget &window, const SettingsStore &store);
Status save(const QWidget &window, SettingsStore &store);

} // namespace WindowPlacement

} // namespace zorneta

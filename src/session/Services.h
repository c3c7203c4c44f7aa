#pragma once

namespace zorneta {

class Beeper;
class ChartSurface;
class Clock;
class InstallInfo;
class Launcher;
class MainView;
class Prompts;
class SerialPort;
class SettingsStore;

// The platform parts a command may use, handed to every logic class.
struct Services {
    SerialPort &port;
    ChartSurface &chart;
    Prompts &prompts;
    SettingsStore &settings;
    Clock &clock;
    Beeper &beeper;
    InstallInfo &install;
    Launcher &launcher;
    MainView &view;
};

// The application title: message boxes without a title of their own, and the
// settings store's application name.
inline const char16_t *const AppTitle = u"Зорнета";

} // namespace zorneta

#pragma once

#include "shell/TerminalLogic.h"
#include "support/Doubles.h"
#include "support/ScriptedSerialPort.h"
#include "support/ViewDoubles.h"

#include <memory>

namespace zorneta::testing {

// The main window's logic on scripted doubles of every platform part.
struct LogicRig {
    ScriptedSerialPort port;
    RecordingChart chart;
    ScriptedPrompts prompts;
    MemorySettingsStore settings;
    FakeClock clock;
    CountingBeeper beeper;
    FixedInstallInfo install;
    RecordingLauncher launcher;
    MemoryMainView view;
    std::unique_ptr<TerminalLogic> logic;

    enum Mode { Loaded, NotLoaded, DoublesOnly };

    // Loaded: the logic ran the window's load. NotLoaded: the logic exists
    // but has not loaded. DoublesOnly: no logic, for tests that build their
    // own around some real parts and these doubles.
    explicit LogicRig(Mode mode = Loaded) {
        if (mode == DoublesOnly)
            return;
        logic = std::make_unique<TerminalLogic>(
            Services{port, chart, prompts, settings, clock, beeper, install, launcher, view});
        if (mode == Loaded)
            logic->load();
    }

    SessionState &state() { return logic->state(); }

    // Opens the port through the toggle (no session question expected).
    void open() { logic->portControl().togglePort(); }

    // One group on the line, delivered as a data event.
    void group(const QByteArray &bytes) { port.receive(bytes); }
    void reading(int value) { port.receive(QByteArray::number(value).rightJustified(4, '0') + "\r\n"); }
};

} // namespace zorneta::testing

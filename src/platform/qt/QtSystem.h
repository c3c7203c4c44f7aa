#pragma once

// Qt implementations of the small platform services: clock, beeper,
// installation lookup and document launcher.

#include "platform/Beeper.h"
#include "platform/Clock.h"
#include "platform/InstallInfo.h"
#include "platform/Launcher.h"

namespace zorneta {

class SystemClock : public Clock {
public:
    QDateTime now() const override;
};

class QtBeeper : public Beeper {
public:
    void Beep() override;
};

// The installation directory: the folder of the program's data beside the
// installed executable ("../share/zorneta/" from its folder); for a program
// run from the build tree, the source tree's copy of that data. Nothing when
// neither is there. ZORNETA_INSTALL_DIR overrides both.
class QtInstallInfo : public InstallInfo {
public:
    std::optional<QString> installationDirectory() const override;
};

class QtLauncher : public Launcher {
public:
    Status openDocument(const QString &path) override;
    // Without a help window of the program's own: the desktop's viewer.
    Status showHelpContents(const QString &path) override;
};

} // namespace zorneta

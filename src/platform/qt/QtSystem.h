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

// The installation directory: the folder of shared program files next to the
// executable ("../share/zorneta/" from its folder) when present, else the
// executable's own folder. ZORNETA_INSTALL_DIR overrides both.
class QtInstallInfo : public InstallInfo {
public:
    std::optional<QString> installationDirectory() const override;
};

class QtLauncher : public Launcher {
public:
    Status openDocument(const QString &path) override;
};

} // namespace zorneta

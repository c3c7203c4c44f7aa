#pragma once

#include "platform/Status.h"

#include <QString>

namespace zorneta {

// Opens a file in the program the desktop associates with it (a browser for
// HTML, a viewer for help), without waiting for it.
class Launcher {
public:
    virtual ~Launcher() = default;
    virtual Status openDocument(const QString &path) = 0;
    // Shows a help file with its table of contents, without waiting.
    virtual Status showHelpContents(const QString &path) = 0;
};

} // namespace zorneta

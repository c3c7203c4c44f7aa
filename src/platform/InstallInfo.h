#pragma once

#include <QString>

#include <optional>

namespace zorneta {

// Where the installed program keeps its files (help file, price list).
class InstallInfo {
public:
    virtual ~InstallInfo() = default;
    // The installation directory, ending with a path separator, or nothing
    // when the installation cannot be found.
    virtual std::optional<QString> installationDirectory() const = 0;
};

} // namespace zorneta

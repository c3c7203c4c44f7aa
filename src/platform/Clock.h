#pragma once

#include <QDateTime>

namespace zorneta {

// The current date and time.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

} // namespace zorneta

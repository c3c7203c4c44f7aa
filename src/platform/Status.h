#pragma once

#include <QString>

namespace zorneta {

// Outcome of a platform operation. A failure carries the platform's own error
// description, which callers show to the user as it stands.
class [[nodiscard]] Status {
public:
    static Status ok() { return Status(); }
    static Status failure(QString description) { return Status(std::move(description)); }

    bool isOk() const { return !m_failed; }
    explicit operator bool() const { return !m_failed; }
    const QString &description() const { return m_description; }

private:
    Status() = default;
    explicit Status(QString description) : m_failed(true), m_description(std::move(description)) {}

    bool m_failed = false;
    QString m_description;
};

} // namespace zorneta

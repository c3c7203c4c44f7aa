#pragma once

#include <QString>

namespace zorneta {

// Outcome of reading a recording or writing what is made of it. A failure
// carries the Russian message the user reads, as it stands.
class [[nodiscard]] ReviewStatus {
public:
    static ReviewStatus ok() { return ReviewStatus(); }
    static ReviewStatus failure(QString message) { return ReviewStatus(std::move(message)); }

    bool isOk() const { return !m_failed; }
    explicit operator bool() const { return !m_failed; }
    const QString &message() const { return m_message; }

private:
    ReviewStatus() = default;
    explicit ReviewStatus(QString message) : m_failed(true), m_message(std::move(message)) {}

    bool m_failed = false;
    QString m_message;
};

} // namespace zorneta

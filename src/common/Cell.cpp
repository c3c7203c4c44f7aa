#include "common/Cell.h"

#include "common/Formats.h"

namespace zorneta {

QString Cell::toText() const {
    switch (m_kind) {
    case Kind::Number:
        return numberText(m_number);
    case Kind::Text:
        return m_text;
    case Kind::Empty:
        break;
    }
    return QString();
}

bool Cell::operator==(const Cell &other) const {
    if (m_kind != other.m_kind)
        return false;
    switch (m_kind) {
    case Kind::Number:
        return m_number == other.m_number;
    case Kind::Text:
        return m_text == other.m_text;
    case Kind::Empty:
        break;
    }
    return true;
}

} // namespace zorneta

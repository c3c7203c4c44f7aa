#pragma once

#include <QString>

namespace zorneta {

// One cell of a table of readings: nothing, a number or a text.
class Cell {
public:
    enum class Kind : unsigned char { Empty, Number, Text };

    Cell() = default;
    static Cell number(double value) {
        Cell c;
        c.m_kind = Kind::Number;
        c.m_number = value;
        return c;
    }
    static Cell text(QString value) {
        Cell c;
        c.m_kind = Kind::Text;
        c.m_text = std::move(value);
        return c;
    }

    Kind kind() const { return m_kind; }
    bool isEmpty() const { return m_kind == Kind::Empty; }
    bool isNumber() const { return m_kind == Kind::Number; }
    bool isText() const { return m_kind == Kind::Text; }

    // The number held, or 0 for a text or an empty cell.
    double toNumber() const { return m_kind == Kind::Number ? m_number : 0.0; }
    // The text held, a number as its shortest decimal text, or "" when empty.
    QString toText() const;

    bool operator==(const Cell &other) const;

private:
    Kind m_kind = Kind::Empty;
    double m_number = 0.0;
    QString m_text;
};

} // namespace zorneta

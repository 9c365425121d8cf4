#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

// A field value or bookmark as the record store hands it out: null, text (UTF-8) or an integer.
class COleVariant {
public:
    COleVariant() = default;
    explicit COleVariant(std::string text) : m_value(std::move(text)) {}
    explicit COleVariant(std::int64_t number) : m_value(number) {}

    bool IsNull() const { return std::holds_alternative<std::monostate>(m_value); }
    bool IsText() const { return std::holds_alternative<std::string>(m_value); }
    bool IsInteger() const { return std::holds_alternative<std::int64_t>(m_value); }

    // Text as stored; an integer as its decimal digits; null as the empty text.
    std::string GetString() const;
    // The integer, or nullopt when the value is not an integer.
    std::optional<std::int64_t> GetInteger() const;

    bool operator==(const COleVariant&) const = default;

private:
    std::variant<std::monostate, std::string, std::int64_t> m_value;
};

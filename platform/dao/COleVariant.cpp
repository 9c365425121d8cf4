#include "COleVariant.h"

std::string COleVariant::GetString() const {
    if (const auto* text = std::get_if<std::string>(&m_value)) {
        return *text;
    }
    if (const auto* number = std::get_if<std::int64_t>(&m_value)) {
        return std::to_string(*number);
    }
    return {};
}

std::optional<std::int64_t> COleVariant::GetInteger() const {
    if (const auto* number = std::get_if<std::int64_t>(&m_value)) {
        return *number;
    }
    return std::nullopt;
}

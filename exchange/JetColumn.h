#pragma once

#include <QString>
#include <vector>

// The column types of a Jet table, by the numbers the file stores.
enum class JetType : int {
    Boolean = 0x01,
    Byte = 0x02,
    Integer = 0x03,
    Long = 0x04,
    Money = 0x05,
    Float = 0x06,
    Double = 0x07,
    DateTime = 0x08,
    Binary = 0x09,
    Text = 0x0a,
    Ole = 0x0b,
    Memo = 0x0c,
    Guid = 0x0f,
    Decimal = 0x10,
    Complex = 0x12,
};

struct JetColumn {
    QString name;
    JetType type;

    bool IsText() const { return type == JetType::Text || type == JetType::Memo; }
    bool IsWholeNumber() const {
        return type == JetType::Byte || type == JetType::Integer || type == JetType::Long;
    }
    // Whether its values have a text form: binary data, pictures and attachments have none.
    bool HasText() const {
        switch (type) {
            case JetType::Binary:
            case JetType::Ole:
            case JetType::Complex:
                return false;
            default:
                return (type >= JetType::Boolean && type <= JetType::Text) ||
                       type == JetType::Memo || type == JetType::Guid || type == JetType::Decimal;
        }
    }
};

// One table of a Jet file: its columns in their order, the column of its primary key when that
// key has exactly one column, and the page of its definition.
struct JetTableInfo {
    QString name;
    std::vector<JetColumn> columns;
    int primaryKey = -1;
    unsigned long definitionPage = 0;
};

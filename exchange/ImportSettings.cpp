#include "ImportSettings.h"

#include <array>

namespace {

struct TargetNames {
    ColumnTarget target;
    const char* shown;
    std::array<const char*, 3> typed;  // further names a user may type, lower case
};

constexpr std::array kTargets{
    TargetNames{ColumnTarget::Issue, "Zeitschriftennummer", {"nummer", "heft", nullptr}},
    TargetNames{ColumnTarget::Magazine, "Zeitschriftenname", {"zeitschrift", nullptr, nullptr}},
    TargetNames{ColumnTarget::Article, "Artikelname", {"artikel", "titel", nullptr}},
    TargetNames{ColumnTarget::Page, "Seite", {nullptr, nullptr, nullptr}},
    TargetNames{ColumnTarget::Year, "Jahr (an die Nummer angehängt)", {"jahr", nullptr, nullptr}},
    TargetNames{ColumnTarget::None, "nicht übernehmen", {"-", "keine", nullptr}},
};

}  // namespace

QString TargetName(ColumnTarget target) {
    for (const TargetNames& names : kTargets) {
        if (names.target == target) {
            return QString::fromUtf8(names.shown);
        }
    }
    return {};
}

std::optional<ColumnTarget> TargetOfName(const QString& name) {
    const QString wanted = name.trimmed().toCaseFolded();
    for (const TargetNames& names : kTargets) {
        if (wanted == QString::fromUtf8(names.shown).toCaseFolded()) {
            return names.target;
        }
        for (const char* typed : names.typed) {
            if (typed && wanted == QLatin1String(typed)) {
                return names.target;
            }
        }
    }
    return std::nullopt;
}

std::optional<std::vector<ImportColumn>> ParseColumnList(const QString& list) {
    std::vector<ImportColumn> columns;
    for (const QString& part : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const qsizetype equals = part.lastIndexOf(QLatin1Char('='));
        if (equals <= 0) {
            return std::nullopt;
        }
        const std::optional<ColumnTarget> target = TargetOfName(part.sliced(equals + 1));
        if (!target) {
            return std::nullopt;
        }
        columns.push_back({part.first(equals).trimmed(), *target});
    }
    if (columns.empty()) {
        return std::nullopt;
    }
    return columns;
}

QString EncodingName(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Utf8:
            return QStringLiteral("UTF-8");
        case TextEncoding::Windows1252:
            return QStringLiteral("Windows-1252 (Westeuropa)");
        case TextEncoding::Utf16LE:
            return QStringLiteral("UTF-16 (Little Endian)");
        case TextEncoding::Utf16BE:
            return QStringLiteral("UTF-16 (Big Endian)");
    }
    return {};
}

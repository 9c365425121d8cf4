#include "JetTableChoice.h"

#include <QDir>
#include <QStringList>
#include <optional>

#include "ArticleFields.h"
#include "CsvHeader.h"
#include "TableChoiceError.h"

namespace {

const QString kCatalogueTable = QStringLiteral("Zeitschriften");

bool IsCatalogueTable(const JetTableInfo& table) {
    return table.name.compare(kCatalogueTable, Qt::CaseInsensitive) == 0;
}

// The article field a column of this name holds, by the names the CSV import knows; -1 for none
// (a year is no field of its own).
int FieldOfName(const QString& name) {
    switch (CsvHeader::KnownTarget(name).value_or(ColumnTarget::None)) {
        case ColumnTarget::Issue:
            return kIssueField;
        case ColumnTarget::Magazine:
            return kMagazineField;
        case ColumnTarget::Article:
            return kArticleField;
        case ColumnTarget::Page:
            return kPageField;
        default:
            return -1;
    }
}

// The columns named after the fields; the first column of a name counts.
std::array<int, 4> NamedFields(const JetTableInfo& table, int& named) {
    std::array<int, 4> fields{-1, -1, -1, -1};
    named = 0;
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        const int field = FieldOfName(table.columns[c].name);
        if (field >= 0 && fields[field] < 0 && table.columns[c].HasText()) {
            fields[field] = static_cast<int>(c);
            ++named;
        }
    }
    return fields;
}

QString Quoted(const QString& text) {
    return QStringLiteral("„%1“").arg(text);
}

QString TableList(const std::vector<JetTableInfo>& tables) {
    QStringList names;
    for (const JetTableInfo& table : tables) {
        names << Quoted(table.name);
    }
    return names.join(QStringLiteral(", "));
}

}  // namespace

JetTableChoice JetTableChoice::Make(const std::vector<JetTableInfo>& tables,
                                    const QString& requested, const QString& file) {
    const QString fileName = Quoted(QDir::toNativeSeparators(file));
    if (tables.empty()) {
        throw ExchangeError(QStringLiteral("%1 enthält keine Tabellen.").arg(fileName));
    }
    std::optional<std::size_t> chosen;
    for (std::size_t t = 0; t < tables.size() && !chosen; ++t) {
        if (requested.isEmpty() ? IsCatalogueTable(tables[t])
                                : tables[t].name.compare(requested, Qt::CaseInsensitive) == 0) {
            chosen = t;
        }
    }
    if (!requested.isEmpty() && !chosen) {
        throw ExchangeError(QStringLiteral("%1 enthält keine Tabelle %2. Ihre Tabellen: %3.")
                                .arg(fileName, Quoted(requested), TableList(tables)));
    }
    if (!chosen) {
        int best = 1;
        bool tie = false;
        for (std::size_t t = 0; t < tables.size(); ++t) {
            int named = 0;
            NamedFields(tables[t], named);
            if (named > best) {
                best = named;
                chosen = t;
                tie = false;
            } else if (named == best && chosen) {
                tie = true;
            }
        }
        if (tie) {
            chosen.reset();
        }
    }
    if (!chosen && tables.size() == 1) {
        chosen = 0;
    }
    if (!chosen) {
        QStringList names;
        for (const JetTableInfo& table : tables) {
            names << table.name;
        }
        throw TableChoiceError(
            QStringLiteral("%1 enthält mehrere Tabellen, und keine ist eindeutig die der Artikel: "
                           "%2. Bitte wählen Sie eine aus (auf der Kommandozeile mit --table "
                           "NAME).")
                .arg(fileName, TableList(tables)),
            names);
    }

    JetTableChoice choice;
    choice.table = *chosen;
    const JetTableInfo& table = tables[*chosen];
    const auto columns = static_cast<int>(table.columns.size());
    int mapped = 0;
    if (IsCatalogueTable(table)) {
        for (int field = 0; field < 4 && field + 1 < columns; ++field) {
            const JetColumn& column = table.columns[static_cast<std::size_t>(field + 1)];
            if (!column.HasText()) {
                throw ExchangeError(
                    QStringLiteral("In %1 enthält die Spalte %2 der Tabelle %3 keine Texte, "
                                   "sondern Binärdaten; sie kann kein Feld eines Katalogs sein.")
                        .arg(fileName, Quoted(column.name), Quoted(table.name)));
            }
            choice.fields[static_cast<std::size_t>(field)] = field + 1;
            ++mapped;
        }
    } else {
        choice.fields = NamedFields(table, mapped);
        if (mapped < 2) {
            choice.fields = {-1, -1, -1, -1};
            mapped = 0;
            for (int c = 0; c < columns && mapped < 4; ++c) {
                if (table.columns[static_cast<std::size_t>(c)].IsText()) {
                    choice.fields[static_cast<std::size_t>(mapped++)] = c;
                }
            }
        }
    }
    if (mapped == 0) {
        throw ExchangeError(
            QStringLiteral("Die Tabelle %1 in %2 hat keine Spalte mit Texten; es gibt nichts zu "
                           "übernehmen.")
                .arg(Quoted(table.name), fileName));
    }
    const int keyColumn = table.primaryKey >= 0 ? table.primaryKey : 0;
    if (table.columns[static_cast<std::size_t>(keyColumn)].IsWholeNumber()) {
        choice.key = keyColumn;
    }
    return choice;
}

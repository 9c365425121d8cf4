#include "CatalogueImport.h"

#include <AfxMessageBox.h>
#include <CDaoDatabase.h>
#include <CDaoException.h>
#include <CDaoTransaction.h>
#include <ExchangeError.h>
#include <ExchangeFormat.h>
#include <ForwardCursor.h>
#include <ResourceLookup.h>
#include <SystemDirectory.h>
#include <TableAppender.h>

#include <QDir>
#include <QFileInfo>
#include <QStringEncoder>
#include <array>
#include <filesystem>
#include <span>
#include <unordered_set>

#include "catalogue/CatalogueAddress.h"
#include "catalogue/CatalogueBuildFile.h"
#include "catalogue/CatalogueFormat.h"
#include "res/Resource.h"

namespace {

QString Native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

using Values = std::array<std::optional<std::string>, 4>;

// One text for the four fields of a record. A field without a value looks like an empty one to
// the user, so they are alike here too.
std::string RecordKey(std::span<const std::optional<std::string>> values) {
    std::string key;
    for (const std::optional<std::string>& value : values) {
        key += std::to_string(value ? value->size() : 0) + ':' + value.value_or(std::string());
    }
    return key;
}

// `text` as UTF-8 in `out`, in the memory that `out` held for the record before.
void AssignUtf8(std::optional<std::string>& out, const std::optional<QString>& text,
                QStringEncoder& utf8) {
    if (!text) {
        out.reset();
        return;
    }
    std::string& bytes = out ? *out : out.emplace();
    bytes.resize(static_cast<std::size_t>(utf8.requiredSpace(text->size())));
    bytes.resize(static_cast<std::size_t>(utf8.appendToBuffer(bytes.data(), *text) - bytes.data()));
}

// The records the catalogue holds before anything is appended.
std::unordered_set<std::string> StoredRecordKeys(CDaoDatabase& database) {
    std::unordered_set<std::string> keys;
    ForwardCursor cursor(database,
                         "SELECT Zeitschriftennummer, Zeitschriftenname, Artikelname, Seite "
                         "FROM Zeitschriften");
    Values values;
    while (cursor.MoveNext()) {
        for (int i = 0; i < 4; ++i) {
            const auto slot = static_cast<std::size_t>(i);
            values[slot] =
                cursor.IsNull(i) ? std::nullopt : std::optional<std::string>(cursor.GetText(i));
        }
        keys.insert(RecordKey(values));
    }
    return keys;
}

// Appends the reader's records to the open catalogue in one transaction.
ImportSummary AppendRecords(RecordReader& reader, CDaoDatabase& database, bool replaceAll,
                            bool keepDuplicates) {
    ImportSummary summary;
    CDaoTransaction transaction(database, true);
    if (replaceAll) {
        database.Execute("DELETE FROM Zeitschriften");
    }
    // Only what was there before counts: a file that lists a record twice keeps both.
    const bool skipStored = !replaceAll && !keepDuplicates;
    const std::unordered_set<std::string> stored =
        skipStored ? StoredRecordKeys(database) : std::unordered_set<std::string>();
    // A new catalogue keeps the keys the source gives; appended records get new ones after
    // those already there, from the catalogue's key generator.
    std::vector<std::string> columns{"Zeitschriftennummer", "Zeitschriftenname", "Artikelname",
                                     "Seite"};
    if (replaceAll) {
        columns.insert(columns.begin(), "ID");
    }
    TableAppender table(database, "Zeitschriften", columns, replaceAll);
    ImportRecord record;
    // The key, then the fields; each record's texts go into the memory of the one before.
    std::array<std::optional<std::string>, 5> row;
    const std::span<std::optional<std::string>, 4> values(row.begin() + 1, 4);
    QStringEncoder utf8(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    while (reader.Next(record)) {
        for (std::size_t i = 0; i < record.fields.size(); ++i) {
            AssignUtf8(values[i], record.fields[i], utf8);
        }
        if (skipStored && stored.contains(RecordKey(values))) {
            ++summary.duplicates;
            continue;
        }
        for (const std::optional<QString>& field : record.fields) {
            summary.longTexts += field && field->size() > kFieldLimit ? 1 : 0;
        }
        if (replaceAll) {
            row[0] =
                record.key ? std::optional<std::string>(std::to_string(*record.key)) : std::nullopt;
            table.Append(row);
        } else {
            table.Append(values);
        }
        ++summary.records;
    }
    table.Finish();
    transaction.Commit();
    summary.untaken = reader.UntakenColumns();
    return summary;
}

ImportSummary ImportInto(RecordReader& reader, const QString& catalogue, bool replaceAll,
                         bool keepDuplicates) {
    const CatalogueAddress address = CatalogueAddress::Resolve(catalogue);
    if (!address.GetError().isEmpty()) {
        throw ExchangeError(
            AfxLoadString(IDP_NO_CATALOGUE).arg(address.Shown(), address.GetError()));
    }
    CDaoDatabase database;
    try {
        database.Open(address.GetConnection());
        return AppendRecords(reader, database, replaceAll, keepDuplicates);
    } catch (CDaoException* e) {
        const QString reason = address.FailureText(*e);
        e->Delete();
        throw ExchangeError(AfxLoadString(IDP_NO_CATALOGUE).arg(address.Shown(), reason));
    }
}

// Builds the new catalogue in a file of its own beside `catalogue` and puts it in place at the end.
ImportSummary ImportIntoNewCatalogue(RecordReader& reader, const QString& source,
                                     const QString& catalogue) {
    const QString templatePath = QDir(GetSystemDirectory()).filePath(QStringLiteral("file.dat"));
    if (!QFileInfo::exists(templatePath)) {
        throw ExchangeError(AfxLoadString(IDP_TEMPLATE_MISSING).arg(Native(templatePath)));
    }
    CatalogueBuildFile building(catalogue);
    QString buildError;
    int reason = 0;
    if (!building.Create(buildError) || !CopyFileTo(templatePath, building.Path(), reason)) {
        throw ExchangeError(
            AfxLoadString(IDP_TEMPLATE_COPY_FAILED)
                .arg(Native(catalogue), reason ? AfxSystemErrorText(reason) : buildError));
    }
    const ImportSummary summary = ImportInto(reader, building.Path(), true, true);
    if (summary.records == 0) {
        throw ExchangeError(QStringLiteral("„%1“ enthält keine Datensätze; es wurde kein Katalog "
                                           "angelegt.")
                                .arg(Native(source)));
    }
    std::error_code error;
    std::filesystem::rename(building.Path().toStdString(), catalogue.toStdString(), error);
    if (error) {
        throw ExchangeError(AfxLoadString(IDP_TEMPLATE_COPY_FAILED)
                                .arg(Native(catalogue), AfxSystemErrorText(error.value())));
    }
    building.Release();
    return summary;
}

}  // namespace

ImportSummary ImportRecords(const QString& source, const QString& catalogue, ImportTarget target,
                            const ImportOptions& options) {
    // Whatever the name's extension, the catalogue would overwrite the records it is to take.
    // (Two names of which neither exists count as the same file to QFileInfo.)
    if (QFileInfo::exists(source) && QFileInfo(source) == QFileInfo(catalogue)) {
        throw ExchangeError(
            QStringLiteral("„%1“ kann nicht in sich selbst importiert werden; bitte wählen Sie für "
                           "den Katalog eine andere Datei.")
                .arg(Native(source)));
    }
    const std::unique_ptr<RecordReader> reader = OpenRecordReader(source, options.settings);
    try {
        // A server's catalogue, by its address or a link, is there already; only a file is made.
        if (CatalogueAddress::Resolve(catalogue).IsServer()) {
            return ImportInto(*reader, catalogue, target == ImportTarget::Replace,
                              options.keepDuplicates);
        }
        if (target == ImportTarget::AppendOrCreate && QFileInfo::exists(catalogue)) {
            return ImportInto(*reader, catalogue, false, options.keepDuplicates);
        }
        return ImportIntoNewCatalogue(*reader, source, catalogue);
    } catch (const ExchangeError& e) {
        // The file's name goes with a line number, so that the user knows where to look; and the
        // user learns that none of the file's records went in.
        if (e.Message().startsWith(QStringLiteral("Zeile "))) {
            throw ExchangeError(QStringLiteral("„%1“, %2 Es wurde nichts übernommen.")
                                    .arg(Native(source), e.Message()));
        }
        throw;
    }
}

void CheckImportSource(const QString& source) {
    OpenRecordReader(source);
}

QString ImportSummary::Text(const QString& catalogue) const {
    QString text =
        records == 1
            ? QStringLiteral("1 Datensatz wurde in „%1“ übernommen.").arg(Native(catalogue))
            : QStringLiteral("%1 Datensätze wurden in „%2“ übernommen.")
                  .arg(records)
                  .arg(Native(catalogue));
    if (duplicates > 0) {
        text += QLatin1Char(' ') +
                (duplicates == 1
                     ? QStringLiteral("1 Datensatz stand schon im Katalog und wurde nicht noch "
                                      "einmal übernommen.")
                     : QStringLiteral("%1 Datensätze standen schon im Katalog und wurden nicht "
                                      "noch einmal übernommen.")
                           .arg(duplicates));
    }
    if (!untaken.isEmpty()) {
        text += QLatin1Char(' ') +
                (untaken.size() == 1 ? QStringLiteral("Nicht übernommen wurde die Spalte „%1“.")
                                     : QStringLiteral("Nicht übernommen wurden die Spalten „%1“."))
                    .arg(untaken.join(QStringLiteral("“, „")));
    }
    if (longTexts > 0) {
        text += QLatin1Char(' ') +
                (longTexts == 1
                     ? QStringLiteral("1 Text ist länger als 30 Zeichen; er wurde vollständig "
                                      "übernommen.")
                     : QStringLiteral("%1 Texte sind länger als 30 Zeichen; sie wurden vollständig "
                                      "übernommen.")
                           .arg(longTexts));
    }
    return text;
}

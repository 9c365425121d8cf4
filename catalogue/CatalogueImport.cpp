#include "CatalogueImport.h"

#include <AfxMessageBox.h>
#include <CDaoDatabase.h>
#include <CDaoException.h>
#include <CDaoTransaction.h>
#include <ExchangeError.h>
#include <ExchangeFormat.h>
#include <ResourceLookup.h>
#include <SystemDirectory.h>
#include <TableAppender.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <array>
#include <filesystem>

#include "catalogue/CatalogueAddress.h"
#include "catalogue/CatalogueFormat.h"
#include "res/Resource.h"

namespace {

QString Native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Appends the reader's records to the open catalogue in one transaction.
ImportSummary AppendRecords(RecordReader& reader, CDaoDatabase& database, bool replaceAll) {
    ImportSummary summary;
    CDaoTransaction transaction(database, true);
    if (replaceAll) {
        database.Execute("DELETE FROM Zeitschriften");
    }
    TableAppender table(database, "Zeitschriften",
                        {"Zeitschriftennummer", "Zeitschriftenname", "Artikelname", "Seite"},
                        replaceAll);
    ImportRecord record;
    std::array<std::optional<std::string>, 4> values;
    while (reader.Next(record)) {
        if (std::all_of(record.fields.begin(), record.fields.end(),
                        [](const std::optional<QString>& f) { return !f || f->isEmpty(); })) {
            continue;
        }
        for (std::size_t i = 0; i < record.fields.size(); ++i) {
            const std::optional<QString>& field = record.fields[i];
            summary.longTexts += field && field->size() > kFieldLimit ? 1 : 0;
            values[i] = field ? std::optional<std::string>(field->toStdString()) : std::nullopt;
        }
        table.Append(values);
        ++summary.records;
    }
    table.Finish();
    transaction.Commit();
    return summary;
}

ImportSummary ImportInto(RecordReader& reader, const QString& catalogue, bool replaceAll) {
    const CatalogueAddress address = CatalogueAddress::Resolve(catalogue);
    if (!address.GetError().isEmpty()) {
        throw ExchangeError(
            AfxLoadString(IDP_NO_CATALOGUE).arg(Native(catalogue), address.GetError()));
    }
    CDaoDatabase database;
    try {
        database.Open(address.GetConnection());
        return AppendRecords(reader, database, replaceAll);
    } catch (CDaoException* e) {
        const QString reason = address.FailureText(*e);
        e->Delete();
        throw ExchangeError(AfxLoadString(IDP_NO_CATALOGUE).arg(Native(catalogue), reason));
    }
}

// Builds the new catalogue in a file of its own beside `catalogue` and puts it in place at the end.
ImportSummary ImportIntoNewCatalogue(RecordReader& reader, const QString& source,
                                     const QString& catalogue) {
    const QString templatePath = QDir(GetSystemDirectory()).filePath(QStringLiteral("file.dat"));
    if (!QFileInfo::exists(templatePath)) {
        throw ExchangeError(AfxLoadString(IDP_TEMPLATE_MISSING).arg(Native(templatePath)));
    }
    const QFileInfo target(catalogue);
    QTemporaryFile building(target.absoluteDir().filePath(QStringLiteral(".periolex-XXXXXX.plx")));
    int reason = 0;
    if (!building.open() || !CopyFileTo(templatePath, building.fileName(), reason)) {
        throw ExchangeError(AfxLoadString(IDP_TEMPLATE_COPY_FAILED)
                                .arg(Native(catalogue),
                                     reason ? AfxSystemErrorText(reason) : building.errorString()));
    }
    const ImportSummary summary = ImportInto(reader, building.fileName(), true);
    if (summary.records == 0) {
        throw ExchangeError(QStringLiteral("„%1“ enthält keine Datensätze; es wurde kein Katalog "
                                           "angelegt.")
                                .arg(Native(source)));
    }
    std::error_code error;
    std::filesystem::rename(building.fileName().toStdString(), catalogue.toStdString(), error);
    if (error) {
        throw ExchangeError(AfxLoadString(IDP_TEMPLATE_COPY_FAILED)
                                .arg(Native(catalogue), AfxSystemErrorText(error.value())));
    }
    building.setAutoRemove(false);
    return summary;
}

}  // namespace

ImportSummary ImportRecords(const QString& source, const QString& catalogue, ImportTarget target) {
    // Whatever the name's extension, the catalogue would overwrite the records it is to take.
    if (QFileInfo(source) == QFileInfo(catalogue)) {
        throw ExchangeError(
            QStringLiteral("„%1“ kann nicht in sich selbst importiert werden; bitte wählen Sie für "
                           "den Katalog eine andere Datei.")
                .arg(Native(source)));
    }
    const std::unique_ptr<RecordReader> reader = OpenRecordReader(source);
    try {
        // A server's catalogue, by its address or a link, is there already; only a file is made.
        if (CatalogueAddress::Resolve(catalogue).IsServer()) {
            return ImportInto(*reader, catalogue, target == ImportTarget::Replace);
        }
        if (target == ImportTarget::AppendOrCreate && QFileInfo::exists(catalogue)) {
            return ImportInto(*reader, catalogue, false);
        }
        return ImportIntoNewCatalogue(*reader, source, catalogue);
    } catch (const ExchangeError& e) {
        // The file's name goes with a line number, so that the user knows where to look.
        if (e.Message().startsWith(QStringLiteral("Zeile "))) {
            throw ExchangeError(QStringLiteral("„%1“, %2").arg(Native(source), e.Message()));
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

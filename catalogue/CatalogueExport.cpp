#include "CatalogueExport.h"

#include <AfxMessageBox.h>
#include <CDaoDatabase.h>
#include <CDaoException.h>
#include <CDaoTransaction.h>
#include <ExchangeError.h>
#include <ExchangeFormat.h>
#include <ForwardCursor.h>
#include <ResourceLookup.h>

#include <QDir>
#include <QSaveFile>
#include <array>

#include "catalogue/CatalogueAddress.h"
#include "catalogue/CatalogueFormat.h"
#include "res/Resource.h"

namespace {

// Where each article field stands among the cursor's columns. Found by name: a table whose
// columns stand in another order would otherwise be written shifted, the key among them.
std::array<int, 4> FieldColumns(const ForwardCursor& cursor, const QString& catalogue) {
    std::array<int, 4> columns{};
    for (std::size_t field = 0; field < columns.size(); ++field) {
        const QLatin1StringView wanted(kArticleFields[field]);
        columns[field] = -1;
        for (int i = 0; i < cursor.GetFieldCount() && columns[field] < 0; ++i) {
            if (wanted.compare(QString::fromStdString(cursor.GetFieldName(i)),
                               Qt::CaseInsensitive) == 0) {
                columns[field] = i;
            }
        }
        if (columns[field] < 0) {
            throw ExchangeError(AfxLoadString(IDP_NO_CATALOGUE)
                                    .arg(CatalogueAddress::Resolve(catalogue).Shown(),
                                         AfxLoadString(IDP_ARTICLE_FIELD_MISSING).arg(wanted)));
        }
    }
    return columns;
}

long WriteRecords(CDaoDatabase& database, const QString& catalogue, const std::string& sql,
                  const std::vector<std::string>& parameters, RecordWriter& writer) {
    // One look at the catalogue for the whole file. A server hands rows out in no fixed order
    // of its own; in the keys' order they come as the form shows them.
    CDaoTransaction transaction(database, false);
    ForwardCursor cursor(database, sql + " ORDER BY ID", parameters);
    const std::array<int, 4> columns = FieldColumns(cursor, catalogue);
    ArticleBytes record;
    long count = 0;
    while (cursor.MoveNext()) {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            record[i] = cursor.GetText(columns[i]);
        }
        writer.WriteUtf8(record);
        ++count;
    }
    writer.Finish();
    return count;
}

}  // namespace

long ExportRecords(const QString& catalogue, const std::string& sql,
                   const std::vector<std::string>& parameters, const QString& target) {
    QSaveFile file(target);
    // Made first, so that an unknown format is refused before anything is touched; writers
    // buffer and write nothing before the device is open.
    const std::unique_ptr<RecordWriter> writer = MakeRecordWriter(ExchangeFormatOf(target), file);
    if (!file.open(QIODevice::WriteOnly)) {
        throw ExchangeError(QStringLiteral("Die Datei „%1“ kann nicht geschrieben werden: %2")
                                .arg(QDir::toNativeSeparators(target), file.errorString()));
    }
    const CatalogueAddress address = CatalogueAddress::Resolve(catalogue);
    if (!address.GetError().isEmpty()) {
        throw ExchangeError(
            AfxLoadString(IDP_NO_CATALOGUE).arg(address.Shown(), address.GetError()));
    }
    long count = 0;
    CDaoDatabase database;
    try {
        database.Open(address.GetConnection(), false, true);
        count = WriteRecords(database, catalogue, sql, parameters, *writer);
    } catch (CDaoException* e) {
        const QString reason = address.FailureText(*e);
        e->Delete();
        throw ExchangeError(AfxLoadString(IDP_NO_CATALOGUE).arg(address.Shown(), reason));
    }
    if (!file.commit()) {
        throw ExchangeError(QStringLiteral("Die Datei „%1“ kann nicht geschrieben werden: %2")
                                .arg(QDir::toNativeSeparators(target), file.errorString()));
    }
    return count;
}

#include "CatalogueExport.h"

#include <AfxMessageBox.h>
#include <CDaoDatabase.h>
#include <CDaoException.h>
#include <ExchangeError.h>
#include <ExchangeFormat.h>
#include <ForwardCursor.h>
#include <ResourceLookup.h>

#include <QDir>
#include <QSaveFile>

#include "res/Resource.h"

namespace {

long WriteRecords(CDaoDatabase& database, const QString& sql, RecordWriter& writer) {
    ForwardCursor cursor(database, sql.toStdString());
    ArticleFields record;
    long count = 0;
    while (cursor.MoveNext()) {
        // Field 0 is the key, which a catalogue never shows.
        for (int i = 0; i < 4; ++i) {
            const std::string_view text = cursor.GetText(i + 1);
            record[i] = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        }
        writer.Write(record);
        ++count;
    }
    writer.Finish();
    return count;
}

}  // namespace

long ExportRecords(const QString& catalogue, const QString& sql, const QString& target) {
    QSaveFile file(target);
    // Made first, so that an unknown format is refused before anything is touched; writers
    // buffer and write nothing before the device is open.
    const std::unique_ptr<RecordWriter> writer = MakeRecordWriter(ExchangeFormatOf(target), file);
    if (!file.open(QIODevice::WriteOnly)) {
        throw ExchangeError(QStringLiteral("Die Datei „%1“ kann nicht geschrieben werden: %2")
                                .arg(QDir::toNativeSeparators(target), file.errorString()));
    }
    long count = 0;
    CDaoDatabase database;
    try {
        database.Open(catalogue.toStdString(), false, true);
        count = WriteRecords(database, sql, *writer);
    } catch (CDaoException* e) {
        const QString reason = AfxDaoErrorText(*e);
        e->Delete();
        throw ExchangeError(
            AfxLoadString(IDP_NO_CATALOGUE).arg(QDir::toNativeSeparators(catalogue), reason));
    }
    if (!file.commit()) {
        throw ExchangeError(QStringLiteral("Die Datei „%1“ kann nicht geschrieben werden: %2")
                                .arg(QDir::toNativeSeparators(target), file.errorString()));
    }
    return count;
}

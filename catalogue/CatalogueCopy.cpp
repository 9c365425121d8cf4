#include "CatalogueCopy.h"

#include <AfxMessageBox.h>
#include <CDaoDatabase.h>
#include <CDaoException.h>
#include <CDaoTransaction.h>
#include <DaoErrorCode.h>
#include <ExchangeError.h>
#include <ForwardCursor.h>
#include <JetReader.h>
#include <PgConnection.h>
#include <PgCopyIn.h>
#include <PgCursor.h>
#include <ResourceLookup.h>
#include <TableAppender.h>

#include <CatalogueSchema.h>
#include <ServerCatalogueSchema.h>
#include <QFile>
#include <QFileInfo>
#include <array>
#include <optional>
#include <utility>
#include <vector>

#include "catalogue/CatalogueLink.h"
#include "catalogue/OldCatalogue.h"
#include "res/Resource.h"

namespace {

const std::vector<std::string> kColumns{"ID", "Zeitschriftennummer", "Zeitschriftenname",
                                        "Artikelname", "Seite"};
constexpr const char* kCount = "SELECT count(*) FROM Zeitschriften";
constexpr const char* kRecordsByKey =
    "SELECT ID, Zeitschriftennummer, Zeitschriftenname, Artikelname, Seite"
    " FROM Zeitschriften ORDER BY ID";
constexpr long kProgressStep = 5000;

// A record with its key, NULL kept apart from the empty text.
using Record = std::array<std::optional<std::string>, 5>;

// A link stands for the server it names.
std::string Resolve(const QString& path) {
    const CatalogueLink link = CatalogueLink::Read(path);
    return (link.GetKind() == CatalogueLink::Kind::Server ? link.GetConnection() : path)
        .toStdString();
}

// Takes the records from the source to the target's writer and tells the progress.
class Delivery {
public:
    Delivery(std::function<void(const Record&)> write, const CatalogueCopy::Progress& progress)
        : m_write(std::move(write)), m_progress(progress) {}

    void SetTotal(std::string_view total) { m_nTotal = std::stol(std::string(total)); }
    void Take(const Record& record) {
        m_write(record);
        if (++m_nCopied % kProgressStep == 0 && m_progress) {
            m_progress(m_nCopied, m_nTotal);
        }
    }
    long Copied() const { return m_nCopied; }

private:
    std::function<void(const Record&)> m_write;
    const CatalogueCopy::Progress& m_progress;
    long m_nTotal = 0;
    long m_nCopied = 0;
};

// A server hands the records over many at a time, all from one state of the catalogue.
void ReadServer(const std::string& source, Delivery& delivery) {
    PgConnection connection(source);
    connection.RunScript("BEGIN ISOLATION LEVEL REPEATABLE READ, READ ONLY");
    {
        PgCursor count(connection, kCount);
        count.MoveNext();
        delivery.SetTotal(count.GetValue(0).value_or("0"));
    }
    PgCursor rows(connection, kRecordsByKey);
    Record record;
    while (rows.MoveNext()) {
        for (std::size_t i = 0; i < record.size(); ++i) {
            record[i] = rows.GetValue(static_cast<int>(i));
        }
        delivery.Take(record);
    }
}

void ReadFile(const std::string& source, Delivery& delivery) {
    CDaoDatabase catalogue;
    catalogue.Open(source);
    CDaoTransaction transaction(catalogue, false);
    {
        ForwardCursor count(catalogue, kCount);
        count.MoveNext();
        delivery.SetTotal(count.GetText(0));
    }
    ForwardCursor rows(catalogue, kRecordsByKey);
    Record record;
    while (rows.MoveNext()) {
        for (std::size_t i = 0; i < record.size(); ++i) {
            const int column = static_cast<int>(i);
            record[i] = rows.IsNull(column) ? std::nullopt
                                            : std::optional<std::string>(rows.GetText(column));
        }
        delivery.Take(record);
    }
}

// An old catalogue's records come with their old numbers as keys where it has unique ones.
void ReadOldCatalogue(const QString& source, const QString& table, Delivery& delivery) {
    JetReader reader(source, table);
    delivery.SetTotal(std::to_string(reader.RecordCount()));
    ImportRecord imported;
    Record record;
    while (reader.Next(imported)) {
        record[0] =
            imported.key ? std::optional<std::string>(std::to_string(*imported.key)) : std::nullopt;
        for (std::size_t i = 0; i < imported.fields.size(); ++i) {
            record[i + 1] = imported.fields[i]
                                ? std::optional<std::string>(imported.fields[i]->toStdString())
                                : std::nullopt;
        }
        delivery.Take(record);
    }
}

void ReadRecords(const std::string& source, const QString& table, Delivery& delivery) {
    if (CDaoDatabase::IsServerPath(source)) {
        ReadServer(source, delivery);
    } else if (OldCatalogue::Recognises(QString::fromStdString(source))) {
        ReadOldCatalogue(QString::fromStdString(source), table, delivery);
    } else {
        ReadFile(source, delivery);
    }
}

// Drops the secondary indexes of the table just created and returns what rebuilds them: built
// once over all the rows they are much cheaper than kept up to date row by row.
std::vector<std::string> PutOffIndexes(PgConnection& server) {
    std::vector<std::string> definitions;
    std::vector<std::string> names;
    {
        PgCursor indexes(server,
                         "SELECT pg_get_indexdef(indexrelid), indexrelid::regclass::text"
                         " FROM pg_index WHERE indrelid = 'zeitschriften'::regclass"
                         " AND NOT indisprimary");
        while (indexes.MoveNext()) {
            definitions.emplace_back(*indexes.GetValue(0));
            names.emplace_back(*indexes.GetValue(1));
        }
    }
    for (const std::string& name : names) {
        server.RunScript("DROP INDEX " + name);
    }
    return definitions;
}

}  // namespace

CatalogueCopy::CatalogueCopy(QString source, QString target, bool overwrite)
    : m_strSource(std::move(source)), m_strTarget(std::move(target)), m_bOverwrite(overwrite) {}

long CatalogueCopy::Run(const Progress& progress) {
    if (OldCatalogue::Recognises(m_strTarget)) {
        m_strError = QStringLiteral(
                         "„%1“ ist ein Katalog des Windows-Programms; Periolex liest "
                         "ihn nur und schreibt nie hinein.")
                         .arg(m_strTarget);
        return -1;
    }
    try {
        const std::string target = Resolve(m_strTarget);
        return CDaoDatabase::IsServerPath(target)
                   ? CopyToServer(QString::fromStdString(target), progress)
                   : CopyToFile(m_strTarget, progress);
    } catch (CDaoException* e) {
        // The program's own words for a broken connection speak of a form; a copy has none.
        const bool lost = e->GetErrorCode() == DaoErrorCode::kConnectionLost ||
                          e->GetErrorCode() == DaoErrorCode::kCommitUnknown;
        m_strError = (lost ? AfxLoadString(IDP_COPY_CONNECTION_LOST) : AfxDaoErrorText(*e)) +
                     QStringLiteral(" (") + QString::fromStdString(e->GetErrorMessage()) +
                     QLatin1Char(')');
        e->Delete();
    } catch (const ExchangeError& e) {
        m_strError = e.Message();
    }
    return -1;
}

long CatalogueCopy::CopyToServer(const QString& target, const Progress& progress) {
    PgConnection server(target.toStdString());
    // Whatever throws from here on ends the connection, and the server rolls the copy back. The
    // look at the table may fail; the savepoint keeps that from ending the transaction.
    server.RunScript("BEGIN; SAVEPOINT nachsehen");
    bool hasTable = true;
    long existing = 0;
    try {
        PgCursor count(server, kCount);
        existing = count.MoveNext() ? std::stol(std::string(count.GetValue(0).value_or("0"))) : 0;
    } catch (CDaoException* e) {
        // Only a table that is not there may be made; a count that the role may not take
        // (or any other failure) ends the copy, so that nothing is added blindly.
        if (e->GetErrorCode() != DaoErrorCode::kError) {
            throw;
        }
        hasTable = false;
        e->Delete();
        server.RunScript("ROLLBACK TO SAVEPOINT nachsehen");
    }
    if (existing > 0 && !m_bOverwrite) {
        m_strError = AfxLoadString(IDP_COPY_TARGET_NOT_EMPTY).arg(m_strTarget);
        return -1;
    }
    std::vector<std::string> indexes;
    if (!hasTable) {
        server.RunScript(kServerCatalogueSchemaSql);
        indexes = PutOffIndexes(server);
    } else if (existing > 0) {
        server.RunScript("DELETE FROM Zeitschriften");
    }
    PgCopyIn rows(server, "Zeitschriften", kColumns);
    Delivery delivery([&rows](const Record& record) { rows.Append(record); }, progress);
    ReadRecords(Resolve(m_strSource), m_strSourceTable, delivery);
    rows.Finish();
    for (const std::string& index : indexes) {
        server.RunScript(index);
    }
    // Keys came along, so the key generator starts above the highest one.
    server.RunScript(
        "SELECT setval(pg_get_serial_sequence('zeitschriften', 'id'),"
        " coalesce((SELECT max(id) FROM zeitschriften), 0) + 1, false)");
    server.RunScript("COMMIT");
    return delivery.Copied();
}

long CatalogueCopy::CopyToFile(const QString& target, const Progress& progress) {
    if (QFileInfo(target).size() > 0 && !m_bOverwrite) {
        m_strError = AfxLoadString(IDP_COPY_TARGET_NOT_EMPTY).arg(target);
        return -1;
    }
    // Built beside the target and moved over it only when complete, so that a failure leaves
    // the target as it was.
    const QString building = target + QStringLiteral(".kopie");
    QFile::remove(building);
    QFile file(building);
    if (!file.open(QIODevice::WriteOnly)) {
        m_strError = file.errorString();
        return -1;
    }
    file.close();
    long copied = 0;
    try {
        CDaoDatabase catalogue;
        catalogue.Open(building.toStdString());
        CDaoTransaction transaction(catalogue, true);
        catalogue.Execute(kCatalogueSchemaSql);
        TableAppender rows(catalogue, "Zeitschriften", kColumns);
        Delivery delivery([&rows](const Record& record) { rows.Append(record); }, progress);
        ReadRecords(Resolve(m_strSource), m_strSourceTable, delivery);
        transaction.Commit();
        copied = delivery.Copied();
    } catch (...) {
        QFile::remove(building);
        throw;
    }
    QFile::remove(target);
    if (!QFile::rename(building, target)) {
        m_strError = AfxLoadString(IDP_COPY_FAILED).arg(target, QString());
        QFile::remove(building);
        return -1;
    }
    return copied;
}

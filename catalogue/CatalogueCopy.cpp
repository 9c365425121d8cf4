#include "CatalogueCopy.h"

#include <AfxMessageBox.h>
#include <CDaoDatabase.h>
#include <CDaoException.h>
#include <CDaoTransaction.h>
#include <DaoErrorCode.h>
#include <ExchangeError.h>
#include <ForwardCursor.h>
#include <JetReader.h>
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

#include "catalogue/CatalogueAddress.h"
#include "catalogue/OldCatalogue.h"
#include "res/Resource.h"

namespace {

const std::vector<std::string> kColumns{"ID", "Zeitschriftennummer", "Zeitschriftenname",
                                        "Artikelname", "Seite"};
constexpr const char* kTable = "Zeitschriften";
constexpr const char* kCount = "SELECT count(*) FROM Zeitschriften";
constexpr const char* kRecordsByKey =
    "SELECT ID, Zeitschriftennummer, Zeitschriftenname, Artikelname, Seite"
    " FROM Zeitschriften ORDER BY ID";
constexpr long kProgressStep = 5000;

// A record with its key, NULL kept apart from the empty text.
using Record = std::array<std::optional<std::string>, 5>;

long CountRecords(CDaoDatabase& catalogue) {
    ForwardCursor count(catalogue, kCount);
    count.MoveNext();
    return std::stol(std::string(count.GetText(0)));
}

// Takes every record of the catalogue, all from one state of it, into the appender, and tells
// the progress. Returns the number of records.
long CopyRecords(const CatalogueAddress& source, TableAppender& target,
                 const CatalogueCopy::Progress& progress) {
    CDaoDatabase catalogue;
    catalogue.Open(source.GetConnection(), false, true);
    CDaoTransaction transaction(catalogue, false);
    const long total = CountRecords(catalogue);
    ForwardCursor rows = ForwardCursor::Stream(catalogue, kRecordsByKey);
    Record record;
    long copied = 0;
    while (rows.MoveNext()) {
        for (std::size_t i = 0; i < record.size(); ++i) {
            const std::optional<std::string_view> value = rows.GetValue(static_cast<int>(i));
            if (value) {
                record[i].emplace(*value);
            } else {
                record[i].reset();
            }
        }
        target.Append(record);
        if (++copied % kProgressStep == 0 && progress) {
            progress(copied, total);
        }
    }
    return copied;
}

// An old catalogue's records come with their old numbers as keys where it has unique ones.
long CopyOldRecords(const QString& source, const QString& table, TableAppender& target,
                    const CatalogueCopy::Progress& progress) {
    JetReader reader(source, table);
    const long total = reader.RecordCount();
    ImportRecord imported;
    Record record;
    long copied = 0;
    while (reader.Next(imported)) {
        record[0] =
            imported.key ? std::optional<std::string>(std::to_string(*imported.key)) : std::nullopt;
        for (std::size_t i = 0; i < imported.fields.size(); ++i) {
            record[i + 1] = imported.fields[i]
                                ? std::optional<std::string>(imported.fields[i]->toStdString())
                                : std::nullopt;
        }
        target.Append(record);
        if (++copied % kProgressStep == 0 && progress) {
            progress(copied, total);
        }
    }
    return copied;
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
    const CatalogueAddress source = CatalogueAddress::Resolve(m_strSource);
    const CatalogueAddress target = CatalogueAddress::Resolve(m_strTarget);
    m_strShownTarget = target.Shown();
    m_pOpening = nullptr;
    for (const CatalogueAddress* address : {&source, &target}) {
        if (!address->GetError().isEmpty()) {
            m_strError = address->GetError();
            return -1;
        }
    }
    try {
        return target.IsServer() ? CopyToServer(source, target, progress)
                                 : CopyToFile(source, progress);
    } catch (CDaoException* e) {
        // The program's own words for a broken connection speak of a form; a copy has none.
        const bool lost = e->GetErrorCode() == DaoErrorCode::kConnectionLost ||
                          e->GetErrorCode() == DaoErrorCode::kCommitUnknown;
        if (lost) {
            m_strError = AfxLoadString(IDP_COPY_CONNECTION_LOST);
        } else {
            m_strError = m_pOpening != nullptr ? m_pOpening->FailureText(*e) : AfxDaoErrorText(*e);
        }
        m_strDetails = QString::fromStdString(e->GetErrorMessage());
        e->Delete();
    } catch (const ExchangeError& e) {
        m_strError = e.Message();
    }
    return -1;
}

long CatalogueCopy::Fill(CDaoDatabase& target, const char* schema, const CatalogueAddress& source,
                         const Progress& progress) {
    // The look at the target and the load are one transaction: nobody adds a record between.
    CDaoTransaction transaction(target, true);
    if (!target.HasTable(kTable)) {
        target.Execute(schema);
    } else if (CountRecords(target) > 0) {
        if (!m_bOverwrite) {
            m_strError = AfxLoadString(IDP_COPY_TARGET_NOT_EMPTY).arg(m_strShownTarget);
            return -1;
        }
        target.Execute("DELETE FROM Zeitschriften");
    }
    TableAppender rows(target, kTable, kColumns, true);
    m_pOpening = &source;
    const long copied = OldCatalogue::Recognises(m_strSource)
                            ? CopyOldRecords(m_strSource, m_strSourceTable, rows, progress)
                            : CopyRecords(source, rows, progress);
    rows.Finish();
    transaction.Commit();
    return copied;
}

long CatalogueCopy::CopyToServer(const CatalogueAddress& source, const CatalogueAddress& target,
                                 const Progress& progress) {
    CDaoDatabase server;
    m_pOpening = &target;
    server.Open(target.GetConnection());
    return Fill(server, kServerCatalogueSchemaSql, source, progress);
}

long CatalogueCopy::CopyToFile(const CatalogueAddress& source, const Progress& progress) {
    const QString& target = m_strTarget;
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
        copied = Fill(catalogue, kCatalogueSchemaSql, source, progress);
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

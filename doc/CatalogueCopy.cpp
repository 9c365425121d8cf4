#include "CatalogueCopy.h"

#include <AfxMessageBox.h>
#include <CDaoDatabase.h>
#include <CDaoException.h>
#include <CDaoRecordset.h>
#include <CDaoTransaction.h>
#include <DaoErrorCode.h>
#include <ResourceLookup.h>

#include <CatalogueSchema.h>
#include <ServerCatalogueSchema.h>
#include <QFile>
#include <QFileInfo>
#include <utility>

#include "doc/CatalogueLink.h"
#include "res/Resource.h"

namespace {

constexpr const char* kWholeTable = "SELECT * FROM Zeitschriften";
constexpr long kProgressStep = 5000;

// A link stands for the server it names.
std::string Resolve(const QString& path) {
    const CatalogueLink link = CatalogueLink::Read(path);
    return (link.GetKind() == CatalogueLink::Kind::Server ? link.GetConnection() : path)
        .toStdString();
}

// Copies the records of `from`, a whole-table set, into `to`, keys included, NULLs kept.
long CopyRecords(CDaoRecordset& from, CDaoRecordset& to, const CatalogueCopy::Progress& progress) {
    const long total = from.GetRecordCount();
    long copied = 0;
    for (from.MoveFirst(); !from.IsEOF(); from.MoveNext()) {
        to.AddNew();
        for (int field = 0; field <= 4; ++field) {
            const COleVariant value = from.GetFieldValue(field);
            if (value.IsNull()) {
                to.SetFieldValueNull(field);
            } else {
                to.SetFieldValue(field, value.GetString());
            }
        }
        to.Update();
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
    try {
        const std::string target = Resolve(m_strTarget);
        return CDaoDatabase::IsServerPath(target)
                   ? CopyToServer(QString::fromStdString(target), progress)
                   : CopyToFile(m_strTarget, progress);
    } catch (CDaoException* e) {
        m_strError = AfxDaoErrorText(*e) + QStringLiteral(" (") +
                     QString::fromStdString(e->GetErrorMessage()) + QLatin1Char(')');
        e->Delete();
    }
    return -1;
}

long CatalogueCopy::CopyToServer(const QString& target, const Progress& progress) {
    CDaoDatabase source;
    source.Open(Resolve(m_strSource));
    CDaoRecordset from(&source);
    from.Open(dbOpenDynaset, kWholeTable);

    CDaoDatabase server;
    server.Open(target.toStdString());
    CDaoRecordset to(&server);
    // Looked at before the write transaction: on a server a failed statement would end it.
    bool hasTable = true;
    long existing = 0;
    try {
        to.Open(dbOpenDynaset, kWholeTable);
        existing = to.GetRecordCount();
    } catch (CDaoException* e) {
        hasTable = (e->GetErrorCode() & 0xFF) != DaoErrorCode::kError;
        e->Delete();
    }
    if (existing > 0 && !m_bOverwrite) {
        m_strError = AfxLoadString(IDP_COPY_TARGET_NOT_EMPTY).arg(m_strTarget);
        return -1;
    }
    CDaoTransaction transaction(server, true);
    if (!hasTable) {
        server.Execute(kServerCatalogueSchemaSql);
    } else if (existing > 0) {
        server.Execute("DELETE FROM Zeitschriften");
    }
    to.Open(dbOpenDynaset, kWholeTable);
    const long copied = CopyRecords(from, to, progress);
    // Keys came along, so the key generator starts above the highest one.
    server.Execute(
        "SELECT setval(pg_get_serial_sequence('zeitschriften', 'id'),"
        " coalesce((SELECT max(id) FROM zeitschriften), 0) + 1, false)");
    transaction.Commit();
    return copied;
}

long CatalogueCopy::CopyToFile(const QString& target, const Progress& progress) {
    if (QFileInfo(target).size() > 0 && !m_bOverwrite) {
        m_strError = AfxLoadString(IDP_COPY_TARGET_NOT_EMPTY).arg(target);
        return -1;
    }
    CDaoDatabase source;
    source.Open(Resolve(m_strSource));
    CDaoRecordset from(&source);
    from.Open(dbOpenDynaset, kWholeTable);

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
        CDaoRecordset to(&catalogue);
        to.Open(dbOpenDynaset, kWholeTable);
        copied = CopyRecords(from, to, progress);
        transaction.Commit();
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

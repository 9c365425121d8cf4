#pragma once

#include <CDaoDatabase.h>
#include <CDaoRecordset.h>
#include <CDocument.h>
#include <COleVariant.h>

#include <array>
#include <optional>

// One open catalogue: its database and the one record set over the table Zeitschriften, which
// every window of the catalogue shares. Records are written through the record set as the user
// works; the document itself is never saved.
class CPeriolexDoc : public CDocument {
public:
    CPeriolexDoc() = default;
    ~CPeriolexDoc() override;

    // Asks for a path, copies the template database there and opens the copy.
    bool OnNewDocument() override;
    bool OnOpenDocument(const QString& pathName) override;
    // Releases the record set, then the database, then closes the windows.
    void OnCloseDocument() override;

    // Open the database, then the record set over it; a failure is reported to the user with
    // the file's name and leaves the document without a record set.
    bool OpenDatabase(const QString& path);
    bool OpenRecordset();

    // Writes the given fields (1 to 4; unset ones stay) into the record with this key, whether or
    // not the shared record set holds it at present. False when the record no longer exists.
    bool StoreRecord(const COleVariant& key, const std::array<std::optional<QString>, 4>& fields);

    CDaoDatabase m_database;
    CDaoRecordset* m_pRecordset = nullptr;
    QString m_strPath;
    QString m_strSQL;
    bool m_bConnected = false;

private:
    void ReportOpenFailure(const QString& reason) const;
    // The first of fields 1 to 4 that the open set lacks or holds in another place, or empty.
    QString MissingField() const;
};

#pragma once

#include <CDaoDatabase.h>
#include <CDaoRecordset.h>
#include <CDaoTransaction.h>
#include <CDocument.h>
#include <COleVariant.h>

#include <QString>
#include <array>
#include <vector>

class CatalogueAddress;

// One open catalogue: its database and the one record set over the table Zeitschriften, which
// every window of the catalogue shares. Records are written through the record set as the user
// works; the document itself is never saved.
//
// Every write to the catalogue goes through the document, and so does the news that another
// program (or another connection) changed the file: the document then reads the keys again and
// tells its views, which follow without touching what the user typed.
class CPeriolexDoc : public CDocument {
public:
    // The hint with which the views learn that the file changed under them.
    static constexpr long kHintChangedElsewhere = 2;

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

    // One transaction for a whole command (store, move, show). `write` when the command may
    // write: the write lock is then taken at once. Changes that others committed are taken in
    // first, so that the command works on the file as it is.
    CDaoTransaction BeginCommand(bool write);
    // Stores the changed fields of the record with this key (fields 1 to 4), each only if the
    // file still holds what the form loaded; `current` receives the stored texts on Conflict.
    MergeOutcome StoreFields(const COleVariant& key, const std::vector<FieldChange>& changes,
                             std::vector<COleVariant>& current);
    // Appends a record with these texts (fields 1 to 4) to the record set.
    void AddRecord(const std::array<QString, 4>& texts);

    // A command found a record gone that others deleted before their news arrived: the next
    // command takes in their changes first.
    void FollowAtNextCommand() { m_bBehindElsewhere = true; }

    // Looks whether another program changed the catalogue and follows if so; cheap when not.
    void CheckForChangesElsewhere() override;
    // The views follow others' changes that no command of the user's brought in: nothing they
    // do now may ask the user (who may be typing) a question.
    bool FollowsUnasked() const { return m_bFollowsUnasked; }
    int ChangeDescriptor() const override;

    CDaoDatabase m_database;
    CDaoRecordset* m_pRecordset = nullptr;
    QString m_strPath;
    // The path as messages show it: a server's address without its password.
    QString m_strShownPath;
    QString m_strSQL;
    bool m_bConnected = false;

protected:
    // A server's address shows as "server/database (user)", and in full, without its password,
    // in the tooltip.
    QString AddressTitle(const QString& pathName) const override;
    QString AddressToolTip(const QString& pathName) const override;

private:
    // Opens the database, asking for the server's password when it wants one; a failure has
    // been reported when it returns false.
    bool ConnectDatabase(const CatalogueAddress& address);
    void FollowChangesElsewhere();
    // Shows why the catalogue cannot be opened, with the record store's own words, if any,
    // behind the message's "Details" button.
    void ReportOpenFailure(const QString& reason, const QString& details = {}) const;
    // Why the open set cannot be shown: the first of fields 1 to 4 that it lacks or holds in
    // another place; empty when all stand where the form reads them.
    QString FieldProblem() const;

    // Others changed the file and the windows have not followed yet.
    bool m_bBehindElsewhere = false;
    bool m_bFollowsUnasked = false;
};

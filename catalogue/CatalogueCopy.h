#pragma once

#include <QString>
#include <functional>

class CatalogueAddress;
class CDaoDatabase;

// Copies every record of one catalogue into another, between any two of a catalogue file, a
// catalogue link and a server, keys included, so that a copy there and back is the original
// again. The target is written in one transaction: a file is built beside it and takes its
// place only when complete, a server's table is created (with what live updates need) or
// emptied inside the transaction. A non-empty target is replaced only when asked to. The source
// may also be a catalogue of the Windows program, which is only read.
class CatalogueCopy {
public:
    // Called every few thousand records with the records copied and the total.
    using Progress = std::function<void(long copied, long total)>;

    CatalogueCopy(QString source, QString target, bool overwrite);
    // The table to read from an old catalogue with several.
    void SetSourceTable(const QString& table) { m_strSourceTable = table; }

    // The number of records copied; throws nothing. On failure returns -1 and GetError()
    // tells why, in German.
    long Run(const Progress& progress);
    const QString& GetError() const { return m_strError; }
    // The record store's own words on the failure, if any: for whoever looks into it.
    const QString& GetDetails() const { return m_strDetails; }

private:
    long CopyToServer(const CatalogueAddress& source, const CatalogueAddress& target,
                      const Progress& progress);
    long CopyToFile(const CatalogueAddress& source, const Progress& progress);
    // Writes the source's records into `target` in one transaction, making the table with
    // `schema` when it has none; -1 when the target holds records and may not be replaced.
    long Fill(CDaoDatabase& target, const char* schema, const CatalogueAddress& source,
              const Progress& progress);

    QString m_strSource;
    QString m_strSourceTable;
    QString m_strTarget;
    // The target as messages name it: a server's address without its password.
    QString m_strShownTarget;
    bool m_bOverwrite;
    QString m_strError;
    QString m_strDetails;
    // The catalogue being opened or read when a failure comes, whose own words name it.
    const CatalogueAddress* m_pOpening = nullptr;
};

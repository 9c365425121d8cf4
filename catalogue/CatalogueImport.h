#pragma once

#include <QString>

// What an import brought into the catalogue.
struct ImportSummary {
    long records = 0;
    // Field texts longer than the form's 30 characters; they are stored whole all the same.
    long longTexts = 0;

    // The German sentence that tells the user about it.
    QString Text(const QString& catalogue) const;
};

enum class ImportTarget {
    AppendOrCreate,  // append to the catalogue, or make it from the template when it is missing
    Replace          // make the catalogue from the template, replacing a file already there
};

// Reads the records of a CSV or RIS file into a catalogue, all or nothing: the records go in as
// one transaction, and a new catalogue is built beside its place and put there only once it is
// complete, so a file that cannot be read leaves neither a half-filled catalogue nor a damaged
// one. A new catalogue holds the imported records only, not the template's blank one; a file
// without records therefore makes none. Records without any text are skipped. A catalogue on a
// server, named by its address or a link, is never made here: the records are added to it.
//
// Throws ExchangeError with a German message that names the file and, for a broken file, its line.
ImportSummary ImportRecords(const QString& source, const QString& catalogue, ImportTarget target);

// Throws the ExchangeError that ImportRecords would for a source that cannot be opened at all,
// so that nobody is asked for a catalogue to import a pipe or a missing file into.
void CheckImportSource(const QString& source);

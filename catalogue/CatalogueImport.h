#pragma once

#include <ImportSettings.h>

#include <QString>
#include <QStringList>

// How a source is to be read and taken in.
struct ImportOptions {
    ImportSettings settings;  // what the preview or the command line set instead of detection
    // Records identical in all four fields to one the catalogue held before are taken as well.
    bool keepDuplicates = false;
};

// What an import brought into the catalogue.
struct ImportSummary {
    long records = 0;
    // Field texts longer than the form's 30 characters; they are stored whole all the same.
    long longTexts = 0;
    // Records left out because the catalogue held them already.
    long duplicates = 0;
    // The source's columns that held text but were not taken over.
    QStringList untaken;

    // The German sentence that tells the user about it.
    QString Text(const QString& catalogue) const;
};

enum class ImportTarget {
    AppendOrCreate,  // append to the catalogue, or make it from the template when it is missing
    Replace          // make the catalogue from the template, replacing a file already there
};

// Reads the records of a CSV or RIS file, or of a catalogue of the Windows program, into a
// catalogue, all or nothing: the records go in as one transaction, and a new catalogue is built
// beside its place and put there only once it is complete, so a file that cannot be read leaves
// neither a half-filled catalogue nor a damaged one. A new catalogue holds the imported records
// only, not the template's blank one, with an old catalogue's numbers as keys; a file without
// records therefore makes none. A record without any text is a record like any other.
// When appending, records identical in all four fields to one already there are counted and
// left out, unless asked to keep them. A catalogue on a server, named by its address or a link,
// is never made here: the records are added to it.
//
// Throws ExchangeError with a German message that names the file and, for a broken file, its line.
ImportSummary ImportRecords(const QString& source, const QString& catalogue, ImportTarget target,
                            const ImportOptions& options = {});

// Throws the ExchangeError that ImportRecords would for a source that cannot be opened at all,
// so that nobody is asked for a catalogue to import a pipe or a missing file into; for an old
// catalogue with several tables, none of them plainly the articles', the TableChoiceError that
// lists them.
void CheckImportSource(const QString& source);

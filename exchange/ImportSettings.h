#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// Where a column of the source goes: one of the four fields, the year that is joined to the
// issue number ("3/1996"), or nowhere.
enum class ColumnTarget { None, Issue, Magazine, Article, Page, Year };

// The encodings a source may be read in. UTF-16 is turned into UTF-8 as it is read.
enum class TextEncoding { Utf8, Windows1252, Utf16LE, Utf16BE };

struct ImportColumn {
    QString heading;  // as the source names it ("Titel", "TI", "journal"), or "Spalte 3"
    ColumnTarget target = ColumnTarget::None;
    QString example = {};  // a text of the column from the first records, for the preview

    bool operator==(const ImportColumn&) const = default;
};

// How a source is read. A reader fills in what it detected; whoever knows better (the preview,
// the command line) sets what it wants instead and leaves the rest empty for the reader to
// detect.
struct ImportSettings {
    std::optional<TextEncoding> encoding;
    std::optional<char> separator;  // CSV only: ';', ',' or '\t'
    std::optional<bool> header;     // CSV only: the first row names the columns
    // These columns go to these targets. In a CSV file a column the list does not name is not
    // taken; in RIS and BibTeX, whose tags may first appear late in a file, it goes where it
    // would have gone. Matched by heading in order, so that two columns of one name stay apart;
    // a CSV heading may also be the column's number ("3").
    std::optional<std::vector<ImportColumn>> columns;
    // A catalogue of the Windows program only: the table to read; empty lets the reader choose.
    QString table = {};

    bool operator==(const ImportSettings&) const = default;
};

// The German names of the targets, as the preview and the command line use them.
QString TargetName(ColumnTarget target);
// The target of a name as a user types it ("Artikelname", "jahr", "-"); nullopt when unknown.
std::optional<ColumnTarget> TargetOfName(const QString& name);
// "Titel=Artikelname,Jahr=Jahr" as the command line gives it; nullopt when a part is not of
// that form or names no target.
std::optional<std::vector<ImportColumn>> ParseColumnList(const QString& list);

QString EncodingName(TextEncoding encoding);

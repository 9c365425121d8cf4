#pragma once

#include <QString>

// A catalogue of the Windows program: a Jet or ACE database, whatever it is called. Periolex
// takes its records over into a catalogue of its own and never writes to it.
namespace OldCatalogue {

bool Recognises(const QString& path);
// What the file is, for a question about it: "Jet-3-Datenbank" and the like.
QString FormatName(const QString& path);
// When the Windows program's lock file lies beside the catalogue (NAME.ldb, NAME.laccdb, kept
// while it uses the file), a German sentence saying that it may still be in use; else empty.
QString InUseWarning(const QString& path);
// A name for the new catalogue beside the old one that replaces no file: NAME.plx, or
// "NAME (Periolex).plx", "NAME (Periolex 2).plx", ... when that is taken or the old file itself.
QString ProposedCataloguePath(const QString& path);

}  // namespace OldCatalogue

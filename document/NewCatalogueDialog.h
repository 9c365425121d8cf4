#pragma once

#include <QString>

class CDocument;

// Asks with the new-catalogue dialog where a catalogue is to be made. Empty when the user
// cancels, or picks a catalogue that is open in a window of a document other than `asking`
// (which is said in a message: it is not replaced under its own windows). The name always ends
// in .plx; `fileTitle` receives its file name.
QString AskNewCataloguePath(const CDocument* asking, QString* fileTitle = nullptr);

// The same for the catalogue an import of `source` is about to fill: the dialog says so and
// proposes `proposal`, or else the source's name with .plx beside it.
QString AskImportCataloguePath(const QString& source, const QString& proposal = QString());

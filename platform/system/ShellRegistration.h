#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// What the desktop needs to know of a program and the one file type it opens.
struct ShellFileType {
    QString programName;      // "Periolex"; also the name of the .desktop file and the icon
    QString programPath;      // absolute path of the executable
    QString genericName;      // what kind of program it is
    QString comment;          // one line about it
    QString mimeType;         // e.g. application/x-periolex-document
    QString typeDescription;  // the file type's readable name
    QString extension;        // ".plx"
    QString printLabel;       // the desktop action that prints a file
    quint32 magic = 0;        // a big-endian number at `magicOffset` that marks the type's files
    int magicOffset = 0;      // (0: the type is known by its extension only)
    QByteArray iconSvg;       // scalable icon, and the 16 and 32 pixel images (PNG)
    QByteArray icon16;
    QByteArray icon32;
};

// Writes, for the current user, the MIME type, the desktop entry (with open and print actions)
// and the icons under the XDG data folder. Files that already hold the same text are not
// touched, so a start that finds everything in place writes nothing. Returns false and sets
// `error` if a file could not be written.
bool RegisterShellFileType(const ShellFileType& type, QString& error);
// Removes what RegisterShellFileType wrote.
void UnregisterShellFileType(const ShellFileType& type);

#pragma once

#include <QString>

// The folder that holds the files the program ships beside itself (the template database among
// them): $PERIOLEX_SYSTEM_DIR if set; else share/<program> beside the installed program; else the
// build tree's res folder.
QString GetSystemDirectory();

// Copies `from` over `to` as a whole: the copy is made beside `to` and then put in its place, so
// that `to` is never half written and a program still reading the old file keeps reading it.
// On failure returns false and sets `errnoValue` to the reason.
bool CopyFileTo(const QString& from, const QString& to, int& errnoValue);

#pragma once

#include <QString>

// The folder that holds the files the program ships beside itself (the template database among
// them): $PERIOLEX_SYSTEM_DIR if set; else share/<program> beside the installed program; else the
// build tree's res folder.
QString GetSystemDirectory();

// Copies `from` over `to`. On failure returns false and sets `error` to the reason.
bool CopyFileTo(const QString& from, const QString& to, QString& error);

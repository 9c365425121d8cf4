#pragma once

struct sqlite3;

// Installs the desktop engine's LIKE (see LikeDialect.h) as SQLite's `like(pattern, text)` on
// the connection, so that `x LIKE p` in SQL follows the dialect.
void InstallLikeDialect(sqlite3* db);

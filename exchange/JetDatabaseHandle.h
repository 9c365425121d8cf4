#pragma once

#include "JetDatabase.h"
#include "JetLibrary.h"

// What the Jet sources of this folder share of an open database: libmdb's handle and the file's
// length in pages (no page number at or beyond it is ever handed to libmdb).
struct JetDatabase::Handle {
    MdbHandle* mdb = nullptr;
    unsigned long pages = 0;

    ~Handle() { mdb_close(mdb); }
};

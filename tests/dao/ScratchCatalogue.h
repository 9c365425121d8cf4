#pragma once

#include <memory>
#include <ostream>

#include "server/ScratchCatalogue.h"

// A maker of scratch catalogues with `articles` rows: ID i, magazine number i, magazine
// "Heft", article "Artikel i", page i * 10. Null when its engine cannot be reached here.
struct ScratchEngine {
    const char* name;
    std::unique_ptr<ScratchCatalogue> (*make)(int articles);
};

inline void PrintTo(const ScratchEngine& engine, std::ostream* os) {
    *os << engine.name;
}

std::unique_ptr<ScratchCatalogue> MakeFileCatalogue(int articles);
std::unique_ptr<ScratchCatalogue> MakeServerCatalogue(int articles);

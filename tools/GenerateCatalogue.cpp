// periolex-gen OUT N [SEED]
//
// Makes a catalogue of N generated records, to try the program on catalogues far larger than
// anyone types in by hand and to reproduce a benchmark's data outside the benchmark.

#include <charconv>
#include <exception>
#include <iostream>
#include <string_view>
#include <system_error>

#include "CatalogueGenerator.h"

namespace {

// Whole argument or nothing: "10k" or "-5" must not quietly become 10 or a huge unsigned seed.
template <typename Number>
bool Parse(std::string_view text, Number& value) {
    if (text.empty() || text.front() == '-' || text.front() == '+') {
        return false;
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

int Usage() {
    std::cerr << "usage: periolex-gen OUT N [SEED]\n"
                 "Writes a catalogue OUT (replacing it) with N generated records (N >= 0).\n"
                 "The same N and SEED (default 1) always give the same records.\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        return Usage();
    }
    long records = 0;
    unsigned seed = 1;
    if (!Parse(argv[2], records) || (argc == 4 && !Parse(argv[3], seed))) {
        return Usage();
    }
    try {
        GenerateCatalogue(argv[1], records, seed);
    } catch (const std::exception& e) {
        std::cerr << "periolex-gen: " << e.what() << '\n';
        return 1;
    }
    return 0;
}

#pragma once

#include <string>

// Writes a catalogue file at `path`, replacing any file there, holding `records` made-up article
// records (0 gives a catalogue with an empty table). The records read like a real index typed in
// issue by issue: German magazine names and article titles with umlauts and ß, issue numbers such
// as "7/1996", page numbers ascending within an issue, every field text of at most 30 characters.
// The same `records` and `seed` give the same file contents on every platform, so benchmark runs
// and tests can be compared with each other.
//
// Throws std::runtime_error, naming the file, if the catalogue cannot be written; a partly written
// file is removed.
void GenerateCatalogue(const std::string& path, long records, unsigned seed = 1);

// The path of a generated catalogue of `records` records (seed 1) in the build's bench-data
// folder, made on first use and kept for later runs (ten million records take minutes to make);
// the benchmarks of one build share these files, and no other build touches them.
std::string CachedCatalogue(long records);

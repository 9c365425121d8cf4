#pragma once

#include <string>

#include "LikePattern.h"

// The same match as `pattern` as a regular expression in the server's advanced syntax, matched
// with case: every letter carries its other cases itself, so the result does not depend on the
// server's locale.
std::string LikeRegex(const LikePattern& pattern);

#pragma once

#include <string>
#include <string_view>

// `name` exactly as given, as a quoted identifier of the server's SQL.
std::string QuotePgName(std::string_view name);

// A name as an SQL text gives it unquoted, the way the server finds it: the server folds
// unquoted names to lower case, so Zeitschriften names the table zeitschriften.
std::string FoldPgName(std::string_view name);

// The same, quoted.
std::string QuotePgIdentifier(std::string_view name);

#pragma once

#include <AfxRes.h>

// The program's own resource and command numbers; the framework's standard ones are in AfxRes.h.

constexpr unsigned IDR_MAINFRAME = 128;
constexpr unsigned IDR_PERIOLTYPE = 129;
constexpr unsigned IDD_ABOUTBOX = 100;
constexpr unsigned IDD_PERIOLEX_FORM = 101;
constexpr unsigned IDB_SPLASH = 102;
constexpr unsigned IDD_ABFRAGE = 131;

// Record commands; the form's buttons carry the same numbers.
constexpr unsigned ID_DATENSATZ_NAECHSTER = 32771;
constexpr unsigned ID_DATENSATZ_VORHERIGER = 32772;
constexpr unsigned ID_DATENSATZ_LETZTER = 32773;
constexpr unsigned ID_DATENSATZ_ERSTER = 32774;
constexpr unsigned ID_DATENSATZ_HINZUFUEGEN = 32775;
constexpr unsigned ID_DATENSATZ_LOESCHEN = 32776;

// Controls of the record form and the query dialog.
constexpr unsigned IDC_ZEITSCHRIFTENNUMMER = 1000;
constexpr unsigned IDC_ARTIKELNAME = 1001;
constexpr unsigned IDC_ZEITSCHRIFTENNAME = 1002;
constexpr unsigned IDC_SEITE = 1003;
constexpr unsigned IDC_ABFRAGE = 1010;
constexpr unsigned IDC_ABFRAGE_TEXT = 1011;
constexpr unsigned IDC_ABFRAGE_LOESCHEN = 1012;
constexpr unsigned IDC_DATENSATZ = 1013;

// The program's own messages.
constexpr unsigned IDP_NO_CATALOGUE = 200;
constexpr unsigned IDP_TEMPLATE_COPY_FAILED = 201;
constexpr unsigned IDP_TEMPLATE_MISSING = 202;
constexpr unsigned IDP_NO_ARTICLE_TABLE = 203;
constexpr unsigned IDP_CATALOGUE_UNREADABLE = 204;
constexpr unsigned IDP_CATALOGUE_IS_OPEN = 205;
constexpr unsigned IDP_REPLACE_FILE = 206;           // %1: the file
constexpr unsigned IDP_ARTICLE_FIELD_MISSING = 210;  // %1: the field
constexpr unsigned IDP_SEARCH_TEXT_NUL = 211;
constexpr unsigned IDP_ARTICLE_FIELD_MISPLACED = 212;  // %1: the field
constexpr unsigned IDP_SERVER_UNREACHABLE = 230;
constexpr unsigned IDP_SERVER_LOGIN_FAILED = 231;
constexpr unsigned IDP_LINK_WITHOUT_SERVER = 232;
constexpr unsigned IDP_LINK_WITH_PASSWORD = 233;
constexpr unsigned IDP_COPY_USAGE = 234;
constexpr unsigned IDP_COPY_TARGET_NOT_EMPTY = 235;
constexpr unsigned IDP_COPY_FAILED = 236;
constexpr unsigned IDP_COPY_PROGRESS = 237;
constexpr unsigned IDP_COPY_DONE = 238;
// What --help says of copying, which the program carries out before anything else.
constexpr unsigned IDS_CMDLINE_COPY = 239;
constexpr unsigned IDS_CMDLINE_LINK = 240;
constexpr unsigned IDS_CMDLINE_LINK_FILE = 241;
constexpr unsigned IDS_CMDLINE_OVERWRITE = 242;
// The question for a server's password.
constexpr unsigned IDP_SERVER_PASSWORD = 243;  // %1: the server
constexpr unsigned IDS_SERVER_PASSWORD_TITLE = 244;
constexpr unsigned IDS_SERVER_PASSWORD_LABEL = 245;
constexpr unsigned IDP_COPY_CONNECTION_LOST = 246;
constexpr unsigned IDP_SERVER_PASSWORD_AGAIN = 300;  // %1: this attempt, %2: of how many
constexpr unsigned IDS_SERVER_USER_LABEL = 301;
// The arguments of --copy as the help shows them, each in angle brackets.
constexpr unsigned IDS_CMDLINE_COPY_ARGUMENTS = 302;
// What --help says of the import's own options.
constexpr unsigned IDS_CMDLINE_COLUMNS = 247;
constexpr unsigned IDS_CMDLINE_COLUMN_LIST = 248;
constexpr unsigned IDS_CMDLINE_NO_HEADER = 249;
constexpr unsigned IDS_CMDLINE_KEEP_DUPLICATES = 250;
// What --help says of choosing the table of an old catalogue.
constexpr unsigned IDS_CMDLINE_TABLE = 251;
constexpr unsigned IDS_CMDLINE_TABLE_NAME = 252;
// --link names a server only.
constexpr unsigned IDP_COPY_LINK_NEEDS_SERVER = 253;  // %1: the copy's target
// A password given in the copy's target stays out of the link.
constexpr unsigned IDP_COPY_LINK_WITHOUT_PASSWORD = 254;
// Why a server could not be reached, each naming the server (%1).
constexpr unsigned IDP_SERVER_REFUSED = 255;
constexpr unsigned IDP_SERVER_UNKNOWN_HOST = 256;
constexpr unsigned IDP_SERVER_CERTIFICATE = 257;
constexpr unsigned IDP_SERVER_TIMEOUT = 258;
// The role may not read the catalogue it opens.
constexpr unsigned IDP_NO_PERMISSION = 259;
// The copy succeeded but its link could not be written: %1 records, %2 target, %3 link, %4 why.
constexpr unsigned IDP_COPY_LINK_FAILED = 260;
// The folder %1 of a file to be written does not exist.
constexpr unsigned IDP_FOLDER_MISSING = 261;
// What stands before the record store's own words on a terminal.
constexpr unsigned IDS_DETAILS = 262;
// A pasted search text was cut to %1 characters.
constexpr unsigned IDP_SEARCH_TEXT_CUT = 263;
// A search text given on the command line is longer than %1 characters.
constexpr unsigned IDP_SEARCH_TEXT_TOO_LONG = 264;

// Help topics of dialogs and questions (F1 there shows them).
constexpr unsigned IDH_CONFLICT = 400;
constexpr unsigned IDH_DELETED_ELSEWHERE = 401;
constexpr unsigned IDH_SERVER_PASSWORD = 402;
constexpr unsigned IDH_IMPORT = 404;
constexpr unsigned IDH_EXPORT = 405;

struct ResourceTables;
// Every resource table of the program, for the framework.
const ResourceTables& PeriolexResources();

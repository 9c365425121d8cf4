#include "PeriolexTables.h"
#include "Resource.h"

namespace {

constexpr unsigned kEdit = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr unsigned kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
constexpr unsigned kDefButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON;
constexpr unsigned kLabel = WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT;
constexpr unsigned kModal = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;

// 101: the record form. Template order is tab order.
constexpr DialogItem kForm[] = {
    {"EDIT", IDC_ZEITSCHRIFTENNUMMER, "", 74, 11, 148, 14, kEdit},
    {"EDIT", IDC_ZEITSCHRIFTENNAME, "", 74, 26, 148, 14, kEdit},
    {"EDIT", IDC_ARTIKELNAME, "", 74, 40, 148, 14, kEdit},
    {"EDIT", IDC_SEITE, "", 74, 56, 24, 14, kEdit},
    {"BUTTON", ID_DATENSATZ_ERSTER, "<<", 7, 78, 26, 14, kButton},
    {"BUTTON", ID_DATENSATZ_VORHERIGER, "<", 37, 78, 25, 14, kButton},
    {"BUTTON", ID_DATENSATZ_NAECHSTER, ">", 68, 78, 25, 14, kButton},
    {"BUTTON", ID_DATENSATZ_LETZTER, ">>", 99, 78, 25, 14, kButton},
    {"BUTTON", ID_DATENSATZ_HINZUFUEGEN, "&Hinzufügen", 128, 78, 44, 14, kButton},
    {"BUTTON", ID_DATENSATZ_LOESCHEN, "&Löschen", 177, 78, 45, 14, kButton},
    {"BUTTON", IDC_ABFRAGE, "Abfrage...", 7, 97, 55, 14, kButton},
    {"STATIC", IDC_STATIC, "Zeitschriftennummer:", 7, 17, 62, 8, kLabel},
    {"STATIC", IDC_STATIC, "Zeitschriftenname:", 7, 32, 55, 8, kLabel},
    {"STATIC", IDC_STATIC, "Artikelname:", 7, 48, 38, 8, kLabel},
    {"STATIC", IDC_STATIC, "Seite:", 7, 62, 18, 8, kLabel},
    {"BUTTON", IDC_ABFRAGE_LOESCHEN, "Abfrage löschen", 68, 97, 56, 14, kButton},
    {"STATIC", IDC_DATENSATZ, "", 9, 117, 115, 8, kLabel},
};

// 100: the About box. The icon's text is the number of the icon it shows.
constexpr DialogItem kAbout[] = {
    {"STATIC", IDC_STATIC, "128", 11, 17, 20, 20, WS_CHILD | WS_VISIBLE | SS_ICON},
    {"STATIC", IDC_STATIC, "Periolex, Version 1.0", 39, 7, 119, 8, kLabel | SS_NOPREFIX},
    {"STATIC", IDC_STATIC, "Verzeichnis von Zeitschriftenartikeln", 39, 24, 132, 8, kLabel},
    {"BUTTON", IDOK, "OK", 178, 7, 32, 14, kDefButton},
    {"STATIC", IDC_STATIC, "Copyright © 1997 Tesmo Software", 39, 42, 106, 8, kLabel},
};

// 131: the query.
constexpr DialogItem kQuery[] = {
    {"EDIT", IDC_ABFRAGE_TEXT, "", 63, 7, 117, 14, kEdit},
    {"BUTTON", IDOK, "OK", 33, 31, 50, 14, kDefButton},
    {"BUTTON", IDCANCEL, "Abbrechen", 98, 31, 50, 14, kButton},
    {"STATIC", IDC_STATIC, "Enthaltener Text:", 7, 13, 51, 8, kLabel},
};

constexpr DialogResource kDialogs[] = {
    {IDD_PERIOLEX_FORM, "", 229, 146, WS_CHILD | DS_SETFONT, "MS Sans Serif", 8, kForm},
    {IDD_ABOUTBOX, "Info über Periolex", 217, 57, kModal, "MS Sans Serif", 8, kAbout},
    {IDD_ABFRAGE, "Abfrage", 187, 52, kModal, "MS Sans Serif", 8, kQuery},
};

}  // namespace

std::span<const DialogResource> PeriolexDialogs() {
    return kDialogs;
}

#include "PeriolexTables.h"
#include "Resource.h"

namespace {

constexpr MenuItem kSeparator{};

// Menu 128: no catalogue window open.
constexpr MenuItem kFile128[] = {
    {ID_FILE_NEW, "&Neu\tStrg+N"},
    {ID_FILE_OPEN, "Ö&ffnen...\tStrg+O"},
    kSeparator,
    {ID_FILE_PRINT_SETUP, "Drucker&einrichtung..."},
    kSeparator,
    {ID_FILE_MRU_FILE1, "Letzte Datei", {}, true},
    kSeparator,
    {ID_APP_EXIT, "&Beenden"},
};
constexpr MenuItem kView[] = {
    {ID_VIEW_TOOLBAR, "&Symbolleiste"},
    {ID_VIEW_STATUS_BAR, "S&tatusleiste"},
};
constexpr MenuItem kHelp128[] = {
    {ID_HELP_FINDER, "&Hilfethemen"},
    kSeparator,
    {ID_APP_ABOUT, "Inf&o über Periolex..."},
};
constexpr MenuItem kBar128[] = {
    {0, "&Datei", kFile128},
    {0, "&Ansicht", kView},
    {0, "&?", kHelp128},
};

// Menu 129: a catalogue window is active.
constexpr MenuItem kFile129[] = {
    {ID_FILE_NEW, "&Neu\tStrg+N"},
    {ID_FILE_OPEN, "Ö&ffnen...\tStrg+O"},
    {ID_FILE_CLOSE, "&Schließen"},
    kSeparator,
    {ID_FILE_PRINT, "&Drucken...\tStrg+P"},
    {ID_FILE_PRINT_PREVIEW, "Sei&tenansicht"},
    {ID_FILE_PRINT_SETUP, "Drucker&einrichtung..."},
    kSeparator,
    {ID_FILE_MRU_FILE1, "Letzte Datei", {}, true},
    kSeparator,
    {ID_APP_EXIT, "&Beenden"},
};
constexpr MenuItem kRecord[] = {
    {ID_DATENSATZ_NAECHSTER, "&Nächster"},
    {ID_DATENSATZ_VORHERIGER, "&Vorheriger"},
    {ID_DATENSATZ_ERSTER, "&Erster"},
    {ID_DATENSATZ_LETZTER, "&Letzter"},
    kSeparator,
    {ID_DATENSATZ_HINZUFUEGEN, "&Hinzufügen"},
    {ID_DATENSATZ_LOESCHEN, "&Löschen"},
};
constexpr MenuItem kQuery[] = {
    {IDC_ABFRAGE, "&Abfrage..."},
    {IDC_ABFRAGE_LOESCHEN, "&Löschen"},
};
constexpr MenuItem kWindow[] = {
    {ID_WINDOW_NEW, "Neues &Fenster"},
    {ID_WINDOW_CASCADE, "Über&lappend"},
    {ID_WINDOW_TILE_HORZ, "&Nebeneinander"},
    {ID_WINDOW_ARRANGE, "&Symbole anordnen"},
};
constexpr MenuItem kHelp129[] = {
    {ID_HELP_FINDER, "&Hilfethemen"},
    kSeparator,
    {ID_APP_ABOUT, "Inf&o über Periolex"},
};
constexpr MenuItem kBar129[] = {
    {0, "&Datei", kFile129}, {0, "&Datensatz", kRecord}, {0, "&Abfrage", kQuery},
    {0, "&Ansicht", kView},  {0, "&Fenster", kWindow},   {0, "&?", kHelp129},
};

constexpr MenuResource kMenus[] = {
    {IDR_MAINFRAME, kBar128},
    {IDR_PERIOLTYPE, kBar129},
};

}  // namespace

std::span<const MenuResource> PeriolexMenus() {
    return kMenus;
}

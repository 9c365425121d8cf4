#include <DaoErrorCode.h>

#include <cerrno>

#include "PeriolexTables.h"
#include "Resource.h"

namespace {

// Prompt, "\n", tool tip. Sorted by nothing in particular; looked up by number.
constexpr StringResource kStrings[] = {
    {IDR_MAINFRAME, "Periolex"},
    {IDR_PERIOLTYPE,
     "\nPerix\nPerix\nDateityp Perix (*.plx)\n.plx\nPeriolex.Document\nPerix Document"},
    {AFX_IDS_APP_TITLE, "Periolex"},
    {AFX_IDS_IDLEMESSAGE, "Drücken Sie F1, um Hilfe zu erhalten."},
    {AFX_IDS_HELPMODEMESSAGE, "Wählen Sie das Objekt, zu dem Sie Hilfe wünschen."},

    {ID_FILE_NEW, "Erstellt ein neues Dokument.\nNeu"},
    {ID_FILE_OPEN, "Öffnet ein bestehendes Dokument.\nÖffnen"},
    {ID_FILE_CLOSE, "Schließt das aktive Dokument.\nSchließen"},
    {ID_FILE_SAVE, "Speichert das aktive Dokument.\nSpeichern"},
    {ID_FILE_SAVE_AS, "Speichert das aktive Dokument unter neuem Namen.\nSpeichern unter"},
    {ID_FILE_PAGE_SETUP, "Ändert die Druckoptionen.\nSeite einrichten"},
    {ID_FILE_PRINT_SETUP, "Ändert den Drucker und die Druckoptionen.\nDruckereinrichtung"},
    {ID_FILE_PRINT, "Druckt das aktive Dokument.\nDrucken"},
    {ID_FILE_PRINT_PREVIEW, "Zeigt ganze Seiten an.\nSeitenansicht"},
    {ID_FILE_MRU_FILE1, "Öffnet dieses Dokument."},
    {ID_FILE_MRU_FILE1 + 1, "Öffnet dieses Dokument."},
    {ID_FILE_MRU_FILE1 + 2, "Öffnet dieses Dokument."},
    {ID_FILE_MRU_FILE1 + 3, "Öffnet dieses Dokument."},
    {ID_FILE_MRU_FILE1 + 4, "Öffnet dieses Dokument."},
    {ID_FILE_MRU_FILE1 + 5, "Öffnet dieses Dokument."},
    {ID_FILE_MRU_FILE1 + 6, "Öffnet dieses Dokument."},
    {ID_FILE_MRU_FILE1 + 7, "Öffnet dieses Dokument."},
    {ID_FILE_MRU_FILE1 + 8, "Öffnet dieses Dokument."},
    {ID_FILE_MRU_FILE1 + 9, "Öffnet dieses Dokument."},
    {ID_FILE_MRU_FILE1 + 10, "Öffnet dieses Dokument."},
    {ID_FILE_MRU_FILE1 + 11, "Öffnet dieses Dokument."},
    {ID_FILE_MRU_FILE1 + 12, "Öffnet dieses Dokument."},
    {ID_FILE_MRU_FILE1 + 13, "Öffnet dieses Dokument."},
    {ID_FILE_MRU_FILE1 + 14, "Öffnet dieses Dokument."},
    {ID_FILE_MRU_FILE1 + 15, "Öffnet dieses Dokument."},
    {ID_DATENSATZ_NAECHSTER, "Nächster Datensatz\nNächster Datensatz"},
    {ID_DATENSATZ_VORHERIGER, "Vorheriger Datensatz\nVorheriger Datensatz"},
    {ID_DATENSATZ_LETZTER, "Letzter Datensatz\nLetzter Datensatz"},
    {ID_DATENSATZ_ERSTER, "Erster Datensatz\nErster Datensatz"},
    {ID_DATENSATZ_HINZUFUEGEN, "Datensatz hinzufügen\nDatensatz hinzufügen"},
    {ID_DATENSATZ_LOESCHEN, "Datensatz löschen\nDatensatz löschen"},
    {IDC_ABFRAGE, "Ermöglicht eine Abfrage der Daten"},
    {IDC_ABFRAGE_LOESCHEN, "Löscht die aktuelle Abfrage"},
    {ID_VIEW_TOOLBAR, "Blendet die Symbolleiste ein oder aus.\nSymbolleiste ein-/ausschalten"},
    {ID_VIEW_STATUS_BAR, "Blendet die Statusleiste ein oder aus.\nStatusleiste ein-/ausschalten"},
    {ID_WINDOW_NEW, "Öffnet ein weiteres Fenster für das aktive Dokument.\nNeues Fenster"},
    {ID_WINDOW_ARRANGE, "Ordnet die Symbole im unteren Bereich des Fensters an.\nSymbole anordnen"},
    {ID_WINDOW_CASCADE, "Ordnet die Fenster überlappend an.\nÜberlappende Fenster"},
    {ID_WINDOW_TILE_HORZ, "Ordnet die Fenster nebeneinander an.\nFenster nebeneinander"},
    {ID_WINDOW_TILE_VERT, "Ordnet die Fenster untereinander an.\nFenster untereinander"},
    {ID_WINDOW_SPLIT, "Teilt das aktive Fenster in Ausschnitte.\nTeilen"},
    {ID_APP_ABOUT, "Zeigt Programm-Informationen, Versionsnummer und Copyright an.\nInfo"},
    {ID_APP_EXIT, "Verläßt die Anwendung; fragt, ob Dokumente gespeichert werden sollen.\nBeenden"},
    {ID_HELP_INDEX, "Öffnet den Hilfeindex.\nHilfeindex"},
    {ID_HELP_FINDER, "Listet die Hilfethemen auf.\nHilfethemen"},
    {ID_HELP_USING, "Zeigt an, wie die Hilfe benutzt wird.\nHilfe"},
    {ID_CONTEXT_HELP, "Zeigt Hilfe zu angeklickten Schaltflächen, Menüs und Fenstern an.\nHilfe"},
    {ID_HELP, "Zeigt Hilfe zum aktuellen Vorgang oder Befehl an.\nHilfe"},
    {ID_NEXT_PANE, "Wechselt zum nächsten Fensterausschnitt.\nNächster Ausschnitt"},
    {ID_PREV_PANE, "Springt zum vorherigen Fensterausschnitt zurück.\nVorheriger Ausschnitt"},
    {ID_EDIT_CLEAR, "Löscht die Markierung.\nLöschen"},
    {ID_EDIT_CLEAR_ALL, "Löscht alles.\nAlles löschen"},
    {ID_EDIT_COPY, "Kopiert die Markierung in die Zwischenablage.\nKopieren"},
    {ID_EDIT_CUT, "Entfernt die Markierung und kopiert sie in die Zwischenablage.\nAusschneiden"},
    {ID_EDIT_FIND, "Sucht den angegebenen Text.\nSuchen"},
    {ID_EDIT_PASTE, "Fügt den Inhalt der Zwischenablage ein.\nEinfügen"},
    {ID_EDIT_REPEAT, "Wiederholt die letzte Aktion.\nWiederholen"},
    {ID_EDIT_REPLACE, "Ersetzt einen Text durch einen anderen.\nErsetzen"},
    {ID_EDIT_SELECT_ALL, "Markiert das gesamte Dokument.\nAlles markieren"},
    {ID_EDIT_UNDO, "Macht die letzte Aktion rückgängig.\nRückgängig"},
    {ID_EDIT_REDO, "Stellt die zuletzt rückgängig gemachte Aktion wieder her.\nWiederherstellen"},

    {0xE700, "ER"},
    {ID_INDICATOR_CAPS, "UF"},
    {ID_INDICATOR_NUM, "NUM"},
    {ID_INDICATOR_SCRL, "RF"},
    {0xE704, "ÜB"},
    {0xE705, "MA"},
    {0xF005, "Beendet die Seitenansicht.\nSeitenansicht beenden"},

    {0xEF00, "Ändert die Fenstergröße."},
    {0xEF01, "Ändert die Position des Fensters."},
    {0xEF02, "Verkleinert das Fenster zu einem Symbol."},
    {0xEF03, "Vergrößert das Fenster zu voller Größe."},
    {0xEF04, "Wechselt zum nächsten Dokumentfenster."},
    {0xEF05, "Wechselt zum vorherigen Dokumentfenster."},
    {0xEF06, "Schließt das aktive Fenster und fordert zur Dokumentspeicherung auf."},
    {0xEF12, "Stellt das Fenster in seiner normalen Größe wieder her."},
    {0xEF13, "Aktiviert die Task-Liste."},
    {0xEF1F, "Aktiviert dieses Fenster."},

    // What the help mode says about the form's fields.
    {IDC_ZEITSCHRIFTENNUMMER, "Die Nummer des Heftes, zum Beispiel 3/1996.\nZeitschriftennummer"},
    {IDC_ZEITSCHRIFTENNAME, "Der Name der Zeitschrift.\nZeitschriftenname"},
    {IDC_ARTIKELNAME, "Der Titel des Artikels; die Abfrage sucht in diesem Feld.\nArtikelname"},
    {IDC_SEITE, "Die Seite, auf der der Artikel steht.\nSeite"},
    {IDC_DATENSATZ, "Welcher Datensatz angezeigt wird und wie viele es gibt.\nDatensatz N von M"},

    // What the desktop shows of the program.
    {AFX_IDS_SHELL_GENERIC_NAME, "Verzeichnis von Zeitschriftenartikeln"},
    {AFX_IDS_SHELL_COMMENT, "Kataloge von Zeitschriftenartikeln anlegen, durchsuchen und drucken"},
    {AFX_IDS_SHELL_PRINT, "Drucken"},

    // The help window.
    {AFX_IDS_HELP_TITLE, "Periolex-Hilfe"},
    {AFX_IDS_HELP_CONTENTS, "&Inhalt"},
    {AFX_IDS_HELP_BACK, "&Zurück"},
    {AFX_IDS_HELP_FORWARD, "&Vorwärts"},

    // The framework's own messages.
    {AFX_IDS_ALLFILTER, "Alle Dateien (*.*)"},
    {AFX_IDS_OPENFILE, "Öffnen"},
    {AFX_IDP_FAILED_TO_OPEN_DOC, "Die Datei „%1“ kann nicht geöffnet werden.\n\n%2"},
    {AFX_IDP_PARSE_STRING_SIZE, "Geben Sie höchstens %1 Zeichen ein."},
    {AFX_IDP_COMMAND_FAILURE, "Der Befehl konnte nicht ausgeführt werden."},
    {AFX_IDS_CMDLINE_FILE,
     "Der Katalog, der geöffnet werden soll: eine Katalogdatei (.plx), eine Katalogverknüpfung "
     "oder ein Server (postgresql://server/datenbank). Eine CSV-, RIS- oder BibTeX-Datei oder ein "
     "Katalog des Windows-Programms wird in einen neuen Katalog übernommen."},
    {AFX_IDS_CMDLINE_PRINT, "Druckt den Katalog auf dem Standarddrucker und beendet das Programm."},
    {AFX_IDS_CMDLINE_PRINT_TO,
     "Druckt den Katalog auf <drucker>; ein Name auf .pdf ist eine PDF-Datei."},
    {AFX_IDS_CMDLINE_PRINTER, "drucker"},
    {AFX_IDS_CMDLINE_NOSPLASH, "Startet ohne Begrüßungsbild."},
    {AFX_IDS_CMDLINE_UNREGISTER, "Entfernt die Anmeldung des Dateityps beim Desktop."},
    {AFX_IDS_CMDLINE_HELP, "Zeigt diese Übersicht der Optionen."},
    {AFX_IDS_CMDLINE_VERSION, "Zeigt die Versionsnummer."},
    {AFX_IDS_CMDLINE_FILE_NAME, "datei"},
    {AFX_IDS_CMDLINE_USAGE, "Aufruf: %1 [<optionen>] [<datei>]"},
    {AFX_IDS_CMDLINE_OPTIONS, "Optionen:"},
    {AFX_IDS_CMDLINE_ARGUMENTS, "Argumente:"},
    {AFX_IDP_CMDLINE_UNKNOWN,
     "%1: Unbekannte Option „%2“. „%1 --help“ zeigt die möglichen Optionen."},
    {AFX_IDP_CMDLINE_NO_VALUE, "%1: Nach der Option „%2“ fehlt ihr Wert."},
    {AFX_IDP_CMDLINE_INVALID,
     "%1: Die Befehlszeile „%2“ ist fehlerhaft. „%1 --help“ zeigt die möglichen Optionen."},
    {AFX_IDP_NO_DISPLAY,
     "%1: Keine grafische Anzeige erreichbar (DISPLAY oder WAYLAND_DISPLAY fehlt oder antwortet "
     "nicht). Ohne Anzeige druckt „%1 --print-to liste.pdf katalog.plx“ in eine PDF-Datei."},
    {AFX_IDS_CMDLINE_IMPORT,
     "Liest die Datensätze aus <datei> (CSV, RIS, BibTeX oder ein Katalog des Windows-Programms) "
     "in den Katalog; ein fehlender Katalog wird angelegt."},
    {AFX_IDS_CMDLINE_EXPORT,
     "Schreibt die Datensätze des Katalogs in <datei>; die Endung .csv, .ris oder .bib wählt das "
     "Format."},
    {AFX_IDS_CMDLINE_CONTAINS,
     "Exportiert nur die Artikel, deren Name <text> enthält (wie die Abfrage)."},
    {AFX_IDS_CMDLINE_OTHER_FILE, "datei"},
    {AFX_IDS_CMDLINE_TEXT, "text"},
    {AFX_IDP_CMDLINE_IMPORT_EXPORT, "--import und --export lassen sich nicht zusammen angeben."},
    {AFX_IDP_CMDLINE_CONTAINS, "--contains gilt nur zusammen mit --export."},
    {AFX_IDP_CMDLINE_ONE_DOCUMENT, "--import und --export brauchen genau einen Katalog."},

    // Printing and the print preview.
    {AFX_IDS_PREVIEW_NEXT, "Zeigt die nächste Seite an.\nNächste Seite"},
    {AFX_IDS_PREVIEW_PREV, "Zeigt die vorherige Seite an.\nVorherige Seite"},
    {AFX_IDS_PREVIEW_PAGES, "Zeigt eine oder zwei Seiten nebeneinander an.\nEine/Zwei Seiten"},
    {AFX_IDS_PREVIEW_ZOOMIN, "Vergrößert die Seitenansicht.\nVergrößern"},
    {AFX_IDS_PREVIEW_ZOOMOUT, "Verkleinert die Seitenansicht.\nVerkleinern"},
    {AFX_IDS_PREVIEW_PRINT_LABEL, "&Drucken..."},
    {AFX_IDS_PREVIEW_NEXT_LABEL, "&Nächste Seite"},
    {AFX_IDS_PREVIEW_PREV_LABEL, "&Vorherige Seite"},
    {AFX_IDS_PREVIEW_ONEPAGE_LABEL, "&Eine Seite"},
    {AFX_IDS_PREVIEW_TWOPAGE_LABEL, "&Zwei Seiten"},
    {AFX_IDS_PREVIEW_ZOOMIN_LABEL, "Ver&größern"},
    {AFX_IDS_PREVIEW_ZOOMOUT_LABEL, "Ver&kleinern"},
    {AFX_IDS_PREVIEW_CLOSE_LABEL, "&Schließen"},
    {AFX_IDS_PREVIEW_ONE_PAGE, "Seite %1 von %2"},
    {AFX_IDS_PREVIEW_TWO_PAGES, "Seiten %1–%2 von %3"},
    {AFX_IDS_PRINT_PDF_FILTER, "PDF-Dateien (*.pdf)|*.pdf||"},
    {AFX_IDS_PRINT_PDF_TITLE, "Als PDF-Datei drucken"},
    {AFX_IDP_PRINT_FAILED, "Der Druck auf „%1“ ist nicht möglich."},
    {AFX_IDP_PRINTER_UNKNOWN, "Der Drucker „%1“ ist nicht vorhanden."},
    {AFX_IDP_NO_DEFAULT_PRINTER, "Es ist kein Standarddrucker eingerichtet."},

    // Record-store failures, by SQLite's primary result code.
    {AFX_IDP_DAO_GENERIC, "Bei der Arbeit mit dem Katalog ist ein Fehler aufgetreten."},
    {AFX_IDP_DAO_FIRST + 5,
     "Der Katalog wird gerade von einem anderen Programm benutzt. Bitte versuchen Sie es gleich "
     "noch einmal."},
    {AFX_IDP_DAO_FIRST + 6,
     "Der Katalog ist von einem anderen Programm gesperrt. Bitte versuchen Sie es gleich noch "
     "einmal."},
    {AFX_IDP_DAO_FIRST + 8,
     "Der Katalog ist schreibgeschützt. Die Änderung wurde nicht gespeichert."},
    {AFX_IDP_DAO_FIRST + 10,
     "Der Katalog konnte nicht gelesen oder geschrieben werden (Ein-/Ausgabefehler)."},
    {AFX_IDP_DAO_FIRST + 11, "Die Katalogdatei ist beschädigt."},
    {AFX_IDP_DAO_FIRST + 12,
     "Der Datensatz ist nicht mehr vorhanden; er wurde inzwischen gelöscht."},
    {AFX_IDP_DAO_FIRST + 13, "Der Datenträger ist voll. Die Änderung wurde nicht gespeichert."},
    {AFX_IDP_DAO_FIRST + 14, "Die Katalogdatei kann nicht geöffnet werden."},
    {AFX_IDP_DAO_FIRST + 18, "Der Suchtext oder ein Feldinhalt ist zu lang."},
    {AFX_IDP_DAO_FIRST + 23, "Der Zugriff auf die Katalogdatei wurde verweigert."},
    {AFX_IDP_DAO_FIRST + 26, "Die Datei ist kein Periolex-Katalog."},

    // SQLite's READONLY_DIRECTORY: the file may be written, its folder may not.
    {AFX_IDP_DAO_EXTENDED_FIRST + (8 | 6 << 8),
     "Der Ordner, in dem der Katalog liegt, ist schreibgeschützt. Zum Speichern legt Periolex dort "
     "kurz eine Hilfsdatei an; bitte geben Sie den Ordner zum Schreiben frei. Die Änderung wurde "
     "nicht gespeichert."},
    // SQLite's READONLY_DBMOVED: the file was deleted or another put in its place.
    {AFX_IDP_DAO_EXTENDED_FIRST + (8 | 4 << 8),
     "Die Katalogdatei wurde gelöscht oder durch eine andere Datei ersetzt, während sie geöffnet "
     "war. Die Änderung wurde nicht gespeichert. Kopieren Sie Ihre Eingaben bei Bedarf aus dem "
     "Formular, schließen Sie dann den Katalog und öffnen Sie die Datei erneut."},

    // The record store's and the server engine's own extended codes.
    {AFX_IDP_DAO_EXTENDED_FIRST + DaoErrorCode::kFileMissing, "Die Katalogdatei existiert nicht."},
    {AFX_IDP_DAO_EXTENDED_FIRST + DaoErrorCode::kConnectionLost,
     "Die Verbindung zum Datenbankserver ist unterbrochen. Ihre Eingaben bleiben im Formular. "
     "Sobald der Server wieder erreichbar ist, stellt der nächste Befehl die Verbindung wieder "
     "her und speichert Ihre Eingaben."},
    {AFX_IDP_DAO_EXTENDED_FIRST + DaoErrorCode::kCommitUnknown,
     "Die Verbindung zum Datenbankserver brach ab, während eine Änderung gespeichert wurde, und "
     "der Server kann noch nicht sagen, ob sie angekommen ist. Ihre Eingaben bleiben im "
     "Formular. Sehen Sie im Katalog nach, sobald der Server wieder erreichbar ist, bevor Sie "
     "einen Datensatz noch einmal hinzufügen."},
    {AFX_IDP_DAO_EXTENDED_FIRST + DaoErrorCode::kLocked,
     "Der Datensatz wird gerade in einer anderen Sitzung geändert. Die Änderung wurde nicht "
     "gespeichert; Ihre Eingaben bleiben im Formular. Bitte versuchen Sie es gleich noch "
     "einmal."},
    {AFX_IDP_DAO_EXTENDED_FIRST + DaoErrorCode::kServerTooSlow,
     "Der Datenbankserver hat nicht rechtzeitig geantwortet; der Befehl wurde abgebrochen. Es "
     "wurde nichts geändert, Ihre Eingaben bleiben im Formular."},
    {AFX_IDP_DAO_EXTENDED_FIRST + DaoErrorCode::kCancelled,
     "Der Befehl wurde abgebrochen. Es wurde nichts geändert, Ihre Eingaben bleiben im "
     "Formular."},
    {AFX_IDP_DAO_EXTENDED_FIRST + DaoErrorCode::kPasswordNeeded,
     "Der Datenbankserver verlangt ein Kennwort. Hinterlegen Sie es in der Datei ~/.pgpass."},

    {AFX_IDP_CLOSE_ANYWAY,
     "Beim Speichern Ihrer Eingaben trat ein Problem auf:\n\n%1\n\nTrotzdem schließen? Ihre "
     "Eingaben gehen dann verloren."},
    {AFX_IDS_NOT_A_REGULAR_FILE,
     "Der Name bezeichnet keine gewöhnliche Datei, sondern etwa eine Pipe oder ein Gerät; die "
     "Datei ist kein Periolex-Katalog."},
    {AFX_IDS_ERRNO_OTHER, "Systemfehler %1."},
    {AFX_IDS_ERRNO_FIRST + EPERM, "Der Vorgang ist nicht erlaubt."},
    {AFX_IDS_ERRNO_FIRST + ENOENT, "Die Datei oder der Ordner existiert nicht."},
    {AFX_IDS_ERRNO_FIRST + EIO, "Ein-/Ausgabefehler beim Zugriff auf den Datenträger."},
    {AFX_IDS_ERRNO_FIRST + EACCES,
     "Sie haben keine Berechtigung für diese Datei oder diesen Ordner."},
    {AFX_IDS_ERRNO_FIRST + EEXIST, "Die Datei existiert bereits."},
    {AFX_IDS_ERRNO_FIRST + ENOTDIR, "Ein Teil des Pfades ist kein Ordner."},
    {AFX_IDS_ERRNO_FIRST + EISDIR, "Der Name bezeichnet einen Ordner, keine Datei."},
    {AFX_IDS_ERRNO_FIRST + ENOSPC, "Der Datenträger ist voll."},
    {AFX_IDS_ERRNO_FIRST + EROFS, "Der Datenträger ist schreibgeschützt."},
    {AFX_IDS_ERRNO_FIRST + ENAMETOOLONG, "Der Dateiname ist zu lang."},
    {AFX_IDS_ERRNO_FIRST + ELOOP,
     "Die symbolischen Verknüpfungen im Pfad verweisen im Kreis aufeinander."},

    // The program's own messages.
    {IDP_NO_CATALOGUE, "„%1“ kann nicht als Katalog geöffnet werden:\n\n%2"},
    {IDP_TEMPLATE_COPY_FAILED, "Der neue Katalog „%1“ kann nicht angelegt werden:\n\n%2"},
    {IDP_TEMPLATE_MISSING, "Die Vorlage für neue Kataloge „%1“ fehlt."},
    {IDP_NO_ARTICLE_TABLE, "Die Datei enthält keine Artikeltabelle „Zeitschriften“."},
    {IDP_ARTICLE_FIELD_MISSING, "Der Artikeltabelle „Zeitschriften“ fehlt das Feld „%1“."},
    {IDP_ARTICLE_FIELD_MISPLACED,
     "Das Feld „%1“ steht in der Artikeltabelle „Zeitschriften“ an einer anderen Stelle; nach dem "
     "Schlüssel werden Zeitschriftennummer, Zeitschriftenname, Artikelname und Seite in dieser "
     "Reihenfolge erwartet."},
    {IDP_SEARCH_TEXT_NUL,
     "Der Suchtext enthält ein Nullzeichen (Zeichen 0), nach dem nicht gesucht werden kann. "
     "Bitte entfernen Sie es."},
    {IDP_CATALOGUE_IS_OPEN,
     "Der Katalog „%1“ ist geöffnet. Schließen Sie ihn, bevor Sie ihn durch einen neuen ersetzen."},
    {IDP_REPLACE_FILE, "„%1“ ist bereits vorhanden. Soll die Datei ersetzt werden?"},
    {IDP_SERVER_UNREACHABLE,
     "Der Datenbankserver „%1“ ist nicht erreichbar oder hat die Verbindung abgelehnt."},
    {IDP_SERVER_LOGIN_FAILED,
     "Die Anmeldung am Datenbankserver „%1“ ist fehlgeschlagen. Bitte prüfen Sie Benutzername "
     "und Kennwort."},
    {IDP_LINK_WITHOUT_SERVER,
     "Die Katalogverknüpfung nennt keine Serververbindung (postgresql://… oder service=…)."},
    {IDP_LINK_WITH_PASSWORD,
     "Die Katalogverknüpfung enthält ein Kennwort. Kennwörter gehören nicht in eine "
     "Verknüpfung, sondern in die Datei ~/.pgpass; sie wurde nicht benutzt."},
    {IDP_COPY_CONNECTION_LOST,
     "Die Verbindung zum Datenbankserver brach während des Kopierens ab. Auf dem Server liegt "
     "danach entweder der ganze Katalog oder nichts davon; sehen Sie nach, bevor Sie noch einmal "
     "kopieren."},
    {IDP_SERVER_PASSWORD, "Der Datenbankserver „%1“ verlangt ein Kennwort."},
    {IDP_SERVER_PASSWORD_AGAIN,
     "Benutzername oder Kennwort wurden nicht angenommen. Bitte versuchen Sie es noch einmal "
     "(Versuch %1 von %2)."},
    {IDS_SERVER_PASSWORD_TITLE, "Anmeldung am Datenbankserver"},
    {IDS_SERVER_USER_LABEL, "&Benutzername:"},
    {IDS_SERVER_PASSWORD_LABEL, "&Kennwort:"},
    {IDS_CMDLINE_COPY,
     "Kopiert den ganzen Katalog <quelle> nach <ziel>, je eine Katalogdatei, eine "
     "Katalogverknüpfung oder ein Server (postgresql://…); <quelle> darf auch ein Katalog des "
     "Windows-Programms sein."},
    {IDS_CMDLINE_COPY_ARGUMENTS, "<quelle> <ziel>"},
    {IDS_CMDLINE_LINK,
     "Schreibt nach dem Kopieren die Katalogverknüpfung <verknüpfung>, die auf das Ziel zeigt."},
    {IDS_CMDLINE_LINK_FILE, "verknüpfung"},
    {IDS_CMDLINE_OVERWRITE, "Ersetzt beim Kopieren den Inhalt eines Ziels, das nicht leer ist."},
    {IDS_CMDLINE_COLUMNS,
     "Legt beim Import fest, welche Spalte in welches Feld kommt, etwa "
     "„Titel=Artikelname,Jahr=Jahr,Autor=-“; nicht genannte CSV-Spalten werden nicht übernommen."},
    {IDS_CMDLINE_COLUMN_LIST, "liste"},
    {IDS_CMDLINE_NO_HEADER,
     "Die erste Zeile einer CSV-Datei ist ein Datensatz, keine Überschrift."},
    {IDS_CMDLINE_KEEP_DUPLICATES,
     "Übernimmt beim Anhängen auch Datensätze, die schon im Katalog stehen."},
    {IDS_CMDLINE_TABLE,
     "Wählt bei --import und --copy die Tabelle <tabelle> eines Katalogs des Windows-Programms, "
     "der mehrere hat."},
    {IDS_CMDLINE_TABLE_NAME, "tabelle"},
    {IDP_COPY_USAGE,
     "Aufruf: periolex --copy <quelle> <ziel> [--link <verknüpfung>] [--overwrite] [--table "
     "<tabelle>]\n"
     "<quelle> und <ziel> sind je eine Katalogdatei (.plx), eine Katalogverknüpfung oder ein "
     "Server (postgresql://…); <quelle> darf auch ein Katalog des Windows-Programms sein."},
    {IDP_COPY_TARGET_NOT_EMPTY, "„%1“ ist nicht leer. Mit --overwrite wird der Inhalt ersetzt."},
    {IDP_COPY_FAILED, "Der Katalog konnte nicht nach „%1“ kopiert werden:\n%2"},
    {IDP_COPY_PROGRESS, "%1 von %2 Datensätzen kopiert"},
    {IDP_COPY_DONE, "%1 Datensätze nach „%2“ kopiert."},
    {IDP_COPY_LINK_NEEDS_SERVER,
     "Eine Katalogverknüpfung zeigt nur auf einen Server; „%1“ ist eine Katalogdatei."},
    {IDP_COPY_LINK_WITHOUT_PASSWORD,
     "Das Kennwort im Ziel wird nicht in die Katalogverknüpfung geschrieben. Tragen Sie es in "
     "die Datei ~/.pgpass ein, damit die Verknüpfung ohne Rückfrage öffnet."},
    {IDP_SERVER_REFUSED,
     "Der Datenbankserver „%1“ nimmt keine Verbindungen an. Bitte prüfen Sie, ob er läuft und "
     "ob Adresse und Port stimmen."},
    {IDP_SERVER_UNKNOWN_HOST,
     "Der Rechner des Datenbankservers „%1“ ist unbekannt. Bitte prüfen Sie den Namen in der "
     "Adresse und die Netzwerkverbindung."},
    {IDP_SERVER_CERTIFICATE,
     "Das Zertifikat des Datenbankservers „%1“ wurde nicht anerkannt; die Verbindung wurde "
     "nicht aufgebaut. Bitte prüfen Sie das Stammzertifikat und den Namen des Servers."},
    {IDP_SERVER_TIMEOUT,
     "Der Datenbankserver „%1“ hat nicht rechtzeitig geantwortet. Bitte versuchen Sie es später "
     "noch einmal."},
    {IDP_NO_PERMISSION,
     "Sie haben keine Berechtigung, diesen Katalog zu lesen. Bitten Sie den Verwalter des "
     "Datenbankservers, Ihnen Zugriff zu geben."},
    {IDP_COPY_LINK_FAILED,
     "%1 Datensätze nach „%2“ kopiert. Nur die Katalogverknüpfung „%3“ konnte nicht geschrieben "
     "werden: %4"},
    {IDP_FOLDER_MISSING, "Der Ordner „%1“ existiert nicht."},
    {IDS_DETAILS, "Details: %1"},
    {IDP_SEARCH_TEXT_CUT,
     "Der eingefügte Text war zu lang: Ein Suchtext hat höchstens %1 Zeichen. Der Rest wurde "
     "abgeschnitten."},
    {IDP_SEARCH_TEXT_TOO_LONG, "Ein Suchtext hat höchstens %1 Zeichen."},
    {IDP_CATALOGUE_UNREADABLE,
     "Der Katalog „%1“ kann nicht mehr gelesen werden. Bitte schließen Sie ihn und öffnen Sie ihn "
     "erneut."},
};

}  // namespace

std::span<const StringResource> PeriolexStrings() {
    return kStrings;
}

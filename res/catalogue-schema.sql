-- A catalogue file: one table of article records. The application id (0x50524C58, "PRLX") lets
-- the program tell a catalogue from any other SQLite file before it trusts the table. The
-- rollback journal is kept (no WAL) so that a catalogue stays one self-contained file that can be
-- copied, mailed or put on a floppy like any document.
PRAGMA application_id = 1347570776;

CREATE TABLE Zeitschriften (
  ID                  INTEGER PRIMARY KEY AUTOINCREMENT,
  Zeitschriftennummer TEXT,
  Zeitschriftenname   TEXT,
  Artikelname         TEXT,
  Seite               TEXT
);

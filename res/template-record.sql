-- A new catalogue starts with one blank record so that the form has something to show and edit.
INSERT INTO Zeitschriften (Zeitschriftennummer, Zeitschriftenname, Artikelname, Seite)
VALUES (' ', ' ', ' ', ' ');

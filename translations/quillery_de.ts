<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>DialogButtons</name>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
</context>
<context>
    <name>Exchange</name>
    <message>
        <source>The category &quot;%1&quot; has %2 records, more than the %3 that fit below the heading row of a .xlsx worksheet. Nothing was written.</source>
        <translation>Die Kategorie „%1“ hat %2 Datensätze, mehr als die %3, die unter die Überschriftenzeile eines .xlsx-Tabellenblatts passen. Es wurde nichts geschrieben.</translation>
    </message>
    <message>
        <source>The category &quot;%1&quot; has %2 text boxes, more than the %3 columns of a .xlsx worksheet. Nothing was written.</source>
        <translation>Die Kategorie „%1“ hat %2 Textfelder, mehr als die %3 Spalten eines .xlsx-Tabellenblatts. Es wurde nichts geschrieben.</translation>
    </message>
    <message>
        <source>Record %1 of the category &quot;%2&quot; holds a value of %3 characters under &quot;%4&quot;, more than the %5 a .xlsx cell holds. Nothing was written.</source>
        <translation>Datensatz %1 der Kategorie „%2“ enthält unter „%4“ einen Wert mit %3 Zeichen, mehr als die %5, die eine .xlsx-Zelle aufnehmen kann. Es wurde nichts geschrieben.</translation>
    </message>
    <message>
        <source>Quillery cannot add a worksheet to the legacy Excel file &quot;%1&quot;. Please export to a .xlsx file.</source>
        <translation>Quillery kann der Excel-Datei „%1“ im alten Format kein Tabellenblatt hinzufügen. Bitte exportieren Sie in eine .xlsx-Datei.</translation>
    </message>
    <message>
        <source>Quillery exports to Excel workbooks (.xlsx) and CSV files (.csv). Please export to a .xlsx file.</source>
        <translation>Quillery exportiert in Excel-Arbeitsmappen (.xlsx) und CSV-Dateien (.csv). Bitte exportieren Sie in eine .xlsx-Datei.</translation>
    </message>
    <message>
        <source>a worksheet name cannot be empty</source>
        <translation>Der Name eines Tabellenblatts darf nicht leer sein</translation>
    </message>
    <message>
        <source>a worksheet name has at most 31 characters</source>
        <translation>Der Name eines Tabellenblatts hat höchstens 31 Zeichen</translation>
    </message>
    <message>
        <source>a worksheet name cannot hold any of [ ] : * ? / \</source>
        <translation>Der Name eines Tabellenblatts darf keines der Zeichen [ ] : * ? / \ enthalten</translation>
    </message>
    <message>
        <source>a worksheet name cannot hold control characters</source>
        <translation>Der Name eines Tabellenblatts darf keine Steuerzeichen enthalten</translation>
    </message>
    <message>
        <source>a worksheet name cannot begin or end with an apostrophe</source>
        <translation>Der Name eines Tabellenblatts darf nicht mit einem Apostroph beginnen oder enden</translation>
    </message>
    <message>
        <source>the new workbook</source>
        <translation>Die neue Arbeitsmappe</translation>
    </message>
    <message>
        <source>&quot;%1&quot;</source>
        <translation>„%1“</translation>
    </message>
    <message>
        <source>Cannot open &quot;%1&quot;: it is not a workbook that Quillery can read.</source>
        <translation>„%1“ kann nicht geöffnet werden: Das ist keine Arbeitsmappe, die Quillery lesen kann.</translation>
    </message>
    <message>
        <source>Cannot open &quot;%1&quot;: %2.</source>
        <translation>„%1“ kann nicht geöffnet werden: %2.</translation>
    </message>
    <message>
        <source>Cannot read the worksheet &quot;%1&quot; in &quot;%2&quot;: the workbook is damaged.</source>
        <translation>Das Tabellenblatt „%1“ in „%2“ kann nicht gelesen werden: Die Arbeitsmappe ist beschädigt.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is too large to import.</source>
        <translation>„%1“ ist zu groß für den Import.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is protected by a password. Remove the password in the spreadsheet program and try again.</source>
        <translation>„%1“ ist durch ein Passwort geschützt. Entfernen Sie das Passwort im Tabellenkalkulationsprogramm und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>Cannot save &quot;%1&quot;: %2.</source>
        <translation>„%1“ kann nicht gespeichert werden: %2.</translation>
    </message>
    <message>
        <source>Quillery can read &quot;%1&quot; but not write to it: export to a .xlsx file instead.</source>
        <translation>Quillery kann „%1“ lesen, aber nicht hineinschreiben: Exportieren Sie stattdessen in eine .xlsx-Datei.</translation>
    </message>
    <message>
        <source>A .csv file holds a single worksheet: Quillery cannot add one to &quot;%1&quot;.</source>
        <translation>Eine .csv-Datei enthält nur ein einziges Tabellenblatt: Quillery kann „%1“ keines hinzufügen.</translation>
    </message>
    <message>
        <source>A worksheet named &quot;%1&quot; already exists in %2.</source>
        <translation>%2 enthält bereits ein Tabellenblatt namens „%1“.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be the name of a worksheet: %2.</source>
        <translation>„%1“ kann nicht der Name eines Tabellenblatts sein: %2.</translation>
    </message>
    <message>
        <source>The worksheet &quot;%1&quot; in &quot;%2&quot; was already there: Quillery only writes to worksheets it adds.</source>
        <translation>Das Tabellenblatt „%1“ in „%2“ war schon vorhanden: Quillery schreibt nur in Tabellenblätter, die es selbst hinzufügt.</translation>
    </message>
    <message>
        <source>There is no worksheet named &quot;%1&quot; in %2.</source>
        <translation>%2 enthält kein Tabellenblatt namens „%1“.</translation>
    </message>
    <message>
        <source>There is no worksheet %1 in %2.</source>
        <translation>%2 enthält kein Tabellenblatt Nr. %1.</translation>
    </message>
    <message>
        <source>There is no cell at row %1, column %2: a worksheet has rows 1 to 1048576 and columns 1 to 16384.</source>
        <translation>Es gibt keine Zelle in Zeile %1, Spalte %2: Ein Tabellenblatt hat die Zeilen 1 bis 1048576 und die Spalten 1 bis 16384.</translation>
    </message>
    <message>
        <source>The workbook is closed.</source>
        <translation>Die Arbeitsmappe ist geschlossen.</translation>
    </message>
    <message>
        <source>there is no such file</source>
        <translation>Diese Datei gibt es nicht</translation>
    </message>
    <message>
        <source>it is a folder, not a workbook</source>
        <translation>Das ist ein Ordner, keine Arbeitsmappe</translation>
    </message>
    <message>
        <source>Quillery reads workbooks whose names end in .xlsx, .xls, .ods or .csv</source>
        <translation>Quillery liest Arbeitsmappen, deren Namen auf .xlsx, .xls, .ods oder .csv enden</translation>
    </message>
    <message>
        <source>the text of cell %1%2 in the worksheet &quot;%3&quot; has %4 characters, more than the 32767 a cell can hold</source>
        <translation>Der Text der Zelle %1%2 im Tabellenblatt „%3“ hat %4 Zeichen, mehr als die 32767, die eine Zelle aufnehmen kann</translation>
    </message>
    <message>
        <source>Quillery cannot add a worksheet to this workbook&apos;s layout; export to a new file</source>
        <translation>Quillery kann einer so aufgebauten Arbeitsmappe kein Tabellenblatt hinzufügen; exportieren Sie in eine neue Datei</translation>
    </message>
    <message>
        <source>Quillery writes workbooks as .xlsx or .csv files</source>
        <translation>Quillery schreibt Arbeitsmappen als .xlsx- oder .csv-Dateien</translation>
    </message>
    <message>
        <source>another program changed it after Quillery opened it</source>
        <translation>Ein anderes Programm hat die Datei geändert, nachdem Quillery sie geöffnet hat</translation>
    </message>
    <message>
        <source>it has no file yet; save it under a name</source>
        <translation>Die Arbeitsmappe hat noch keine Datei; speichern Sie sie unter einem Namen</translation>
    </message>
</context>
<context>
    <name>HomePage</name>
    <message>
        <source>The page %1 could not be opened.</source>
        <translation>Die Seite %1 konnte nicht geöffnet werden.</translation>
    </message>
</context>
<context>
    <name>MessageBoxes</name>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Bestätigen</translation>
    </message>
</context>
<context>
    <name>PrintDialogs</name>
    <message>
        <source>Print Preview</source>
        <translation>Druckvorschau</translation>
    </message>
</context>
<context>
    <name>PrintPages</name>
    <message>
        <source>Page %1/%2</source>
        <translation>Seite %1/%2</translation>
    </message>
    <message>
        <source>Cannot print to %1</source>
        <translation>Drucken auf %1 nicht möglich</translation>
    </message>
    <message>
        <source>Printing the pages...</source>
        <translation>Seiten werden gedruckt…</translation>
    </message>
</context>
<context>
    <name>Quillery</name>
    <message>
        <source>A record cannot hold more than 4 GiB.</source>
        <translation>Ein Datensatz kann nicht mehr als 4 GiB enthalten.</translation>
    </message>
    <message>
        <source>This is not a Quillery file.</source>
        <translation>Dies ist keine Quillery-Datei.</translation>
    </message>
    <message>
        <source>Cannot start the encryption library.</source>
        <translation>Die Verschlüsselungsbibliothek kann nicht gestartet werden.</translation>
    </message>
    <message>
        <source>Password error.</source>
        <translation>Falsches Passwort.</translation>
    </message>
    <message>
        <source>The data file is damaged.</source>
        <translation>Die Datendatei ist beschädigt.</translation>
    </message>
    <message>
        <source>Stream read error</source>
        <translation>Lesefehler im Datenstrom</translation>
    </message>
    <message>
        <source>Stream write error</source>
        <translation>Schreibfehler im Datenstrom</translation>
    </message>
    <message>
        <source>Assertion failure</source>
        <translation>Interne Prüfung fehlgeschlagen</translation>
    </message>
    <message>
        <source>Data file version incompatible.</source>
        <translation>Die Version der Datendatei ist nicht kompatibel.</translation>
    </message>
    <message>
        <source>Cannot open file %1: %2</source>
        <translation>Die Datei %1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>Cannot read file %1: %2</source>
        <translation>Die Datei %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Cannot write file %1: %2</source>
        <translation>Die Datei %1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Cannot create file %1: %2</source>
        <translation>Die Datei %1 kann nicht erstellt werden: %2</translation>
    </message>
    <message>
        <source>There is not enough memory to do this.</source>
        <translation>Dafür ist nicht genug Arbeitsspeicher frei.</translation>
    </message>
    <message>
        <source>Cannot copy file %1 onto itself</source>
        <translation>Die Datei %1 kann nicht auf sich selbst kopiert werden</translation>
    </message>
    <message>
        <source>Cannot create file %1: it is not a regular file.</source>
        <translation>Die Datei %1 kann nicht erstellt werden: Das ist keine normale Datei.</translation>
    </message>
    <message>
        <source>Cannot write file %1: it is read-only.</source>
        <translation>Die Datei %1 kann nicht geschrieben werden: Sie ist schreibgeschützt.</translation>
    </message>
    <message>
        <source>Cannot open file %1: it is not a regular file.</source>
        <translation>Die Datei %1 kann nicht geöffnet werden: Das ist keine normale Datei.</translation>
    </message>
    <message>
        <source>The last save of %1 was interrupted. Quillery has finished it from the copy it kept.</source>
        <translation>Das letzte Speichern von %1 wurde unterbrochen. Quillery hat es mit der aufbewahrten Kopie abgeschlossen.</translation>
    </message>
</context>
<context>
    <name>RunCommand</name>
    <message>
        <source>Unknown error.</source>
        <translation>Unbekannter Fehler.</translation>
    </message>
</context>
<context>
    <name>ShortcutTable</name>
    <message>
        <source>Keys</source>
        <translation>Tasten</translation>
    </message>
    <message>
        <source>Command</source>
        <translation>Befehl</translation>
    </message>
</context>
<context>
    <name>TAboutBox</name>
    <message>
        <source>O&amp;K</source>
        <translation>O&amp;K</translation>
    </message>
    <message>
        <source>Close this &quot;About&quot; window.</source>
        <translation>Dieses Info-Fenster schließen.</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>About Quillery</source>
        <translation>Über Quillery</translation>
    </message>
    <message>
        <source>Qt %1</source>
        <translation>Qt %1</translation>
    </message>
    <message>
        <source>Web site:</source>
        <translation>Website:</translation>
    </message>
    <message>
        <source>Click to visit the Web site.</source>
        <translation>Klicken, um die Website zu besuchen.</translation>
    </message>
    <message>
        <source>Help:</source>
        <translation>Hilfe:</translation>
    </message>
    <message>
        <source>installed with the program</source>
        <translation>mit dem Programm installiert</translation>
    </message>
    <message>
        <source>Click to open the start page of the help.</source>
        <translation>Klicken, um die Startseite der Hilfe zu öffnen.</translation>
    </message>
</context>
<context>
    <name>TAppendPage</name>
    <message>
        <source>&amp;Skip rows whose values all equal an existing record&apos;s</source>
        <translation>Zeilen &amp;überspringen, die einem vorhandenen Datensatz gleichen</translation>
    </message>
    <message>
        <source>Ca&amp;tegory:</source>
        <translation>&amp;Kategorie:</translation>
    </message>
    <message>
        <source>(skip)</source>
        <translation>(überspringen)</translation>
    </message>
    <message>
        <source>Column %1</source>
        <translation>Spalte %1</translation>
    </message>
    <message>
        <source>The text box &quot;%1&quot; is chosen for more than one column.</source>
        <translation>Das Textfeld „%1“ ist für mehr als eine Spalte gewählt.</translation>
    </message>
    <message>
        <source>Please choose a text box for at least one column.</source>
        <translation>Bitte wählen Sie für mindestens eine Spalte ein Textfeld.</translation>
    </message>
</context>
<context>
    <name>TCategoriesPage</name>
    <message>
        <source>Move Up</source>
        <translation>Nach oben</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>Nach unten</translation>
    </message>
    <message>
        <source>      Category List</source>
        <translation>      Kategorien</translation>
    </message>
    <message>
        <source>New Category</source>
        <translation>Neue Kategorie</translation>
    </message>
    <message>
        <source>A new category is created. Do you want to copy template from an existing category?</source>
        <translation>Eine neue Kategorie wird angelegt. Möchten Sie die Vorlage einer vorhandenen Kategorie übernehmen?</translation>
    </message>
    <message>
        <source>Copy of %1</source>
        <translation>Kopie von %1</translation>
    </message>
    <message>
        <source>You will lose all the data in this category, if you already have data stored. Delete the category &quot;%1&quot; anyway?</source>
        <translation>Alle Daten in dieser Kategorie gehen verloren, falls Sie dort schon Daten gespeichert haben. Die Kategorie „%1“ trotzdem löschen?</translation>
    </message>
</context>
<context>
    <name>TCheckPasswordDialog</name>
    <message>
        <source>Please specify the password for the current data file:</source>
        <translation>Bitte geben Sie das Passwort der aktuellen Datendatei ein:</translation>
    </message>
</context>
<context>
    <name>TColorPicker</name>
    <message>
        <source>Black</source>
        <translation>Schwarz</translation>
    </message>
    <message>
        <source>Brown</source>
        <translation>Braun</translation>
    </message>
    <message>
        <source>Olive Green</source>
        <translation>Olivgrün</translation>
    </message>
    <message>
        <source>Dark Green</source>
        <translation>Dunkelgrün</translation>
    </message>
    <message>
        <source>Dark Teal</source>
        <translation>Dunkelblaugrün</translation>
    </message>
    <message>
        <source>Dark Blue</source>
        <translation>Dunkelblau</translation>
    </message>
    <message>
        <source>Indigo</source>
        <translation>Indigo</translation>
    </message>
    <message>
        <source>Gray-80%</source>
        <translation>Grau 80 %</translation>
    </message>
    <message>
        <source>Dark Red</source>
        <translation>Dunkelrot</translation>
    </message>
    <message>
        <source>Orange</source>
        <translation>Orange</translation>
    </message>
    <message>
        <source>Dark Yellow</source>
        <translation>Dunkelgelb</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>Grün</translation>
    </message>
    <message>
        <source>Teal</source>
        <translation>Blaugrün</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>Blau</translation>
    </message>
    <message>
        <source>Blue-Gray</source>
        <translation>Blaugrau</translation>
    </message>
    <message>
        <source>Gray-50%</source>
        <translation>Grau 50 %</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>Rot</translation>
    </message>
    <message>
        <source>Light Orange</source>
        <translation>Hellorange</translation>
    </message>
    <message>
        <source>Lime</source>
        <translation>Limette</translation>
    </message>
    <message>
        <source>Sea Green</source>
        <translation>Meergrün</translation>
    </message>
    <message>
        <source>Aqua</source>
        <translation>Aquamarin</translation>
    </message>
    <message>
        <source>Light Blue</source>
        <translation>Hellblau</translation>
    </message>
    <message>
        <source>Violet</source>
        <translation>Violett</translation>
    </message>
    <message>
        <source>Gray-40%</source>
        <translation>Grau 40 %</translation>
    </message>
    <message>
        <source>Pink</source>
        <translation>Rosa</translation>
    </message>
    <message>
        <source>Gold</source>
        <translation>Gold</translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation>Gelb</translation>
    </message>
    <message>
        <source>Bright Green</source>
        <translation>Hellgrün</translation>
    </message>
    <message>
        <source>Turquoise</source>
        <translation>Türkis</translation>
    </message>
    <message>
        <source>Sky Blue</source>
        <translation>Himmelblau</translation>
    </message>
    <message>
        <source>Plum</source>
        <translation>Pflaume</translation>
    </message>
    <message>
        <source>Gray-25%</source>
        <translation>Grau 25 %</translation>
    </message>
    <message>
        <source>Rose</source>
        <translation>Rosé</translation>
    </message>
    <message>
        <source>Tan</source>
        <translation>Hellbraun</translation>
    </message>
    <message>
        <source>Light Yellow</source>
        <translation>Hellgelb</translation>
    </message>
    <message>
        <source>Light Green</source>
        <translation>Zartgrün</translation>
    </message>
    <message>
        <source>Light Turquoise</source>
        <translation>Helltürkis</translation>
    </message>
    <message>
        <source>Pale Blue</source>
        <translation>Blassblau</translation>
    </message>
    <message>
        <source>Lavender</source>
        <translation>Lavendel</translation>
    </message>
    <message>
        <source>White</source>
        <translation>Weiß</translation>
    </message>
    <message>
        <source>Text Color Window</source>
        <translation>Textfarbe</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>Automatisch</translation>
    </message>
    <message>
        <source>Other Colors...</source>
        <translation>Weitere Farben…</translation>
    </message>
</context>
<context>
    <name>TColumnCaptionDialog</name>
    <message>
        <source>Please specify the column caption. If you leave it blank, the text field will not be shown in the list view as a column. You can always change this later.</source>
        <translation>Bitte geben Sie die Spaltenüberschrift an. Wenn Sie sie leer lassen, wird das Textfeld in der Listenansicht nicht als Spalte angezeigt. Sie können das später jederzeit ändern.</translation>
    </message>
    <message>
        <source>Caption:</source>
        <translation>Überschrift:</translation>
    </message>
    <message>
        <source>Quillery</source>
        <translation>Quillery</translation>
    </message>
</context>
<context>
    <name>TDataFileSession</name>
    <message>
        <source>You have specified a new data file. Do you want to use existing templates?<byte value="xd"/>
<byte value="xd"/>
Click Yes to apply existing templates to your data file, or click No to just create a blank data file.<byte value="xd"/>
<byte value="xd"/>
</source>
        <translation>Sie haben eine neue Datendatei angegeben. Möchten Sie die vorhandenen Vorlagen verwenden?<byte value="xd"/>
<byte value="xd"/>
Klicken Sie auf „Ja“, um die vorhandenen Vorlagen für Ihre Datendatei zu übernehmen, oder auf „Nein“, um nur eine leere Datendatei anzulegen.<byte value="xd"/>
<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>This file is in use. Can not overwrite current data file! Please use another file name, or save it to another folder.</source>
        <translation>Diese Datei wird gerade verwendet. Die aktuelle Datendatei kann nicht überschrieben werden! Bitte wählen Sie einen anderen Dateinamen, oder speichern Sie in einem anderen Ordner.</translation>
    </message>
    <message>
        <source>The latest changes could not be written to the data file.<byte value="xd"/>
<byte value="xd"/>
Click No to keep them and stay with this data file; Quillery tries to write them again later. Click Yes to discard them.</source>
        <translation>Die letzten Änderungen konnten nicht in die Datendatei geschrieben werden.<byte value="xd"/>
<byte value="xd"/>
Klicken Sie auf „Nein“, um sie zu behalten und bei dieser Datendatei zu bleiben; Quillery versucht später erneut, sie zu schreiben. Klicken Sie auf „Ja“, um sie zu verwerfen.</translation>
    </message>
    <message>
        <source>Write the data file without encryption?<byte value="xd"/>
<byte value="xd"/>
Its records will then be readable text: anyone who copies the file can read them with another program, password or not.</source>
        <translation>Die Datendatei ohne Verschlüsselung schreiben?<byte value="xd"/>
<byte value="xd"/>
Ihre Datensätze sind dann lesbarer Text: Wer die Datei kopiert, kann sie mit einem anderen Programm lesen, ob mit Passwort oder ohne.</translation>
    </message>
    <message>
        <source>The data file %1 was changed by another program after Quillery read it.<byte value="xd"/>
<byte value="xd"/>
Click Yes to open the other program&apos;s version (the changes made here since the last write are lost), No to replace it with Quillery&apos;s data, or Cancel to decide later (the changes stay unwritten).</source>
        <translation>Die Datendatei %1 wurde von einem anderen Programm geändert, nachdem Quillery sie gelesen hat.<byte value="xd"/>
<byte value="xd"/>
Klicken Sie auf „Ja“, um die Fassung des anderen Programms zu öffnen (die seit dem letzten Schreiben hier vorgenommenen Änderungen gehen verloren), auf „Nein“, um sie durch die Daten von Quillery zu ersetzen, oder auf „Abbrechen“, um später zu entscheiden (die Änderungen bleiben ungeschrieben).</translation>
    </message>
    <message>
        <source>Ledgrin files (%1)</source>
        <translation>Ledgrin-Dateien (%1)</translation>
    </message>
    <message>
        <source>Password error.</source>
        <translation>Falsches Passwort.</translation>
    </message>
    <message>
        <source>Create/Choose a Data File</source>
        <translation>Datendatei erstellen oder wählen</translation>
    </message>
    <message>
        <source>&amp;Open or Create</source>
        <translation>Ö&amp;ffnen oder erstellen</translation>
    </message>
    <message>
        <source>Cannot copy the template file %1 to %2: %3<byte value="xd"/>
<byte value="xd"/>
The new data file starts empty.</source>
        <translation>Die Vorlagendatei %1 kann nicht nach %2 kopiert werden: %3<byte value="xd"/>
<byte value="xd"/>
Die neue Datendatei beginnt leer.</translation>
    </message>
    <message>
        <source>Save a Copy of Data File As</source>
        <translation>Kopie der Datendatei speichern unter</translation>
    </message>
</context>
<context>
    <name>TDesignSurface</name>
    <message>
        <source>New Label</source>
        <translation>Neue Beschriftung</translation>
    </message>
    <message>
        <source>New Single-Line Text Box</source>
        <translation>Neues einzeiliges Textfeld</translation>
    </message>
    <message>
        <source>New Multi-Line Text Box</source>
        <translation>Neues mehrzeiliges Textfeld</translation>
    </message>
    <message>
        <source>Form design</source>
        <translation>Formularentwurf</translation>
    </message>
    <message>
        <source>&amp;Duplicate This Element</source>
        <translation>Dieses Element &amp;duplizieren</translation>
    </message>
</context>
<context>
    <name>TDialogLayout</name>
    <message>
        <source>O&amp;K</source>
        <translation>O&amp;K</translation>
    </message>
</context>
<context>
    <name>TElementProperties</name>
    <message>
        <source>Background Color</source>
        <translation>Hintergrundfarbe</translation>
    </message>
    <message>
        <source>Font Name</source>
        <translation>Schriftart</translation>
    </message>
    <message>
        <source>Font Size</source>
        <translation>Schriftgröße</translation>
    </message>
    <message>
        <source>B</source>
        <translation>F</translation>
    </message>
    <message>
        <source>Bold</source>
        <translation>Fett</translation>
    </message>
    <message>
        <source>I</source>
        <translation>K</translation>
    </message>
    <message>
        <source>Italic</source>
        <translation>Kursiv</translation>
    </message>
    <message>
        <source>U</source>
        <translation>U</translation>
    </message>
    <message>
        <source>Underline</source>
        <translation>Unterstrichen</translation>
    </message>
    <message>
        <source>Font Color</source>
        <translation>Schriftfarbe</translation>
    </message>
    <message>
        <source>Caption</source>
        <translation>Beschriftung</translation>
    </message>
    <message>
        <source>Column Caption</source>
        <translation>Spaltenüberschrift</translation>
    </message>
    <message>
        <source>Also show the content in this text box in the list view?</source>
        <translation>Den Inhalt dieses Textfelds auch in der Listenansicht anzeigen?</translation>
    </message>
    <message>
        <source>At least one text field should be shown in the list view in each category.</source>
        <translation>In jeder Kategorie sollte mindestens ein Textfeld in der Listenansicht angezeigt werden.</translation>
    </message>
    <message>
        <source>You will lose all the data in this text box, if you already have data stored. Delete it anyway?</source>
        <translation>Alle Daten in diesem Textfeld gehen verloren, falls Sie dort schon Daten gespeichert haben. Trotzdem löschen?</translation>
    </message>
</context>
<context>
    <name>TExportWizard</name>
    <message>
        <source>Export to Excel File</source>
        <translation>In eine Excel-Datei exportieren</translation>
    </message>
    <message>
        <source>Select a category to export:</source>
        <translation>Wählen Sie die Kategorie, die exportiert werden soll:</translation>
    </message>
    <message>
        <source>There is no category to export.</source>
        <translation>Es gibt keine Kategorie zum Exportieren.</translation>
    </message>
    <message>
        <source>Specify a destination Excel file: (If the file exists, a new worksheet will be added.)</source>
        <translation>Geben Sie die Excel-Zieldatei an: (Wenn die Datei schon existiert, wird ein neues Tabellenblatt hinzugefügt.)</translation>
    </message>
    <message>
        <source>Specify a new Excel file</source>
        <translation>Neue Excel-Datei angeben</translation>
    </message>
    <message>
        <source>Excel Workbook (*.xlsx);;CSV (*.csv)</source>
        <translation>Excel-Arbeitsmappe (*.xlsx);;CSV (*.csv)</translation>
    </message>
    <message>
        <source>Specify the name of worksheet:</source>
        <translation>Geben Sie den Namen des Tabellenblatts an:</translation>
    </message>
    <message>
        <source>Then, click &quot;Next&quot;.</source>
        <translation>Klicken Sie dann auf „Weiter“.</translation>
    </message>
    <message>
        <source>Exporting...</source>
        <translation>Wird exportiert…</translation>
    </message>
    <message>
        <source>The export failed:</source>
        <translation>Der Export ist fehlgeschlagen:</translation>
    </message>
    <message>
        <source>Done!</source>
        <translation>Fertig!</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; is a CSV file, which holds one worksheet only. Do you want to replace it?</source>
        <translation>Die Datei „%1“ ist eine CSV-Datei und enthält nur ein Tabellenblatt. Möchten Sie sie ersetzen?</translation>
    </message>
    <message>
        <source>Please specify a file name.</source>
        <translation>Bitte geben Sie einen Dateinamen an.</translation>
    </message>
</context>
<context>
    <name>TFilterBar</name>
    <message>
        <source>Filter:</source>
        <translation>Filter:</translation>
    </message>
    <message>
        <source>Enter filter string here, or clear to display all records.</source>
        <translation>Hier den Filtertext eingeben, oder leeren, um alle Datensätze anzuzeigen.</translation>
    </message>
    <message>
        <source>Match &amp;Whole Word</source>
        <translation>Nur &amp;ganzes Wort</translation>
    </message>
</context>
<context>
    <name>THelpBrowser</name>
    <message>
        <source>Page not found</source>
        <translation>Seite nicht gefunden</translation>
    </message>
    <message>
        <source>&lt;p&gt;The help page &quot;%1&quot; could not be found in the help folder %2.&lt;/p&gt;&lt;p&gt;The help pages are installed together with Quillery; installing the program again puts them back.&lt;/p&gt;&lt;p&gt;&lt;a href=&quot;%3&quot;&gt;Back to the start page&lt;/a&gt;&lt;/p&gt;</source>
        <translation>&lt;p&gt;Die Hilfeseite „%1“ wurde im Hilfeordner %2 nicht gefunden.&lt;/p&gt;&lt;p&gt;Die Hilfeseiten werden zusammen mit Quillery installiert; wenn Sie das Programm erneut installieren, sind sie wieder da.&lt;/p&gt;&lt;p&gt;&lt;a href=&quot;%3&quot;&gt;Zurück zur Startseite&lt;/a&gt;&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>THelpCommands</name>
    <message>
        <source>Main window</source>
        <translation>Hauptfenster</translation>
    </message>
</context>
<context>
    <name>THelpWindow</name>
    <message>
        <source>Quillery Help</source>
        <translation>Quillery-Hilfe</translation>
    </message>
    <message>
        <source>Find in page</source>
        <translation>Auf der Seite suchen</translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>&amp;Forward</source>
        <translation>&amp;Vorwärts</translation>
    </message>
    <message>
        <source>&amp;Home</source>
        <translation>&amp;Startseite</translation>
    </message>
    <message>
        <source>&amp;Previous</source>
        <translation>Vor&amp;herige</translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation>&amp;Nächste</translation>
    </message>
    <message>
        <source>Move to the find box.</source>
        <translation>Zum Suchfeld wechseln.</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message>
        <source>Help window</source>
        <translation>Hilfefenster</translation>
    </message>
    <message>
        <source>Start page</source>
        <translation>Startseite</translation>
    </message>
    <message>
        <source>Quillery Help - %1</source>
        <translation>Quillery-Hilfe - %1</translation>
    </message>
    <message>
        <source>Not found</source>
        <translation>Nicht gefunden</translation>
    </message>
    <message>
        <source>No page holds &quot;%1&quot;.</source>
        <translation>Keine Seite enthält „%1“.</translation>
    </message>
    <message>
        <source>Pages that hold &quot;%1&quot;:</source>
        <translation>Seiten mit „%1“:</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
</context>
<context>
    <name>TImportWizard</name>
    <message>
        <source>.</source>
        <translation>.</translation>
    </message>
    <message>
        <source>Import from Excel File</source>
        <translation>Aus einer Excel-Datei importieren</translation>
    </message>
    <message>
        <source>Select an Excel file and click &quot;Next&quot;.</source>
        <translation>Wählen Sie eine Excel-Datei und klicken Sie auf „Weiter“.</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Spreadsheets (*.xlsx *.xls *.ods *.csv);;All Files (*)</source>
        <translation>Tabellendokumente (*.xlsx *.xls *.ods *.csv);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Select a worksheet, then click &quot;Next&quot;.</source>
        <translation>Wählen Sie ein Tabellenblatt und klicken Sie dann auf „Weiter“.</translation>
    </message>
    <message>
        <source>Select columns you want to import.</source>
        <translation>Wählen Sie die Spalten, die Sie importieren möchten.</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Überschrift</translation>
    </message>
    <message>
        <source>Importing...</source>
        <translation>Wird importiert…</translation>
    </message>
    <message>
        <source>Done!</source>
        <translation>Fertig!</translation>
    </message>
    <message>
        <source>Choose the category and the text box each column fills.</source>
        <translation>Wählen Sie die Kategorie und für jede Spalte das Textfeld, das sie füllt.</translation>
    </message>
    <message>
        <source>Create a ne&amp;w category from the rows</source>
        <translation>Aus den Zeilen eine &amp;neue Kategorie anlegen</translation>
    </message>
    <message>
        <source>Add the rows to an &amp;existing category</source>
        <translation>Die Zeilen einer &amp;vorhandenen Kategorie hinzufügen</translation>
    </message>
    <message>
        <source>Select ranges, then click &quot;Next&quot;.</source>
        <translation>Wählen Sie die Bereiche und klicken Sie dann auf „Weiter“.</translation>
    </message>
    <message>
        <source>Title Range</source>
        <translation>Überschriftenbereich</translation>
    </message>
    <message>
        <source>Row</source>
        <translation>Zeile</translation>
    </message>
    <message>
        <source>,         from column</source>
        <translation>,         von Spalte</translation>
    </message>
    <message>
        <source>to column</source>
        <translation>bis Spalte</translation>
    </message>
    <message>
        <source>Data Range</source>
        <translation>Datenbereich</translation>
    </message>
    <message>
        <source>From row</source>
        <translation>Von Zeile</translation>
    </message>
    <message>
        <source>to row</source>
        <translation>bis Zeile</translation>
    </message>
    <message>
        <source>Please specify a file name.</source>
        <translation>Bitte geben Sie einen Dateinamen an.</translation>
    </message>
    <message numerus="yes">
        <source>%n record(s) added to &quot;%1&quot;.</source>
        <translation>
            <numerusform>%n Datensatz zu „%1“ hinzugefügt.</numerusform>
            <numerusform>%n Datensätze zu „%1“ hinzugefügt.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n duplicate row(s) skipped.</source>
        <translation>
            <numerusform>%n doppelte Zeile übersprungen.</numerusform>
            <numerusform>%n doppelte Zeilen übersprungen.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TListPageLayout</name>
    <message>
        <source>Measuring the list...</source>
        <translation>Liste wird vermessen…</translation>
    </message>
    <message>
        <source>Preparing the pages...</source>
        <translation>Seiten werden vorbereitet…</translation>
    </message>
</context>
<context>
    <name>TMainActions</name>
    <message>
        <source>Create/Choose &amp;Data File...</source>
        <translation>Datendatei erstellen/&amp;wählen…</translation>
    </message>
    <message>
        <source>Create a new data file, or choose an existing one.</source>
        <translation>Eine neue Datendatei erstellen oder eine vorhandene wählen.</translation>
    </message>
    <message>
        <source>Set Pass&amp;word...</source>
        <translation>&amp;Passwort festlegen…</translation>
    </message>
    <message>
        <source>Set or remove the password of the current data file.</source>
        <translation>Das Passwort der aktuellen Datendatei festlegen oder entfernen.</translation>
    </message>
    <message>
        <source>&amp;Backup Data File...</source>
        <translation>Datendatei &amp;sichern…</translation>
    </message>
    <message>
        <source>Save a copy of the current data file.</source>
        <translation>Eine Kopie der aktuellen Datendatei speichern.</translation>
    </message>
    <message>
        <source>Import from Excel...</source>
        <translation>Aus Excel importieren…</translation>
    </message>
    <message>
        <source>Import a worksheet as a new category.</source>
        <translation>Ein Tabellenblatt als neue Kategorie importieren.</translation>
    </message>
    <message>
        <source>Export to Excel...</source>
        <translation>Nach Excel exportieren…</translation>
    </message>
    <message>
        <source>Export the records of the current category to a workbook.</source>
        <translation>Die Datensätze der aktuellen Kategorie in eine Arbeitsmappe exportieren.</translation>
    </message>
    <message>
        <source>Page Set&amp;up...</source>
        <translation>Seite &amp;einrichten…</translation>
    </message>
    <message>
        <source>Choose the paper, orientation and margins for printing.</source>
        <translation>Papier, Ausrichtung und Ränder für den Druck wählen.</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Drucken…</translation>
    </message>
    <message>
        <source>Print current record or list.</source>
        <translation>Den aktuellen Datensatz oder die Liste drucken.</translation>
    </message>
    <message>
        <source>Print Pre&amp;view...</source>
        <translation>Druck&amp;vorschau…</translation>
    </message>
    <message>
        <source>Show how the current record or list would print.</source>
        <translation>Zeigen, wie der aktuelle Datensatz oder die Liste gedruckt würde.</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Close Quillery.</source>
        <translation>Quillery beenden.</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>Take back the last change.</source>
        <translation>Die letzte Änderung zurücknehmen.</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>Make the change that was taken back again.</source>
        <translation>Die zurückgenommene Änderung erneut ausführen.</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;Ausschneiden</translation>
    </message>
    <message>
        <source>Cut the selected text to the clipboard.</source>
        <translation>Den markierten Text ausschneiden und in die Zwischenablage legen.</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Copy the selected text to the clipboard.</source>
        <translation>Den markierten Text in die Zwischenablage kopieren.</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>Paste the text of the clipboard.</source>
        <translation>Den Text aus der Zwischenablage einfügen.</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>Alles &amp;markieren</translation>
    </message>
    <message>
        <source>Select the whole text.</source>
        <translation>Den ganzen Text markieren.</translation>
    </message>
    <message>
        <source>Edit Temp&amp;lates</source>
        <translation>&amp;Vorlagen bearbeiten</translation>
    </message>
    <message>
        <source>Edit the templates for each category.</source>
        <translation>Die Vorlagen der Kategorien bearbeiten.</translation>
    </message>
    <message>
        <source>&amp;New Record</source>
        <translation>&amp;Neuer Datensatz</translation>
    </message>
    <message>
        <source>Create a new blank record.</source>
        <translation>Einen neuen, leeren Datensatz anlegen.</translation>
    </message>
    <message>
        <source>&amp;Duplicate Record</source>
        <translation>Datensatz d&amp;uplizieren</translation>
    </message>
    <message>
        <source>Duplicate the selected record.</source>
        <translation>Den ausgewählten Datensatz duplizieren.</translation>
    </message>
    <message>
        <source>D&amp;elete Record</source>
        <translation>Datensatz &amp;löschen</translation>
    </message>
    <message>
        <source>Delete the selected record.</source>
        <translation>Den ausgewählten Datensatz löschen.</translation>
    </message>
    <message>
        <source>&amp;Save Record</source>
        <translation>Datensatz &amp;speichern</translation>
    </message>
    <message>
        <source>Save the changes to the record.</source>
        <translation>Die Änderungen am Datensatz speichern.</translation>
    </message>
    <message>
        <source>Move to the filter box.</source>
        <translation>Zum Filterfeld wechseln.</translation>
    </message>
    <message>
        <source>Move to the record list.</source>
        <translation>Zur Datensatzliste wechseln.</translation>
    </message>
    <message>
        <source>&amp;Help Topics</source>
        <translation>&amp;Hilfethemen</translation>
    </message>
    <message>
        <source>Show the help pages.</source>
        <translation>Die Hilfeseiten anzeigen.</translation>
    </message>
    <message>
        <source>Visit Home Page</source>
        <translation>Homepage besuchen</translation>
    </message>
    <message>
        <source>Open the Quillery home page in the web browser.</source>
        <translation>Die Homepage von Quillery im Webbrowser öffnen.</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>Ü&amp;ber Quillery…</translation>
    </message>
    <message>
        <source>Show the program&apos;s version and home page.</source>
        <translation>Version und Homepage des Programms anzeigen.</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>Import/Export</source>
        <translation>Import/Export</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Operations</source>
        <translation>&amp;Operationen</translation>
    </message>
    <message>
        <source>&amp;Data Operations</source>
        <translation>&amp;Datensätze</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Main</source>
        <translation>Werkzeugleiste</translation>
    </message>
    <message>
        <source>Dele&amp;te Record</source>
        <translation>Datensatz &amp;löschen</translation>
    </message>
</context>
<context>
    <name>TMainLayout</name>
    <message>
        <source>Categories</source>
        <translation>Kategorien</translation>
    </message>
    <message>
        <source>This data file has no categories yet.</source>
        <translation>Diese Datendatei hat noch keine Kategorien.</translation>
    </message>
    <message>
        <source>Edit Temp&amp;lates...</source>
        <translation>&amp;Vorlagen bearbeiten…</translation>
    </message>
</context>
<context>
    <name>TMainWindow</name>
    <message>
        <source>Welcome to use Quillery. Before you can use this program, please specify a file that will be used to store your data. <byte value="xd"/>
<byte value="xd"/>
Click OK to specify the data file. If the file does not exist, it will be created. Or click Cancel to exit this program.<byte value="xd"/>
<byte value="xd"/>
</source>
        <translation>Willkommen bei Quillery. Bevor Sie dieses Programm verwenden können, geben Sie bitte eine Datei an, in der Ihre Daten gespeichert werden. <byte value="xd"/>
<byte value="xd"/>
Klicken Sie auf „OK“, um die Datendatei anzugeben. Gibt es die Datei noch nicht, wird sie angelegt. Oder klicken Sie auf „Abbrechen“, um das Programm zu beenden.<byte value="xd"/>
<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Please save or cancel your modification to record before editing templates.</source>
        <translation>Bitte speichern oder verwerfen Sie Ihre Änderungen am Datensatz, bevor Sie die Vorlagen bearbeiten.</translation>
    </message>
    <message>
        <source>Please save or cancel your modification to record before importing from Excel file.</source>
        <translation>Bitte speichern oder verwerfen Sie Ihre Änderungen am Datensatz, bevor Sie aus einer Excel-Datei importieren.</translation>
    </message>
    <message>
        <source>Quillery</source>
        <translation>Quillery</translation>
    </message>
    <message>
        <source>Quillery - %1 (read-only)</source>
        <translation>Quillery - %1 (schreibgeschützt)</translation>
    </message>
    <message>
        <source>Quillery - %1</source>
        <translation>Quillery - %1</translation>
    </message>
</context>
<context>
    <name>TPasswordDialog</name>
    <message>
        <source>Quillery</source>
        <translation>Quillery</translation>
    </message>
    <message>
        <source>O&amp;K</source>
        <translation>O&amp;K</translation>
    </message>
</context>
<context>
    <name>TPrintFieldsDialog</name>
    <message>
        <source>Select Fields</source>
        <translation>Felder auswählen</translation>
    </message>
    <message>
        <source>Print these fields:</source>
        <translation>Diese Felder drucken:</translation>
    </message>
    <message>
        <source>Do not print these fields:</source>
        <translation>Diese Felder nicht drucken:</translation>
    </message>
    <message>
        <source>Do not print the selected fields</source>
        <translation>Ausgewählte Felder nicht drucken</translation>
    </message>
    <message>
        <source>Print the selected fields</source>
        <translation>Ausgewählte Felder drucken</translation>
    </message>
    <message>
        <source>Print the selected field earlier</source>
        <translation>Ausgewähltes Feld früher drucken</translation>
    </message>
    <message>
        <source>Print the selected field later</source>
        <translation>Ausgewähltes Feld später drucken</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>TPrintHost</name>
    <message>
        <source>Writing the page file...</source>
        <translation>Seitendatei wird geschrieben…</translation>
    </message>
</context>
<context>
    <name>TPrintOptionsDialog</name>
    <message>
        <source>Include Page Numbers as Headers</source>
        <translation>Seitenzahlen in der Kopfzeile</translation>
    </message>
    <message>
        <source>Include Page Numbers as Footers</source>
        <translation>Seitenzahlen in der Fußzeile</translation>
    </message>
    <message>
        <source>Do not Include Page Numbers</source>
        <translation>Keine Seitenzahlen</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source> What to Print </source>
        <translation> Druckumfang </translation>
    </message>
    <message>
        <source>Print Current Record</source>
        <translation>Aktuellen Datensatz drucken</translation>
    </message>
    <message>
        <source>Print Current List</source>
        <translation>Aktuelle Liste drucken</translation>
    </message>
    <message>
        <source> Page Numbers </source>
        <translation> Seitenzahlen </translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>Schriftart</translation>
    </message>
    <message numerus="yes">
        <source>%n Fields Selected</source>
        <translation>
            <numerusform>%n Feld ausgewählt</numerusform>
            <numerusform>%n Felder ausgewählt</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n Field Selected</source>
        <translation>
            <numerusform>%n Feld ausgewählt</numerusform>
            <numerusform>%n Felder ausgewählt</numerusform>
        </translation>
    </message>
    <message>
        <source>Font: %1 %2pt</source>
        <translation>Schrift: %1 %2 pt</translation>
    </message>
</context>
<context>
    <name>TPrintProgress</name>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
</context>
<context>
    <name>TRecentFilesMenu</name>
    <message>
        <source>Open &amp;Recent</source>
        <translation>&amp;Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>&amp;%1 %2</source>
        <translation>&amp;%1 %2</translation>
    </message>
    <message>
        <source>Remove &amp;Missing Files</source>
        <translation>&amp;Fehlende Dateien entfernen</translation>
    </message>
    <message>
        <source>Remove the files that no longer exist from the list.</source>
        <translation>Die nicht mehr vorhandenen Dateien aus der Liste entfernen.</translation>
    </message>
    <message>
        <source>&amp;Clear List</source>
        <translation>Liste &amp;leeren</translation>
    </message>
    <message>
        <source>Empty the list of recent data files.</source>
        <translation>Die Liste der zuletzt geöffneten Datendateien leeren.</translation>
    </message>
    <message>
        <source>The data file %1 no longer exists.<byte value="xd"/>
<byte value="xd"/>
Remove it from the recent files?</source>
        <translation>Die Datendatei %1 gibt es nicht mehr.<byte value="xd"/>
<byte value="xd"/>
Aus der Liste der zuletzt geöffneten Dateien entfernen?</translation>
    </message>
</context>
<context>
    <name>TRecordBrowser</name>
    <message>
        <source>Record modified, would you like to save?</source>
        <translation>Der Datensatz wurde geändert. Möchten Sie ihn speichern?</translation>
    </message>
    <message numerus="yes">
        <source>%1   (Filtered: %n records)</source>
        <translation>
            <numerusform>%1   (Gefiltert: %n Datensatz)</numerusform>
            <numerusform>%1   (Gefiltert: %n Datensätze)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1   (Filtered: %n record)</source>
        <translation>
            <numerusform>%1   (Gefiltert: %n Datensatz)</numerusform>
            <numerusform>%1   (Gefiltert: %n Datensätze)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1   (Total: %n records)</source>
        <translation>
            <numerusform>%1   (Gesamt: %n Datensatz)</numerusform>
            <numerusform>%1   (Gesamt: %n Datensätze)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1   (Total: %n record)</source>
        <translation>
            <numerusform>%1   (Gesamt: %n Datensatz)</numerusform>
            <numerusform>%1   (Gesamt: %n Datensätze)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TRecordCommands</name>
    <message>
        <source>Delete selected record?</source>
        <translation>Ausgewählten Datensatz löschen?</translation>
    </message>
</context>
<context>
    <name>TRecordForm</name>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>No record is selected.</source>
        <translation>Kein Datensatz ausgewählt.</translation>
    </message>
</context>
<context>
    <name>TSelectCategoryDialog</name>
    <message>
        <source>Please select the category that you want to copy template from:</source>
        <translation>Bitte wählen Sie die Kategorie, deren Vorlage Sie übernehmen möchten:</translation>
    </message>
    <message>
        <source>Quillery</source>
        <translation>Quillery</translation>
    </message>
</context>
<context>
    <name>TSetPasswordDialog</name>
    <message>
        <source>Set the password for the current data file here:</source>
        <translation>Legen Sie hier das Passwort der aktuellen Datendatei fest:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Passwort:</translation>
    </message>
    <message>
        <source>Again:</source>
        <translation>Wiederholung:</translation>
    </message>
    <message>
        <source>Encrypt the data file with this password</source>
        <translation>Datendatei mit diesem Passwort verschlüsseln</translation>
    </message>
    <message>
        <source>Without encryption, the password only keeps Quillery from opening the file: the records are not encrypted, and other programs can read them. Encrypt anything secret.</source>
        <translation>Ohne Verschlüsselung hält das Passwort nur Quillery davon ab, die Datei zu öffnen: Die Datensätze sind nicht verschlüsselt, und andere Programme können sie lesen. Verschlüsseln Sie alles, was geheim ist.</translation>
    </message>
    <message>
        <source>The two passwords should be identical.</source>
        <translation>Die beiden Passwörter müssen übereinstimmen.</translation>
    </message>
    <message>
        <source>An encrypted data file needs a password. Type one in both boxes, or untick encryption to remove the password.</source>
        <translation>Eine verschlüsselte Datendatei braucht ein Passwort. Geben Sie es in beide Felder ein, oder schalten Sie die Verschlüsselung aus, um das Passwort zu entfernen.</translation>
    </message>
</context>
<context>
    <name>TTemplateEditor</name>
    <message>
        <source>Pictures (%1)</source>
        <translation>Bilder (%1)</translation>
    </message>
    <message>
        <source>New Category</source>
        <translation>Neue Kategorie</translation>
    </message>
    <message>
        <source>Add a new category.</source>
        <translation>Eine neue Kategorie hinzufügen.</translation>
    </message>
    <message>
        <source>Delete Category</source>
        <translation>Kategorie löschen</translation>
    </message>
    <message>
        <source>Deleted selected category.</source>
        <translation>Die ausgewählte Kategorie löschen.</translation>
    </message>
    <message>
        <source>Template Editor</source>
        <translation>Vorlageneditor</translation>
    </message>
    <message>
        <source>Select the category you want to edit, or create a new one.</source>
        <translation>Wählen Sie die Kategorie, die Sie bearbeiten möchten, oder legen Sie eine neue an.</translation>
    </message>
    <message>
        <source>&amp;New Category</source>
        <translation>&amp;Neue Kategorie</translation>
    </message>
    <message>
        <source>Create a new category.</source>
        <translation>Eine neue Kategorie anlegen.</translation>
    </message>
    <message>
        <source>Dele&amp;te Category</source>
        <translation>Kategorie &amp;löschen</translation>
    </message>
    <message>
        <source>Deleted the selected category.</source>
        <translation>Die ausgewählte Kategorie löschen.</translation>
    </message>
    <message>
        <source>&amp;Save &amp;&amp; Close</source>
        <translation>&amp;Speichern &amp;&amp; schließen</translation>
    </message>
    <message>
        <source>Save edit &amp; close window.</source>
        <translation>Änderungen speichern und Fenster schließen.</translation>
    </message>
    <message>
        <source>&amp;Cancel &amp;&amp; Close</source>
        <translation>&amp;Verwerfen &amp;&amp; schließen</translation>
    </message>
    <message>
        <source>Cancel edit &amp; close window.</source>
        <translation>Änderungen verwerfen und Fenster schließen.</translation>
    </message>
    <message>
        <source>Category Name:</source>
        <translation>Name der Kategorie:</translation>
    </message>
    <message>
        <source>Icon:</source>
        <translation>Symbol:</translation>
    </message>
    <message>
        <source>Click to choose an icon for the category.</source>
        <translation>Klicken, um ein Symbol für die Kategorie zu wählen.</translation>
    </message>
    <message>
        <source>List View of Data (drag column header to arrange order):</source>
        <translation>Listenansicht der Daten (Spaltenköpfe ziehen, um die Reihenfolge festzulegen):</translation>
    </message>
    <message>
        <source>Form View of Data:</source>
        <translation>Formularansicht der Daten:</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a picture that can be used as an icon.</source>
        <translation>„%1“ ist kein Bild, das als Symbol verwendet werden kann.</translation>
    </message>
    <message>
        <source>Save modifications to the templates and close the Template Editor?</source>
        <translation>Die Änderungen an den Vorlagen speichern und den Vorlageneditor schließen?</translation>
    </message>
    <message>
        <source>Close the Template Editor without saving modifications?</source>
        <translation>Den Vorlageneditor schließen, ohne die Änderungen zu speichern?</translation>
    </message>
</context>
<context>
    <name>TToolColumn</name>
    <message>
        <source>label</source>
        <translation>Beschriftung</translation>
    </message>
    <message>
        <source>single-line text box</source>
        <translation>einzeiliges Textfeld</translation>
    </message>
    <message>
        <source>multi-line text box</source>
        <translation>mehrzeiliges Textfeld</translation>
    </message>
</context>
<context>
    <name>TUndoCommands</name>
    <message>
        <source>Import</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>Edit Record</source>
        <translation>Datensatz bearbeiten</translation>
    </message>
    <message>
        <source>New Record</source>
        <translation>Neuer Datensatz</translation>
    </message>
    <message>
        <source>Duplicate Record</source>
        <translation>Datensatz duplizieren</translation>
    </message>
    <message>
        <source>Delete Record</source>
        <translation>Datensatz löschen</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Rückgängig: %1</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Wiederholen: %1</translation>
    </message>
    <message>
        <source>The change cannot be taken back: the records have changed since.</source>
        <translation>Die Änderung kann nicht zurückgenommen werden: Die Datensätze haben sich seitdem geändert.</translation>
    </message>
</context>
<context>
    <name>TWizardFrame</name>
    <message>
        <source>&amp;Next</source>
        <translation>&amp;Weiter</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>&amp;Browse</source>
        <translation>&amp;Durchsuchen</translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message>
        <source>Quillery</source>
        <translation>Quillery</translation>
    </message>
</context>
</TS>

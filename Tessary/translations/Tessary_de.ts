<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>FieldBrowser</name>
    <message>
        <source>None</source>
        <extracomment>Choice of format in the field browser: the value as it is</extracomment>
        <translation>Keines</translation>
    </message>
    <message>
        <source>UPPER CASE (upper)</source>
        <extracomment>Choice of format in the field browser; the code in parentheses is what the pattern gets</extracomment>
        <translation>GROSSBUCHSTABEN (upper)</translation>
    </message>
    <message>
        <source>lower case (lower)</source>
        <extracomment>Choice of format in the field browser; the code in parentheses is what the pattern gets</extracomment>
        <translation>kleinbuchstaben (lower)</translation>
    </message>
    <message>
        <source>Each Word Capitalised (title)</source>
        <extracomment>Choice of format in the field browser; the code in parentheses is what the pattern gets</extracomment>
        <translation>Jedes Wort Groß (title)</translation>
    </message>
    <message>
        <source>Latin letters only, without accents (ascii)</source>
        <extracomment>Choice of format in the field browser; the code in parentheses is what the pattern gets</extracomment>
        <translation>Nur lateinische Buchstaben, ohne Akzente (ascii)</translation>
    </message>
    <message>
        <source>Without blanks at both ends (trim)</source>
        <extracomment>Choice of format in the field browser; the code in parentheses is what the pattern gets</extracomment>
        <translation>Ohne Leerzeichen an beiden Enden (trim)</translation>
    </message>
    <message>
        <source>Three digits, with leading zeros (03)</source>
        <extracomment>Choice of format in the field browser; the code in parentheses is what the pattern gets</extracomment>
        <translation>Drei Ziffern, mit führenden Nullen (03)</translation>
    </message>
    <message>
        <source>The first eight characters (1-8)</source>
        <extracomment>Choice of format in the field browser; the code in parentheses is what the pattern gets</extracomment>
        <translation>Die ersten acht Zeichen (1-8)</translation>
    </message>
    <message>
        <source>Insert Field</source>
        <extracomment>Title of the field browser, opened by Insert Field</extracomment>
        <translation>Feld einfügen</translation>
    </message>
    <message>
        <source>Search fields</source>
        <extracomment>Placeholder and accessible name of the search field of the field browser</extracomment>
        <translation>Felder suchen</translation>
    </message>
    <message>
        <source>Field</source>
        <extracomment>Column of the field browser: the field&apos;s name</extracomment>
        <translation>Feld</translation>
    </message>
    <message>
        <source>Value</source>
        <extracomment>Column of the field browser: the field&apos;s value for the selected file</extracomment>
        <translation>Wert</translation>
    </message>
    <message>
        <source>Description</source>
        <extracomment>Column of the field browser: what the field holds</extracomment>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>A named group of the regular expression</source>
        <extracomment>Description of a field in the field browser</extracomment>
        <translation>Eine benannte Gruppe des regulären Ausdrucks</translation>
    </message>
    <message>
        <source>Regex Groups</source>
        <extracomment>Group of fields in the field browser</extracomment>
        <translation>Regex-Gruppen</translation>
    </message>
    <message>
        <source>Set by the script</source>
        <extracomment>Description of a field in the field browser</extracomment>
        <translation>Vom Skript gesetzt</translation>
    </message>
    <message>
        <source>Script Fields</source>
        <extracomment>Group of fields in the field browser</extracomment>
        <translation>Skriptfelder</translation>
    </message>
    <message>
        <source>Fields</source>
        <extracomment>Accessible name of the list of fields in the field browser</extracomment>
        <translation>Felder</translation>
    </message>
    <message>
        <source>Format</source>
        <extracomment>Accessible name of the format choice of the field browser</extracomment>
        <translation>Format</translation>
    </message>
    <message>
        <source>&amp;Insert</source>
        <extracomment>Button of the field browser: inserts the chosen field into the result pattern</extracomment>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>Add files to see their values.</source>
        <translation>Fügen Sie Dateien hinzu, um ihre Werte zu sehen.</translation>
    </message>
    <message>
        <source>Values of “%1”, the selected file</source>
        <translation>Werte von „%1“, der ausgewählten Datei</translation>
    </message>
    <message>
        <source>&amp;Format:</source>
        <extracomment>Label of the format choice of the field browser</extracomment>
        <translation>&amp;Format:</translation>
    </message>
    <message>
        <source>Inserts:</source>
        <extracomment>Label of the line of the field browser that shows what is inserted and its result</extracomment>
        <translation>Fügt ein:</translation>
    </message>
    <message>
        <source>Choose a field</source>
        <extracomment>The Inserts line of the field browser while no field is chosen</extracomment>
        <translation>Wählen Sie ein Feld</translation>
    </message>
    <message>
        <source>%1, which the selected file doesn&apos;t have</source>
        <extracomment>The Inserts line of the field browser when the selected file lacks the field; %1 is the placeholder</extracomment>
        <translation>%1, das die ausgewählte Datei nicht hat</translation>
    </message>
</context>
<context>
    <name>FindBar</name>
    <message>
        <source>Find</source>
        <extracomment>Placeholder of the find bar of a rule editor</extracomment>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Done</source>
        <extracomment>Button that closes the find bar of a rule editor</extracomment>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Find in %1</source>
        <extracomment>Accessible name of the find field of a rule editor; the placeholder is the rule, such as Regex</extracomment>
        <translation>Suchen in %1</translation>
    </message>
</context>
<context>
    <name>FolderAccessManager</name>
    <message>
        <source>Tessary needs your permission to rename files in “%1”. Click Grant Access to allow it.</source>
        <extracomment>Message of the open panel that grants access to a folder; the placeholder is the folder name</extracomment>
        <translation>Tessary braucht Ihre Erlaubnis, Dateien in „%1“ umzubenennen. Klicken Sie auf „Zugriff gewähren“, um sie zu erteilen.</translation>
    </message>
    <message>
        <source>Grant Access</source>
        <extracomment>Button of the open panel that grants access to a folder</extracomment>
        <translation>Zugriff gewähren</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>Tessary Help</source>
        <extracomment>Title of the help window</extracomment>
        <translation>Tessary-Hilfe</translation>
    </message>
    <message>
        <source>Help</source>
        <extracomment>Accessible name of the text of the help window</extracomment>
        <translation>Hilfe</translation>
    </message>
</context>
<context>
    <name>OrderChoices</name>
    <message>
        <source>Name</source>
        <extracomment>Choice of the Order menu: natural order of the file names</extracomment>
        <translation>Name</translation>
    </message>
    <message>
        <source>Date Taken</source>
        <extracomment>Choice of the Order menu: by the date and time a photo was taken</extracomment>
        <translation>Aufnahmedatum</translation>
    </message>
    <message>
        <source>Date Modified</source>
        <extracomment>Choice of the Order menu: by the date and time a file was last changed</extracomment>
        <translation>Änderungsdatum</translation>
    </message>
    <message>
        <source>As Listed</source>
        <extracomment>Choice of the Order menu: the order in which the files were added, or dragged to</extracomment>
        <translation>Wie in der Liste</translation>
    </message>
</context>
<context>
    <name>RecentRulesMenu</name>
    <message>
        <source>Regex</source>
        <extracomment>In the Recent menu: the entry holds a regular expression</extracomment>
        <translation>Regex</translation>
    </message>
    <message>
        <source>JavaScript</source>
        <extracomment>In the Recent menu: the entry holds a script</extracomment>
        <translation>JavaScript</translation>
    </message>
    <message>
        <source>by %1</source>
        <extracomment>In the Recent menu: the order the entry numbers the files in, such as “Date Taken”</extracomment>
        <translation>nach %1</translation>
    </message>
    <message>
        <source>duplicates numbered</source>
        <extracomment>In the Recent menu: the entry numbers files that would get the same name</extracomment>
        <translation>Duplikate nummeriert</translation>
    </message>
</context>
<context>
    <name>RenameFileList</name>
    <message>
        <source>Renamed</source>
        <extracomment>State of a file in the Rename History window</extracomment>
        <translation>Umbenannt</translation>
    </message>
    <message>
        <source>Old name restored</source>
        <extracomment>State of a file in the Rename History window</extracomment>
        <translation>Alter Name wiederhergestellt</translation>
    </message>
    <message>
        <source>Not renamed</source>
        <extracomment>State of a file in the Rename History window: the rename failed for it</extracomment>
        <translation>Nicht umbenannt</translation>
    </message>
    <message>
        <source>Interrupted</source>
        <extracomment>State of a file in the Rename History window</extracomment>
        <translation>Unterbrochen</translation>
    </message>
    <message>
        <source>Old Name</source>
        <extracomment>Column of the files of a rename in the Rename History window</extracomment>
        <translation>Alter Name</translation>
    </message>
    <message>
        <source>New Name</source>
        <extracomment>Column of the files of a rename in the Rename History window</extracomment>
        <translation>Neuer Name</translation>
    </message>
    <message>
        <source>State</source>
        <extracomment>Column of the files of a rename in the Rename History window</extracomment>
        <translation>Zustand</translation>
    </message>
    <message>
        <source>Problem</source>
        <extracomment>Column of the files of a rename in the Rename History window</extracomment>
        <translation>Problem</translation>
    </message>
</context>
<context>
    <name>RenameHistoryList</name>
    <message>
        <source>Done</source>
        <extracomment>State of a rename in the Rename History window</extracomment>
        <translation>Erledigt</translation>
    </message>
    <message>
        <source>Undone</source>
        <extracomment>State of a rename in the Rename History window</extracomment>
        <translation>Rückgängig gemacht</translation>
    </message>
    <message>
        <source>Partly undone</source>
        <extracomment>State of a rename in the Rename History window</extracomment>
        <translation>Teilweise rückgängig gemacht</translation>
    </message>
    <message>
        <source>Interrupted</source>
        <extracomment>State of a rename in the Rename History window</extracomment>
        <translation>Unterbrochen</translation>
    </message>
    <message>
        <source>Not recorded</source>
        <extracomment>Rules column of the Rename History window, for a rename recorded without its rules</extracomment>
        <translation>Nicht aufgezeichnet</translation>
    </message>
    <message>
        <source>Regex %1</source>
        <extracomment>Part of the rules column of the Rename History window; the placeholder is the regular expression</extracomment>
        <translation>Regex %1</translation>
    </message>
    <message>
        <source>Script</source>
        <extracomment>Part of the rules column of the Rename History window</extracomment>
        <translation>Skript</translation>
    </message>
    <message numerus="yes">
        <source>%1 (%n folders)</source>
        <extracomment>Folder column of the Rename History window; %1 is the folder that holds all of them, %n their number</extracomment>
        <translation>
            <numerusform>%1 (%n Ordner)</numerusform>
            <numerusform>%1 (%n Ordner)</numerusform>
        </translation>
    </message>
    <message>
        <source>Date</source>
        <extracomment>Column of the Rename History window</extracomment>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Files</source>
        <extracomment>Column of the Rename History window</extracomment>
        <translation>Dateien</translation>
    </message>
    <message>
        <source>Folder</source>
        <extracomment>Column of the Rename History window</extracomment>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Rules</source>
        <extracomment>Column of the Rename History window</extracomment>
        <translation>Regeln</translation>
    </message>
    <message>
        <source>State</source>
        <extracomment>Column of the Rename History window</extracomment>
        <translation>Zustand</translation>
    </message>
</context>
<context>
    <name>RenameHistoryWindow</name>
    <message>
        <source>Rename History</source>
        <extracomment>Title of the Rename History window</extracomment>
        <translation>Umbenennungsverlauf</translation>
    </message>
    <message>
        <source>Renames</source>
        <extracomment>Accessible name of the list of renames in the Rename History window</extracomment>
        <translation>Umbenennungen</translation>
    </message>
    <message>
        <source>Files of the selected rename</source>
        <extracomment>Accessible name of the list of files in the Rename History window</extracomment>
        <translation>Dateien der gewählten Umbenennung</translation>
    </message>
    <message>
        <source>Files</source>
        <extracomment>Title over the files of the Rename History window when no rename is selected</extracomment>
        <translation>Dateien</translation>
    </message>
    <message numerus="yes">
        <source>Files of the selected rename (%n renamed)</source>
        <extracomment>Title over the files of the Rename History window; %n is the number of files the rename moved</extracomment>
        <translation>
            <numerusform>Dateien der gewählten Umbenennung (%n umbenannt)</numerusform>
            <numerusform>Dateien der gewählten Umbenennung (%n umbenannt)</numerusform>
        </translation>
    </message>
    <message>
        <source>Moving files…</source>
        <extracomment>Rename History window, while an undo or redo moves files</extracomment>
        <translation>Dateien werden verschoben …</translation>
    </message>
    <message>
        <source>&amp;Restore Old Names</source>
        <extracomment>Button of the Rename History window: undoes the selected rename</extracomment>
        <translation>&amp;Alte Namen wiederherstellen</translation>
    </message>
    <message>
        <source>Rename A&amp;gain</source>
        <extracomment>Button of the Rename History window: redoes the selected rename after an undo</extracomment>
        <translation>&amp;Erneut umbenennen</translation>
    </message>
    <message>
        <source>&amp;Show Files</source>
        <extracomment>Button of the Rename History window: opens the file manager at the rename&apos;s folder</extracomment>
        <translation>Dateien &amp;zeigen</translation>
    </message>
    <message>
        <source>&amp;Use These Rules</source>
        <extracomment>Button of the Rename History window: brings the rename&apos;s rules back into the main window</extracomment>
        <translation>Diese Regeln &amp;verwenden</translation>
    </message>
</context>
<context>
    <name>StartupRecovery</name>
    <message>
        <source>A Rename Was Interrupted</source>
        <extracomment>Title of the question at start-up after an interrupted rename</extracomment>
        <translation>Ein Umbenennen wurde unterbrochen</translation>
    </message>
    <message numerus="yes">
        <source>Tessary stopped while renaming %n files. Give every file its old name back, or finish the rename?</source>
        <extracomment>Question at start-up after an interrupted rename</extracomment>
        <translation>
            <numerusform>Tessary wurde beim Umbenennen von %n Datei beendet. Soll sie ihren alten Namen zurückbekommen, oder soll das Umbenennen abgeschlossen werden?</numerusform>
            <numerusform>Tessary wurde beim Umbenennen von %n Dateien beendet. Sollen alle Dateien ihre alten Namen zurückbekommen, oder soll das Umbenennen abgeschlossen werden?</numerusform>
        </translation>
    </message>
    <message>
        <source>Restore Old Names</source>
        <extracomment>Button of the question at start-up after an interrupted rename</extracomment>
        <translation>Alte Namen wiederherstellen</translation>
    </message>
    <message>
        <source>Finish Rename</source>
        <extracomment>Button of the question at start-up after an interrupted rename</extracomment>
        <translation>Umbenennen abschließen</translation>
    </message>
    <message>
        <source>Some Files Need Your Attention</source>
        <extracomment>Title of the report after recovering an interrupted rename</extracomment>
        <translation>Einige Dateien brauchen Ihre Aufmerksamkeit</translation>
    </message>
    <message numerus="yes">
        <source>%n files could not be brought back to one side. Where they are now is listed in the details.</source>
        <extracomment>Report after recovering an interrupted rename; the details list the files</extracomment>
        <translation>
            <numerusform>%n Datei konnte nicht auf eine Seite gebracht werden. Wo sie jetzt liegt, steht in den Details.</numerusform>
            <numerusform>%n Dateien konnten nicht auf eine Seite gebracht werden. Wo sie jetzt liegen, steht in den Details.</numerusform>
        </translation>
    </message>
    <message>
        <source>Checking for interrupted renames…</source>
        <extracomment>Progress at start-up while the rename journal is read</extracomment>
        <translation>Unterbrochene Umbenennungen werden gesucht …</translation>
    </message>
    <message numerus="yes">
        <source>Restoring the old names of %n files…</source>
        <extracomment>Progress while an interrupted rename is rolled back</extracomment>
        <translation>
            <numerusform>Der alte Name einer Datei wird wiederhergestellt …</numerusform>
            <numerusform>Die alten Namen von %n Dateien werden wiederhergestellt …</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Finishing the rename of %n files…</source>
        <extracomment>Progress while an interrupted rename is finished</extracomment>
        <translation>
            <numerusform>Die Umbenennung einer Datei wird abgeschlossen …</numerusform>
            <numerusform>Die Umbenennung von %n Dateien wird abgeschlossen …</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TessaryApp</name>
    <message>
        <source>Update Available</source>
        <extracomment>Title of the message after an update check that found a newer version</extracomment>
        <translation>Update verfügbar</translation>
    </message>
    <message>
        <source>Tessary %1 is available: %2</source>
        <extracomment>Message after an update check; the placeholders are a version and a link</extracomment>
        <translation>Tessary %1 ist verfügbar: %2</translation>
    </message>
    <message>
        <source>No Update</source>
        <extracomment>Title of the message after an update check that found nothing newer</extracomment>
        <translation>Kein Update</translation>
    </message>
    <message>
        <source>Tessary is up to date.</source>
        <extracomment>Message after an update check that found nothing newer</extracomment>
        <translation>Tessary ist auf dem neuesten Stand.</translation>
    </message>
    <message>
        <source>Update Check Failed</source>
        <extracomment>Title of the message after an update check that failed; the message is the reason</extracomment>
        <translation>Suche nach Updates fehlgeschlagen</translation>
    </message>
</context>
<context>
    <name>TessaryCommands</name>
    <message>
        <source>&amp;File</source>
        <extracomment>Menu</extracomment>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <extracomment>Menu</extracomment>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <extracomment>Menu</extracomment>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Add Files…</source>
        <extracomment>File menu; &amp; marks the access key</extracomment>
        <translation>&amp;Dateien hinzufügen …</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <extracomment>File menu; &amp; marks the access key</extracomment>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>&amp;Rename</source>
        <extracomment>File menu; &amp; marks the access key</extracomment>
        <translation>&amp;Umbenennen</translation>
    </message>
    <message>
        <source>Rename &amp;History…</source>
        <extracomment>File menu; &amp; marks the access key</extracomment>
        <translation>Umbenennungs&amp;verlauf …</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <extracomment>File menu; &amp; marks the access key</extracomment>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Tessary &amp;Help</source>
        <extracomment>Help menu; &amp; marks the access key</extracomment>
        <translation>Tessary-&amp;Hilfe</translation>
    </message>
    <message>
        <source>Check for &amp;Updates…</source>
        <extracomment>Help menu; &amp; marks the access key</extracomment>
        <translation>Nach &amp;Aktualisierungen suchen …</translation>
    </message>
    <message>
        <source>&amp;About Tessary</source>
        <extracomment>Help menu; &amp; marks the access key</extracomment>
        <translation>Ü&amp;ber Tessary</translation>
    </message>
    <message>
        <source>Add &amp;Folder Contents…</source>
        <extracomment>File menu; &amp; marks the access key</extracomment>
        <translation>&amp;Ordnerinhalt hinzufügen …</translation>
    </message>
</context>
<context>
    <name>TessaryFileTableModel</name>
    <message>
        <source>Renamed</source>
        <extracomment>Accessibility label of the mark of a renamed file in the file table</extracomment>
        <translation>Umbenannt</translation>
    </message>
    <message>
        <source>Original</source>
        <extracomment>Column of the file table: the file&apos;s name when it was added</extracomment>
        <translation>Original</translation>
    </message>
    <message>
        <source>Result</source>
        <extracomment>Column of the file table: the new name</extracomment>
        <translation>Ergebnis</translation>
    </message>
    <message>
        <source>Error: %1</source>
        <extracomment>Accessibility description of a file with an error; the placeholder is the error</extracomment>
        <translation>Fehler: %1</translation>
    </message>
    <message>
        <source>Warning: %1</source>
        <extracomment>Accessibility description of a file with a warning; the placeholder is the warning</extracomment>
        <translation>Warnung: %1</translation>
    </message>
</context>
<context>
    <name>TessaryFileTableView</name>
    <message>
        <source>Files</source>
        <extracomment>Accessibility label of the file table</extracomment>
        <translation>Dateien</translation>
    </message>
    <message>
        <source>Show in File Manager</source>
        <extracomment>Context menu of the file table</extracomment>
        <translation>Im Dateimanager zeigen</translation>
    </message>
    <message>
        <source>Remove from List</source>
        <extracomment>Context menu of the file table</extracomment>
        <translation>Aus der Liste entfernen</translation>
    </message>
    <message>
        <source>Preview</source>
        <extracomment>Context menu of the file table</extracomment>
        <translation>Vorschau</translation>
    </message>
</context>
<context>
    <name>TessaryModel</name>
    <message>
        <source>No Files Were Renamed</source>
        <extracomment>Alert title after Rename</extracomment>
        <translation>Es wurden keine Dateien umbenannt</translation>
    </message>
    <message>
        <source>Some Files Weren&apos;t Renamed</source>
        <extracomment>Alert title after Rename</extracomment>
        <translation>Einige Dateien wurden nicht umbenannt</translation>
    </message>
    <message>
        <source>Files not renamed: %1 of %2. The reasons are shown in the file list.</source>
        <extracomment>Alert message after Rename; the placeholders are the number of failed files and of all files</extracomment>
        <translation>Nicht umbenannte Dateien: %1 von %2. Die Gründe stehen in der Dateiliste.</translation>
    </message>
    <message>
        <source>“%1”</source>
        <extracomment>A folder name in quotes, in the list of folders of the alert after Rename</extracomment>
        <translation>„%1“</translation>
    </message>
    <message>
        <source>Tessary wasn&apos;t allowed to change files in the folder %1. Click Rename again to grant access.</source>
        <extracomment>Alert message after Rename; the placeholder is a folder name in quotes</extracomment>
        <translation>Tessary durfte im Ordner %1 keine Dateien ändern. Klicken Sie erneut auf „Umbenennen“, um Zugriff zu gewähren.</translation>
    </message>
    <message>
        <source>Tessary wasn&apos;t allowed to change files in these folders: %1. Click Rename again to grant access.</source>
        <extracomment>Alert message after Rename; the placeholder is a list of folder names, each in quotes</extracomment>
        <translation>Tessary durfte in diesen Ordnern keine Dateien ändern: %1. Klicken Sie erneut auf „Umbenennen“, um Zugriff zu gewähren.</translation>
    </message>
    <message>
        <source>No Files Were Restored</source>
        <extracomment>Alert title after Undo, when nothing could be restored</extracomment>
        <translation>Es wurden keine Dateien wiederhergestellt</translation>
    </message>
    <message>
        <source>Some Files Weren&apos;t Restored</source>
        <extracomment>Alert title after Undo</extracomment>
        <translation>Einige Dateien wurden nicht wiederhergestellt</translation>
    </message>
    <message>
        <source>The Rename Wasn&apos;t Recorded</source>
        <extracomment>Alert title after Rename when the journal could not record its end</extracomment>
        <translation>Das Umbenennen wurde nicht festgehalten</translation>
    </message>
    <message>
        <source>The Undo Wasn&apos;t Recorded</source>
        <extracomment>Alert title after Undo when the journal could not record its end</extracomment>
        <translation>Das Rückgängigmachen wurde nicht festgehalten</translation>
    </message>
    <message>
        <source>No Files Were Renamed Again</source>
        <extracomment>Alert title after Redo, when nothing could be renamed</extracomment>
        <translation>Keine Dateien wurden erneut umbenannt</translation>
    </message>
    <message>
        <source>The reasons are shown in the Rename History window.</source>
        <extracomment>End of the alert message after Undo or Redo of a rename not in the file list</extracomment>
        <translation>Die Gründe stehen im Fenster „Umbenennungsverlauf“.</translation>
    </message>
    <message>
        <source>The reasons are shown in the file list.</source>
        <translation>Die Gründe stehen in der Dateiliste.</translation>
    </message>
    <message>
        <source>Files not restored to their original names: %1 of %2.</source>
        <extracomment>Alert message after Undo; the placeholders are the number of failed files and of all files</extracomment>
        <translation>Dateien, die ihren ursprünglichen Namen nicht zurückerhielten: %1 von %2.</translation>
    </message>
    <message>
        <source>Some Files Weren&apos;t Renamed Again</source>
        <extracomment>Alert title after Redo</extracomment>
        <translation>Einige Dateien wurden nicht erneut umbenannt</translation>
    </message>
    <message>
        <source>Files not given their new names again: %1 of %2.</source>
        <extracomment>Alert message after Redo; the placeholders are the number of failed files and of all files</extracomment>
        <translation>Dateien, die ihren neuen Namen nicht wieder erhielten: %1 von %2.</translation>
    </message>
    <message>
        <source>The Redo Wasn&apos;t Recorded</source>
        <extracomment>Alert title after Redo when the journal could not record its end</extracomment>
        <translation>Das Wiederholen wurde nicht festgehalten</translation>
    </message>
    <message>
        <source>Some Fields Can&apos;t Be Read</source>
        <extracomment>Title of the alert when a part of the installation that reads file contents is missing or broken</extracomment>
        <translation>Einige Felder können nicht gelesen werden</translation>
    </message>
</context>
<context>
    <name>TessaryRulesForm</name>
    <message>
        <source>Regex</source>
        <extracomment>Section header and accessibility label of the regular expression editor</extracomment>
        <translation>Regex</translation>
    </message>
    <message>
        <source>JavaScript</source>
        <extracomment>Section header and accessibility label of the script editor</extracomment>
        <translation>JavaScript</translation>
    </message>
    <message>
        <source>Result Pattern</source>
        <extracomment>Section header and accessibility label of the result pattern editor</extracomment>
        <translation>Ergebnismuster</translation>
    </message>
    <message>
        <source>Optional. Regular expression (PCRE2 syntax) that must match the whole file name without the extension. Use `(?P&lt;fieldname&gt;.*)` to extract fields.</source>
        <extracomment>Help text under the regular expression editor; the parts in backquotes are shown as code</extracomment>
        <translation>Optional. Regulärer Ausdruck (PCRE2-Syntax), der auf den ganzen Dateinamen ohne Endung passen muss. Mit `(?P&lt;feldname&gt;.*)` werden Felder ausgelesen.</translation>
    </message>
    <message>
        <source>Optional. Runs for every file. Use `fields[&quot;fieldname&quot;]` to get and set fields, and `context` to keep values between files. `console.log()` output is shown under each file.</source>
        <extracomment>Help text under the script editor; the parts in backquotes are shown as code</extracomment>
        <translation>Optional. Läuft für jede Datei. Mit `fields[&quot;feldname&quot;]` lesen und setzen Sie Felder, mit `context` behalten Sie Werte zwischen Dateien. Ausgaben von `console.log()` erscheinen unter jeder Datei.</translation>
    </message>
    <message>
        <source>Files Renamed</source>
        <extracomment>Shown in place of the rule editors once the files are renamed</extracomment>
        <translation>Dateien umbenannt</translation>
    </message>
    <message>
        <source>Construct the new file name from fields, like `{filename}` or `{row}`, formatted as in `{row:03}` or `{filename:upper}`. The extension is kept.</source>
        <extracomment>Help text under the result pattern editor; the parts in backquotes are shown as code</extracomment>
        <translation>Bilden Sie den neuen Dateinamen aus Feldern wie `{filename}` oder `{row}`, formatiert wie in `{row:03}` oder `{filename:upper}`. Die Endung bleibt erhalten.</translation>
    </message>
    <message>
        <source>Order</source>
        <extracomment>Accessibility label of the choice of the order that numbers the files</extracomment>
        <translation>Reihenfolge</translation>
    </message>
    <message>
        <source>Numbers the files (`{row}`) and runs the script in this order. With As Listed, drag files in the list to reorder them.</source>
        <extracomment>Help text under the order choice; the parts in backquotes are shown as code</extracomment>
        <translation>Nummeriert die Dateien (`{row}`) und führt das Skript in dieser Reihenfolge aus. Bei „Wie in der Liste“ ziehen Sie Dateien in der Liste, um sie umzuordnen.</translation>
    </message>
    <message>
        <source>Field…</source>
        <extracomment>Last choice of the Order menu: opens a chooser of the fields to order by</extracomment>
        <translation>Feld …</translation>
    </message>
    <message>
        <source>Order by Field</source>
        <extracomment>Title of the chooser of the fields to order by</extracomment>
        <translation>Nach Feld ordnen</translation>
    </message>
    <message>
        <source>Number the files by these fields, separated by commas. Files without the first come last.</source>
        <extracomment>Label of the chooser of the fields to order by</extracomment>
        <translation>Die Dateien nach diesen Feldern nummerieren, durch Kommas getrennt. Dateien ohne das erste Feld kommen zuletzt.</translation>
    </message>
    <message>
        <source>&amp;Number files that would get the same name</source>
        <extracomment>Check box of the rules: files that would get a taken name get &quot; (2)&quot;, &quot; (3)&quot; … instead of an error</extracomment>
        <translation>Dateien &amp;nummerieren, die denselben Namen bekämen</translation>
    </message>
    <message>
        <source>Re&amp;gex</source>
        <extracomment>Section header of the regular expression editor; &amp; marks the access key</extracomment>
        <translation>Re&amp;gex</translation>
    </message>
    <message>
        <source>&amp;JavaScript</source>
        <extracomment>Section header of the script editor; &amp; marks the access key</extracomment>
        <translation>&amp;JavaScript</translation>
    </message>
    <message>
        <source>Result &amp;Pattern</source>
        <extracomment>Section header of the result pattern editor; &amp; marks the access key</extracomment>
        <translation>Ergebnis&amp;muster</translation>
    </message>
    <message>
        <source>&amp;Order:</source>
        <extracomment>Label of the choice of the order that numbers the files</extracomment>
        <translation>&amp;Reihenfolge:</translation>
    </message>
    <message>
        <source>Error at character %2: %1</source>
        <extracomment>Under the regular expression editor; %1 is the parser&apos;s error, %2 the character position</extracomment>
        <translation>Fehler bei Zeichen %2: %1</translation>
    </message>
    <message>
        <source>Insert Fiel&amp;d…</source>
        <extracomment>Button of the Result Pattern section that opens the field browser</extracomment>
        <translation>&amp;Feld einfügen …</translation>
    </message>
    <message>
        <source>Rules</source>
        <extracomment>Accessible name of the area that holds the three rules</extracomment>
        <translation>Regeln</translation>
    </message>
</context>
<context>
    <name>TessarySettingsWindow</name>
    <message>
        <source>Tessary Settings</source>
        <extracomment>Title of the settings window</extracomment>
        <translation>Tessary-Einstellungen</translation>
    </message>
    <message>
        <source>About</source>
        <extracomment>The settings window&apos;s one tab</extracomment>
        <translation>Über</translation>
    </message>
    <message>
        <source>We made Tessary because renaming a folder full of photos one by one is no way to spend an evening. We hope it gives you some of yours back.</source>
        <extracomment>The note of the About tab</extracomment>
        <translation>Wir haben Tessary gebaut, weil man einen Abend nicht damit verbringen sollte, einen Ordner voller Fotos einzeln umzubenennen. Wir hoffen, Sie bekommen damit ein paar Ihrer Abende zurück.</translation>
    </message>
    <message>
        <source>Questions and answers</source>
        <extracomment>Link of the About tab to the product&apos;s page with questions and answers</extracomment>
        <translation>Fragen und Antworten</translation>
    </message>
    <message>
        <source>Write to support</source>
        <extracomment>Link of the About tab that writes an e-mail to support</extracomment>
        <translation>An den Support schreiben</translation>
    </message>
    <message>
        <source>Subscribe to Newsletter</source>
        <extracomment>Button of the About tab</extracomment>
        <translation>Newsletter abonnieren</translation>
    </message>
    <message>
        <source>This translation was made with AI.</source>
        <extracomment>Shown in the About tab of a translated Tessary</extracomment>
        <translation>Diese Übersetzung wurde mit KI erstellt.</translation>
    </message>
    <message>
        <source>Report a problem…</source>
        <extracomment>Link of the About tab of a translated Tessary that writes an e-mail to support</extracomment>
        <translation>Ein Problem melden …</translation>
    </message>
</context>
<context>
    <name>TessaryView</name>
    <message>
        <source>Rename</source>
        <translation>Umbenennen</translation>
    </message>
    <message>
        <source>Workflow</source>
        <extracomment>Name of the toolbar, as the toolbar&apos;s context menu shows it</extracomment>
        <translation>Arbeitsablauf</translation>
    </message>
    <message>
        <source>Add Files</source>
        <extracomment>Toolbar button
----------
Title of the open panel that adds files</extracomment>
        <translation>Dateien hinzufügen</translation>
    </message>
    <message>
        <source>Add files to rename (%1)</source>
        <extracomment>Tooltip of the Add Files button; the placeholder is its shortcut</extracomment>
        <translation>Dateien zum Umbenennen hinzufügen (%1)</translation>
    </message>
    <message>
        <source>New</source>
        <extracomment>Toolbar button</extracomment>
        <translation>Neu</translation>
    </message>
    <message>
        <source>Recent</source>
        <extracomment>Toolbar menu</extracomment>
        <translation>Zuletzt verwendet</translation>
    </message>
    <message>
        <source>Use rules from a previous rename</source>
        <extracomment>Tooltip of the Recent menu</extracomment>
        <translation>Regeln eines früheren Umbenennens verwenden</translation>
    </message>
    <message>
        <source>Undo</source>
        <extracomment>Toolbar button</extracomment>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Give the renamed files their original names back</source>
        <extracomment>Tooltip of the Undo button</extracomment>
        <translation>Den umbenannten Dateien ihre ursprünglichen Namen zurückgeben</translation>
    </message>
    <message>
        <source>Drop files here</source>
        <extracomment>Shown in the file table while the list is empty</extracomment>
        <translation>Dateien hierher ziehen</translation>
    </message>
    <message>
        <source>Reading files…</source>
        <extracomment>Shown in the file table and the status bar while files are read</extracomment>
        <translation>Dateien werden gelesen …</translation>
    </message>
    <message>
        <source>Renaming…</source>
        <extracomment>Shown in the file table while files are renamed</extracomment>
        <translation>Wird umbenannt …</translation>
    </message>
    <message>
        <source>Start over; renamed files keep their new names (%1)</source>
        <extracomment>Tooltip of the New button after a rename; the placeholder is its shortcut</extracomment>
        <translation>Neu beginnen; umbenannte Dateien behalten ihre neuen Namen (%1)</translation>
    </message>
    <message>
        <source>Clear the file list (%1)</source>
        <extracomment>Tooltip of the New button; the placeholder is its shortcut</extracomment>
        <translation>Die Dateiliste leeren (%1)</translation>
    </message>
    <message>
        <source>Rename files according to the pattern (%1)</source>
        <extracomment>Tooltip of the Rename button; the placeholder is its shortcut</extracomment>
        <translation>Dateien nach dem Muster umbenennen (%1)</translation>
    </message>
    <message numerus="yes">
        <source>%n files</source>
        <extracomment>Status bar count of all files</extracomment>
        <translation>
            <numerusform>%n Datei</numerusform>
            <numerusform>%n Dateien</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n renamed</source>
        <extracomment>Status bar count of the renamed files</extracomment>
        <translation>
            <numerusform>%n umbenannt</numerusform>
            <numerusform>%n umbenannt</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n to rename</source>
        <extracomment>Status bar count of the files whose name changes</extracomment>
        <translation>
            <numerusform>%n umzubenennen</numerusform>
            <numerusform>%n umzubenennen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n errors</source>
        <extracomment>Status bar count of the files with an error</extracomment>
        <translation>
            <numerusform>%n Fehler</numerusform>
            <numerusform>%n Fehler</numerusform>
        </translation>
    </message>
    <message>
        <source>Updating…</source>
        <extracomment>Status bar while the new names are computed</extracomment>
        <translation>Wird aktualisiert …</translation>
    </message>
    <message numerus="yes">
        <source>%n warnings</source>
        <extracomment>Status bar count of the files with a warning, such as a placeholder that names no field</extracomment>
        <translation>
            <numerusform>%n Warnung</numerusform>
            <numerusform>%n Warnungen</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Undo Rename</source>
        <extracomment>Edit menu; &amp; marks the access key</extracomment>
        <translation>&amp;Rückgängig: Umbenennen</translation>
    </message>
    <message>
        <source>&amp;Redo Rename</source>
        <extracomment>Edit menu; &amp; marks the access key</extracomment>
        <translation>&amp;Wiederholen: Umbenennen</translation>
    </message>
    <message>
        <source>Open Re&amp;cent</source>
        <extracomment>File menu; &amp; marks the access key</extracomment>
        <translation>&amp;Zuletzt verwendet</translation>
    </message>
    <message>
        <source>Clear the List?</source>
        <extracomment>Title of the question before New clears a list that was not renamed</extracomment>
        <translation>Liste leeren?</translation>
    </message>
    <message numerus="yes">
        <source>%n files are listed and haven&apos;t been renamed. The rules stay.</source>
        <extracomment>Question before New clears a list that was not renamed; %n is the number of listed files</extracomment>
        <translation>
            <numerusform>%n Datei ist aufgeführt und wurde nicht umbenannt. Die Regeln bleiben.</numerusform>
            <numerusform>%n Dateien sind aufgeführt und wurden nicht umbenannt. Die Regeln bleiben.</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Clear List</source>
        <extracomment>Button of the question before New clears the list; &amp; marks the access key</extracomment>
        <translation>Liste &amp;leeren</translation>
    </message>
    <message>
        <source>Open F&amp;iles…</source>
        <extracomment>Button in the empty file table</extracomment>
        <translation>Dateien &amp;öffnen …</translation>
    </message>
    <message>
        <source>Add Folder &amp;Contents…</source>
        <extracomment>Button in the empty file table; &amp; marks the access key</extracomment>
        <translation>Ordner&amp;inhalt hinzufügen …</translation>
    </message>
    <message>
        <source>Add Folder Contents</source>
        <extracomment>Title of the panel that chooses a folder whose files are added</extracomment>
        <translation>Ordnerinhalt hinzufügen</translation>
    </message>
    <message>
        <source>Add the Folders or Their Files?</source>
        <extracomment>Title of the question after folders were dropped</extracomment>
        <translation>Die Ordner oder ihre Dateien hinzufügen?</translation>
    </message>
    <message numerus="yes">
        <source>%n folders were dropped. Rename the folders themselves, or the files inside them and their folders?</source>
        <extracomment>Question after folders were dropped; %n is their number</extracomment>
        <translation>
            <numerusform>%n Ordner wurde abgelegt. Den Ordner selbst umbenennen oder die Dateien darin und in seinen Ordnern?</numerusform>
            <numerusform>%n Ordner wurden abgelegt. Die Ordner selbst umbenennen oder die Dateien darin und in ihren Ordnern?</numerusform>
        </translation>
    </message>
    <message>
        <source>Add the &amp;Folders</source>
        <extracomment>Button of the question after folders were dropped; &amp; marks the access key</extracomment>
        <translation>Die &amp;Ordner hinzufügen</translation>
    </message>
    <message>
        <source>Add the Files &amp;Inside</source>
        <extracomment>Button of the question after folders were dropped; &amp; marks the access key</extracomment>
        <translation>Die &amp;Dateien darin hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Remember my answer</source>
        <extracomment>Check box of the question after folders were dropped; &amp; marks the access key</extracomment>
        <translation>Antwort &amp;merken</translation>
    </message>
</context>
<context>
    <name>Updater</name>
    <message>
        <source>The update feed lists no release.</source>
        <extracomment>Why an update check failed</extracomment>
        <translation>Der Update-Feed nennt keine Version.</translation>
    </message>
</context>
</TS>

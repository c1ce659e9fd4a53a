<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>TessaryKit</name>
    <message numerus="yes">
        <source>%n hour(s)</source>
        <extracomment>A part of a duration, like &quot;2 hours, 5 minutes&quot;</extracomment>
        <translation>
            <numerusform>%n Stunde</numerusform>
            <numerusform>%n Stunden</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n minute(s)</source>
        <extracomment>A part of a duration, like &quot;2 hours, 5 minutes&quot;</extracomment>
        <translation>
            <numerusform>%n Minute</numerusform>
            <numerusform>%n Minuten</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n second(s)</source>
        <extracomment>A part of a duration, like &quot;1 minute, 30 seconds&quot;</extracomment>
        <translation>
            <numerusform>%n Sekunde</numerusform>
            <numerusform>%n Sekunden</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 The file was left as “%2” in the same folder.</source>
        <extracomment>Error shown for a file in the file list; the placeholders are the system&apos;s error message and the temporary file name</extracomment>
        <translation>%1 Die Datei liegt jetzt als „%2“ im selben Ordner.</translation>
    </message>
    <message>
        <source>Cancelled</source>
        <extracomment>Error shown for a file in the file list when computing names was cancelled</extracomment>
        <translation>Abgebrochen</translation>
    </message>
    <message>
        <source>The JavaScript engine returned an invalid result</source>
        <extracomment>Error shown for a file in the file list</extracomment>
        <translation>Die JavaScript-Engine hat ein ungültiges Ergebnis geliefert</translation>
    </message>
    <message>
        <source>Not evaluated because the script timed out on a previous file</source>
        <extracomment>Error shown for a file in the file list</extracomment>
        <translation>Nicht ausgewertet, weil das Skript bei einer vorherigen Datei die Zeit überschritten hat</translation>
    </message>
    <message>
        <source>The script didn&apos;t finish within %1. Check it for endless loops.</source>
        <extracomment>Error shown for a file in the file list; the placeholder is a duration, like 5 seconds</extracomment>
        <translation>Das Skript ist nicht innerhalb von %1 fertig geworden. Prüfen Sie es auf Endlosschleifen.</translation>
    </message>
    <message>
        <source>The JavaScript engine stopped unexpectedly (exit code %1)</source>
        <extracomment>Error shown for a file in the file list; the placeholder is the helper process&apos;s exit code</extracomment>
        <translation>Die JavaScript-Engine wurde unerwartet beendet (Exit-Code %1)</translation>
    </message>
    <message>
        <source>Failed to start the JavaScript engine: %1</source>
        <extracomment>Error shown for every file in the file list; the placeholder is the system&apos;s error message</extracomment>
        <translation>Die JavaScript-Engine konnte nicht gestartet werden: %1</translation>
    </message>
    <message>
        <source>The rename journal can&apos;t be written (%1), so nothing was renamed.</source>
        <extracomment>Whole-operation error; the placeholder is the system&apos;s reason</extracomment>
        <translation>Das Umbenennungsprotokoll kann nicht geschrieben werden (%1), daher wurde nichts umbenannt.</translation>
    </message>
    <message>
        <source>“%1” was replaced or changed since the rename, so it keeps that name.</source>
        <extracomment>Error shown for a file after Undo; the placeholder is the file&apos;s new name</extracomment>
        <translation>„%1“ wurde seit dem Umbenennen ersetzt oder geändert und behält deshalb diesen Namen.</translation>
    </message>
    <message>
        <source>an item with that name already exists</source>
        <extracomment>Completes &quot;“a.txt” couldn&apos;t be renamed to “b.txt” because …&quot;</extracomment>
        <translation>bereits ein Objekt mit diesem Namen existiert</translation>
    </message>
    <message>
        <source>the folder it was to be moved into doesn&apos;t exist</source>
        <extracomment>Completes &quot;“a.txt” couldn&apos;t be renamed to “b.txt” because …&quot;</extracomment>
        <translation>der Zielordner nicht existiert</translation>
    </message>
    <message>
        <source>it no longer exists</source>
        <translation>sie nicht mehr existiert</translation>
    </message>
    <message>
        <source>you don&apos;t have permission to change it</source>
        <extracomment>Completes &quot;“a.txt” couldn&apos;t be renamed to “b.txt” because …&quot;</extracomment>
        <translation>Sie keine Berechtigung haben, sie zu ändern</translation>
    </message>
    <message>
        <source>the name is too long for this file system</source>
        <extracomment>Completes &quot;“a.txt” couldn&apos;t be renamed to “b.txt” because …&quot;</extracomment>
        <translation>der Name für dieses Dateisystem zu lang ist</translation>
    </message>
    <message>
        <source>the new location is on another volume</source>
        <extracomment>Completes &quot;“a.txt” couldn&apos;t be renamed to “b.txt” because …&quot;</extracomment>
        <translation>der neue Ort auf einem anderen Laufwerk liegt</translation>
    </message>
    <message>
        <source>the volume is read-only</source>
        <extracomment>Completes &quot;“a.txt” couldn&apos;t be renamed to “b.txt” because …&quot;</extracomment>
        <translation>das Laufwerk schreibgeschützt ist</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <extracomment>Completes &quot;“a.txt” couldn&apos;t be renamed to “b.txt” because …&quot;</extracomment>
        <translation>das Laufwerk voll ist</translation>
    </message>
    <message>
        <source>it is in use</source>
        <extracomment>Completes &quot;“a.txt” couldn&apos;t be renamed to “b.txt” because …&quot;</extracomment>
        <translation>sie gerade verwendet wird</translation>
    </message>
    <message>
        <source>of an error: %1</source>
        <extracomment>Completes &quot;“a.txt” couldn&apos;t be renamed to “b.txt” because …&quot;; the placeholder is the system&apos;s error</extracomment>
        <translation>ein Fehler aufgetreten ist: %1</translation>
    </message>
    <message>
        <source>“%1” couldn&apos;t be renamed to “%2” because %3.</source>
        <extracomment>Error shown for a file in the file list; the placeholders are the current name, the new name and the reason</extracomment>
        <translation>„%1“ konnte nicht in „%2“ umbenannt werden, weil %3.</translation>
    </message>
    <message>
        <source>The new name is empty</source>
        <extracomment>Error shown for a file in the file list</extracomment>
        <translation>Der neue Name ist leer</translation>
    </message>
    <message>
        <source>“%1” can&apos;t be used as a file name</source>
        <extracomment>Error shown for a file in the file list; the placeholder is the new name, . or ..</extracomment>
        <translation>„%1“ kann nicht als Dateiname verwendet werden</translation>
    </message>
    <message>
        <source>The new name “%1” contains “/” or “:”, which can&apos;t be used in file names</source>
        <extracomment>Error shown for a file in the file list; the placeholder is the new name</extracomment>
        <translation>Der neue Name „%1“ enthält „/“ oder „:“, die in Dateinamen nicht erlaubt sind</translation>
    </message>
    <message>
        <source>The new name contains line breaks or other control characters</source>
        <extracomment>Error shown for a file in the file list</extracomment>
        <translation>Der neue Name enthält Zeilenumbrüche oder andere Steuerzeichen</translation>
    </message>
    <message>
        <source>The new name is too long (%1 bytes, the limit is 255)</source>
        <extracomment>Error shown for a file in the file list; the placeholder is the length of the new name in bytes</extracomment>
        <translation>Der neue Name ist zu lang (%1 Bytes, erlaubt sind 255)</translation>
    </message>
    <message>
        <source>The regular expression doesn&apos;t match the whole file name</source>
        <extracomment>Error shown for a file in the file list</extracomment>
        <translation>Der reguläre Ausdruck passt nicht auf den ganzen Dateinamen</translation>
    </message>
    <message>
        <source>The script failed</source>
        <extracomment>Error shown for a file in the file list when the JavaScript engine gave no reason</extracomment>
        <translation>Das Skript ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>Another file in the list would also be named “%1”</source>
        <extracomment>Error shown for a file in the file list; the placeholder is the new name</extracomment>
        <translation>Eine andere Datei der Liste würde ebenfalls „%1“ heißen</translation>
    </message>
    <message>
        <source>“%1” already exists in this folder</source>
        <extracomment>Error shown for a file in the file list; the placeholder is the new name</extracomment>
        <translation>„%1“ existiert in diesem Ordner bereits</translation>
    </message>
    <message>
        <source>“%1” was found neither under its original name, nor its new name, nor its temporary name.</source>
        <extracomment>Error after recovering an interrupted rename; the placeholder is the file&apos;s original name</extracomment>
        <translation>„%1“ wurde weder unter dem ursprünglichen noch unter dem neuen noch unter dem vorläufigen Namen gefunden.</translation>
    </message>
    <message>
        <source>%1 It is now “%2”.</source>
        <extracomment>Error after recovering an interrupted rename; %1 says what failed and why, %2 is where the file is now</extracomment>
        <translation>%1 Sie heißt jetzt „%2“.</translation>
    </message>
    <message>
        <source>The interrupted rename of this file could not be completed.</source>
        <extracomment>Error shown for a file whose interrupted rename could not be completed</extracomment>
        <translation>Das unterbrochene Umbenennen dieser Datei konnte nicht abgeschlossen werden.</translation>
    </message>
    <message>
        <source>“%1” kept its name because “%2” couldn&apos;t be renamed.</source>
        <extracomment>Error shown for a file in the file list; %1 is this file&apos;s name, %2 the name of the file of the same swap, rotation or chain whose move failed</extracomment>
        <translation>„%1“ hat seinen Namen behalten, weil „%2“ nicht umbenannt werden konnte.</translation>
    </message>
    <message>
        <source>Not evaluated because the script used more memory than allowed on a previous file</source>
        <extracomment>Error shown for a file in the file list</extracomment>
        <translation>Nicht ausgewertet, weil das Skript bei einer vorigen Datei mehr Speicher als erlaubt belegt hat</translation>
    </message>
    <message>
        <source>The script used more memory than allowed.</source>
        <extracomment>Error shown for a file in the file list</extracomment>
        <translation>Das Skript hat mehr Speicher als erlaubt belegt.</translation>
    </message>
    <message>
        <source>The JavaScript engine was stopped by signal %1 (%2)</source>
        <extracomment>Error shown for a file in the file list; the placeholders are the signal&apos;s number and name</extracomment>
        <translation>Die JavaScript-Engine wurde durch Signal %1 (%2) beendet</translation>
    </message>
    <message>
        <source>The files were renamed, but the rename journal can&apos;t record that the rename finished (%1). Finish the interrupted rename when asked, or run “tessary-cli recover --forward”.</source>
        <extracomment>Whole-operation error after a rename; the placeholder is the system&apos;s reason</extracomment>
        <translation>Die Dateien wurden umbenannt, aber das Umbenennungsprotokoll kann nicht festhalten, dass das Umbenennen abgeschlossen ist (%1). Schließen Sie das unterbrochene Umbenennen ab, wenn Sie gefragt werden, oder führen Sie „tessary-cli recover --forward“ aus.</translation>
    </message>
    <message>
        <source>The old names are back, but the rename journal can&apos;t record it (%1). Run “tessary-cli recover” to record it.</source>
        <extracomment>Whole-operation error after Undo; the placeholder is the system&apos;s reason</extracomment>
        <translation>Die alten Namen sind wiederhergestellt, aber das Umbenennungsprotokoll kann das nicht festhalten (%1). Führen Sie „tessary-cli recover“ aus, um es nachzuholen.</translation>
    </message>
    <message>
        <source>The new name contains a lone surrogate (half of a character), which can&apos;t be written in a file name</source>
        <extracomment>Error shown for a file in the file list; a script can make such names</extracomment>
        <translation>Der neue Name enthält ein einzelnes Surrogat (ein halbes Zeichen), das in keinem Dateinamen stehen kann</translation>
    </message>
    <message>
        <source>“%1” can&apos;t be renamed: its name, or a name in its folder that reads the same, isn&apos;t valid UTF-8 text</source>
        <extracomment>Error shown for a file in the file list; the placeholder is the name as shown, with � marks</extracomment>
        <translation>„%1“ kann nicht umbenannt werden: Sein Name oder ein gleich lautender Name im selben Ordner ist kein gültiger UTF-8-Text</translation>
    </message>
    <message>
        <source>The rename journal can&apos;t be locked (%1), so nothing was changed.</source>
        <extracomment>Whole-operation error; the placeholder is the system&apos;s reason</extracomment>
        <translation>Das Umbenennungsprotokoll kann nicht gesperrt werden (%1), daher wurde nichts geändert.</translation>
    </message>
    <message>
        <source>Another rename is in progress, in Tessary or in a terminal. Try again when it has finished.</source>
        <extracomment>Whole-operation error when another rename, undo or recovery is running</extracomment>
        <translation>Gerade läuft ein anderes Umbenennen, in Tessary oder in einem Terminal. Versuchen Sie es erneut, wenn es abgeschlossen ist.</translation>
    </message>
    <message>
        <source>“%1” is still “%2”.</source>
        <extracomment>Error when an interrupted rename could not be recovered; %1 is the file&apos;s original name, %2 where it is now</extracomment>
        <translation>„%1“ heißt noch „%2“.</translation>
    </message>
    <message>
        <source>The rename journal can&apos;t be written (%1), so nothing was recovered.</source>
        <extracomment>Error when recovering an interrupted rename; the placeholder is the system&apos;s reason</extracomment>
        <translation>Das Umbenennungsprotokoll kann nicht geschrieben werden (%1), daher wurde nichts wiederhergestellt.</translation>
    </message>
    <message>
        <source>The rename journal can&apos;t record the recovery (%1).</source>
        <extracomment>Error after recovering an interrupted rename; the placeholder is the system&apos;s reason</extracomment>
        <translation>Das Umbenennungsprotokoll kann die Wiederherstellung nicht festhalten (%1).</translation>
    </message>
    <message>
        <source>Tessary made a mistake preparing this rename, so nothing was renamed.</source>
        <extracomment>Error shown for a file when a rename was refused because of an internal fault</extracomment>
        <translation>Tessary hat beim Vorbereiten dieser Umbenennung einen Fehler gemacht, daher wurde nichts umbenannt.</translation>
    </message>
    <message>
        <source>The files were moved, but the disk didn&apos;t confirm that their names are stored (%1). Check the disk before relying on them.</source>
        <extracomment>Whole-operation error after a rename or undo; the placeholder is the system&apos;s reason</extracomment>
        <translation>Die Dateien wurden verschoben, aber der Datenträger hat nicht bestätigt, dass ihre Namen gespeichert sind (%1). Prüfen Sie den Datenträger, bevor Sie sich darauf verlassen.</translation>
    </message>
    <message>
        <source>The rename journal entry “%1” can&apos;t be read now (%2); it is kept for a later recovery.</source>
        <extracomment>Problem with the rename journal; %1 is an entry&apos;s file name, %2 the system&apos;s reason</extracomment>
        <translation>Der Eintrag „%1“ des Umbenennungsprotokolls kann gerade nicht gelesen werden (%2); er bleibt für eine spätere Wiederherstellung erhalten.</translation>
    </message>
    <message>
        <source>The rename journal entry “%1” was skipped because it is damaged or incomplete.</source>
        <extracomment>Problem with the rename journal; the placeholder is an entry&apos;s file name</extracomment>
        <translation>Der Eintrag „%1“ des Umbenennungsprotokolls wurde übersprungen, weil er beschädigt oder unvollständig ist.</translation>
    </message>
    <message>
        <source>the folder “%1” can&apos;t be created</source>
        <extracomment>Reason why the rename journal can&apos;t be written; the placeholder is a folder path</extracomment>
        <translation>der Ordner „%1“ kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>“%1” is also still “%2”, and that second name can&apos;t be removed (%3).</source>
        <extracomment>Error after recovering an interrupted rename; %1 and %2 are two names of one file, %3 the system&apos;s reason</extracomment>
        <translation>„%1“ heißt außerdem noch „%2“, und dieser zweite Name kann nicht entfernt werden (%3).</translation>
    </message>
    <message>
        <source>The disk didn&apos;t confirm that the recovered names are stored (%1).</source>
        <extracomment>Error when recovering an interrupted rename; the placeholder is the system&apos;s reason</extracomment>
        <translation>Der Datenträger hat nicht bestätigt, dass die wiederhergestellten Namen gespeichert sind (%1).</translation>
    </message>
    <message>
        <source>Add files to rename</source>
        <extracomment>Why Rename is not possible (the tooltip of the disabled Rename button)</extracomment>
        <translation>Dateien zum Umbenennen hinzufügen</translation>
    </message>
    <message>
        <source>Files are being renamed</source>
        <extracomment>Why Rename is not possible (the tooltip of the disabled Rename button)</extracomment>
        <translation>Dateien werden umbenannt</translation>
    </message>
    <message>
        <source>Files were already renamed</source>
        <extracomment>Why Rename is not possible (the tooltip of the disabled Rename button)</extracomment>
        <translation>Die Dateien wurden bereits umbenannt</translation>
    </message>
    <message>
        <source>New names are being computed</source>
        <extracomment>Why Rename is not possible (the tooltip of the disabled Rename button)</extracomment>
        <translation>Neue Namen werden berechnet</translation>
    </message>
    <message>
        <source>Fix the errors in the file list first</source>
        <extracomment>Why Rename is not possible (the tooltip of the disabled Rename button)</extracomment>
        <translation>Beheben Sie zuerst die Fehler in der Dateiliste</translation>
    </message>
    <message>
        <source>No file gets a new name</source>
        <extracomment>Why Rename is not possible (the tooltip of the disabled Rename button)</extracomment>
        <translation>Keine Datei bekommt einen neuen Namen</translation>
    </message>
    <message>
        <source>Tessary doesn&apos;t have permission to rename files in this folder</source>
        <extracomment>Error shown for a file in the file list</extracomment>
        <translation>Tessary darf in diesem Ordner keine Dateien umbenennen</translation>
    </message>
    <message>
        <source>The pattern uses the unknown format “%1” in “%2”</source>
        <extracomment>Error shown for a file: %1 is the format, %2 the placeholder, as in {row:bogus}</extracomment>
        <translation>Das Muster verwendet das unbekannte Format „%1“ in „%2“</translation>
    </message>
    <message>
        <source>The pattern uses “%1”, which this file doesn&apos;t have</source>
        <extracomment>Warning shown for a file whose fields lack a placeholder&apos;s name, as in “{imgae.date}”</extracomment>
        <translation>Das Muster verwendet „%1“, das diese Datei nicht hat</translation>
    </message>
    <message>
        <source>The rename was interrupted and left files between names. Quit and start Tessary again to recover them.</source>
        <extracomment>Alert message after Undo or Redo when the rename left files between names</extracomment>
        <translation>Die Umbenennung wurde unterbrochen und hat Dateien zwischen zwei Namen hinterlassen. Beenden Sie Tessary und starten Sie es erneut, um sie wiederherzustellen.</translation>
    </message>
    <message>
        <source>The old names are back, but the rename history can&apos;t record it (%1), so it may still show the files as renamed.</source>
        <extracomment>Whole-operation error after Undo; the placeholder is the system&apos;s reason</extracomment>
        <translation>Die alten Namen sind zurück, aber der Umbenennungsverlauf kann das nicht aufzeichnen (%1) und zeigt die Dateien womöglich weiter als umbenannt.</translation>
    </message>
    <message>
        <source>The new names are back, but the rename history can&apos;t record it (%1), so it may still show the files as restored.</source>
        <extracomment>Whole-operation error after Redo; the placeholder is the system&apos;s reason</extracomment>
        <translation>Die neuen Namen sind zurück, aber der Umbenennungsverlauf kann das nicht aufzeichnen (%1) und zeigt die Dateien womöglich weiter als wiederhergestellt.</translation>
    </message>
    <message>
        <source>The new names are back, but the rename journal can&apos;t record it (%1). Run “tessary-cli recover” to record it.</source>
        <extracomment>Whole-operation error after Redo; the placeholder is the system&apos;s reason</extracomment>
        <translation>Die neuen Namen sind zurück, aber das Umbenennungsjournal kann das nicht aufzeichnen (%1). Führen Sie „tessary-cli recover“ aus, um es aufzuzeichnen.</translation>
    </message>
    <message>
        <source>“%1” was renamed again later; undo that rename first.</source>
        <extracomment>Error shown for a file after Undo or Redo; the placeholder is the file&apos;s name</extracomment>
        <translation>„%1“ wurde später erneut umbenannt; machen Sie zuerst jene Umbenennung rückgängig.</translation>
    </message>
    <message>
        <source>“%1” got its old name back from the undo of an earlier rename; redo that rename first.</source>
        <extracomment>Error shown for a file after Redo; the placeholder is the file&apos;s old name</extracomment>
        <translation>„%1“ hat seinen alten Namen zurückerhalten, als eine frühere Umbenennung rückgängig gemacht wurde; wiederholen Sie zuerst jene Umbenennung.</translation>
    </message>
    <message>
        <source>“%1” was replaced or changed since its old name was given back, so it keeps that name.</source>
        <extracomment>Error shown for a file after Redo; the placeholder is the file&apos;s old name</extracomment>
        <translation>„%1“ wurde ersetzt oder geändert, seit es seinen alten Namen zurückerhielt, und behält deshalb diesen Namen.</translation>
    </message>
    <message>
        <source>The regular expression has an error</source>
        <extracomment>Error shown for every file in the file list while the regular expression has an error</extracomment>
        <translation>Der reguläre Ausdruck enthält einen Fehler</translation>
    </message>
    <message>
        <source>“%1” no longer exists</source>
        <extracomment>Error shown for a file in the file list; the placeholder is its name</extracomment>
        <translation>„%1“ gibt es nicht mehr</translation>
    </message>
    <message>
        <source>“%1” can&apos;t be reached: %2</source>
        <extracomment>Error shown for a file in the file list; the placeholders are its name and the system&apos;s error</extracomment>
        <translation>„%1“ ist nicht erreichbar: %2</translation>
    </message>
    <message>
        <source>The name without its extension</source>
        <translation>Der Name ohne Endung</translation>
    </message>
    <message>
        <source>The file&apos;s number in the order, from 1</source>
        <translation>Die Nummer der Datei in der Reihenfolge, ab 1</translation>
    </message>
    <message>
        <source>The day the file was created</source>
        <translation>Datum, an dem die Datei erstellt wurde</translation>
    </message>
    <message>
        <source>The time the file was created</source>
        <translation>Uhrzeit, zu der die Datei erstellt wurde</translation>
    </message>
    <message>
        <source>The day the content last changed</source>
        <translation>Datum der letzten Änderung des Inhalts</translation>
    </message>
    <message>
        <source>The time the content last changed</source>
        <translation>Uhrzeit der letzten Änderung des Inhalts</translation>
    </message>
    <message>
        <source>The day the photo was taken</source>
        <translation>Aufnahmedatum</translation>
    </message>
    <message>
        <source>The time the photo was taken</source>
        <translation>Aufnahmeuhrzeit</translation>
    </message>
    <message>
        <source>Fractions of a second of that time</source>
        <translation>Sekundenbruchteile dieser Uhrzeit</translation>
    </message>
    <message>
        <source>The time zone of that time, such as +02-00</source>
        <translation>Die Zeitzone dieser Uhrzeit, etwa +02-00</translation>
    </message>
    <message>
        <source>The camera&apos;s maker</source>
        <translation>Der Hersteller der Kamera</translation>
    </message>
    <message>
        <source>The camera&apos;s model</source>
        <translation>Das Kameramodell</translation>
    </message>
    <message>
        <source>The camera&apos;s serial number</source>
        <translation>Die Seriennummer der Kamera</translation>
    </message>
    <message>
        <source>The lens model</source>
        <translation>Das Objektivmodell</translation>
    </message>
    <message>
        <source>Width in pixels</source>
        <translation>Breite in Pixeln</translation>
    </message>
    <message>
        <source>Height in pixels</source>
        <translation>Höhe in Pixeln</translation>
    </message>
    <message>
        <source>How to turn the image upright, 1 to 8 (1: as stored)</source>
        <translation>Wie das Bild aufzurichten ist, 1 bis 8 (1: wie gespeichert)</translation>
    </message>
    <message>
        <source>Exposure time in seconds</source>
        <translation>Belichtungszeit in Sekunden</translation>
    </message>
    <message>
        <source>Exposure time as a fraction, such as 1-250</source>
        <translation>Belichtungszeit als Bruch, etwa 1-250</translation>
    </message>
    <message>
        <source>Aperture, such as f2.8</source>
        <translation>Blende, etwa f2.8</translation>
    </message>
    <message>
        <source>Aperture as a number, such as 2.8</source>
        <translation>Blende als Zahl, etwa 2.8</translation>
    </message>
    <message>
        <source>ISO speed</source>
        <translation>ISO-Empfindlichkeit</translation>
    </message>
    <message>
        <source>Focal length in millimetres</source>
        <translation>Brennweite in Millimetern</translation>
    </message>
    <message>
        <source>Focal length as on 35 mm film, in millimetres</source>
        <translation>Brennweite wie auf Kleinbildfilm, in Millimetern</translation>
    </message>
    <message>
        <source>Where it was taken: latitude in degrees, south negative</source>
        <translation>Aufnahmeort: Breite in Grad, Süden negativ</translation>
    </message>
    <message>
        <source>Where it was taken: longitude in degrees, west negative</source>
        <translation>Aufnahmeort: Länge in Grad, Westen negativ</translation>
    </message>
    <message>
        <source>Altitude in metres</source>
        <translation>Höhe über dem Meer in Metern</translation>
    </message>
    <message>
        <source>The title given to the image</source>
        <translation>Der Titel des Bildes</translation>
    </message>
    <message>
        <source>Keywords, separated by commas</source>
        <translation>Stichwörter, durch Kommas getrennt</translation>
    </message>
    <message>
        <source>Rating, 0 to 5 stars</source>
        <translation>Bewertung, 0 bis 5 Sterne</translation>
    </message>
    <message>
        <source>The program that saved the image</source>
        <translation>Das Programm, das das Bild gespeichert hat</translation>
    </message>
    <message>
        <source>The day the video was recorded</source>
        <translation>Aufnahmedatum</translation>
    </message>
    <message>
        <source>The time the video was recorded</source>
        <translation>Aufnahmeuhrzeit</translation>
    </message>
    <message>
        <source>Length in whole seconds</source>
        <translation>Dauer in ganzen Sekunden</translation>
    </message>
    <message>
        <source>Size class: SD, 480p, 720p, 1080p, 4K or 8K</source>
        <translation>Größenklasse: SD, 480p, 720p, 1080p, 4K oder 8K</translation>
    </message>
    <message>
        <source>Frames per second</source>
        <translation>Bilder pro Sekunde</translation>
    </message>
    <message>
        <source>The video codec, such as h264</source>
        <translation>Der Video-Codec, etwa h264</translation>
    </message>
    <message>
        <source>Bit rate in kilobits per second</source>
        <translation>Bitrate in Kilobit pro Sekunde</translation>
    </message>
    <message>
        <source>Rotation for playback, in degrees</source>
        <translation>Drehung bei der Wiedergabe, in Grad</translation>
    </message>
    <message>
        <source>Number of sound tracks</source>
        <translation>Anzahl der Tonspuren</translation>
    </message>
    <message>
        <source>Where it was recorded: latitude in degrees, south negative</source>
        <translation>Aufnahmeort: Breite in Grad, Süden negativ</translation>
    </message>
    <message>
        <source>Where it was recorded: longitude in degrees, west negative</source>
        <translation>Aufnahmeort: Länge in Grad, Westen negativ</translation>
    </message>
    <message>
        <source>The title of the piece</source>
        <translation>Der Titel des Stücks</translation>
    </message>
    <message>
        <source>The performing artist</source>
        <translation>Der Interpret</translation>
    </message>
    <message>
        <source>The album</source>
        <translation>Das Album</translation>
    </message>
    <message>
        <source>The album&apos;s artist</source>
        <translation>Der Interpret des Albums</translation>
    </message>
    <message>
        <source>The composer</source>
        <translation>Der Komponist</translation>
    </message>
    <message>
        <source>The genre</source>
        <translation>Das Genre</translation>
    </message>
    <message>
        <source>The year of release</source>
        <translation>Das Erscheinungsjahr</translation>
    </message>
    <message>
        <source>The track&apos;s number</source>
        <translation>Die Nummer des Titels</translation>
    </message>
    <message>
        <source>Number of tracks</source>
        <translation>Anzahl der Titel</translation>
    </message>
    <message>
        <source>The disc&apos;s number</source>
        <translation>Die Nummer der CD</translation>
    </message>
    <message>
        <source>Number of discs</source>
        <translation>Anzahl der CDs</translation>
    </message>
    <message>
        <source>The comment tag</source>
        <translation>Der Kommentar</translation>
    </message>
    <message>
        <source>The audio codec, such as mp3</source>
        <translation>Der Audio-Codec, etwa mp3</translation>
    </message>
    <message>
        <source>Samples per second</source>
        <translation>Abtastwerte pro Sekunde</translation>
    </message>
    <message>
        <source>Bits per sample</source>
        <translation>Bits pro Abtastwert</translation>
    </message>
    <message>
        <source>Number of channels</source>
        <translation>Anzahl der Kanäle</translation>
    </message>
    <message>
        <source>mono, stereo or multi</source>
        <translation>mono, stereo oder multi</translation>
    </message>
    <message>
        <source>The document&apos;s title</source>
        <translation>Der Titel des Dokuments</translation>
    </message>
    <message>
        <source>The author</source>
        <translation>Der Autor</translation>
    </message>
    <message>
        <source>The subject</source>
        <translation>Das Thema</translation>
    </message>
    <message>
        <source>Keywords</source>
        <translation>Stichwörter</translation>
    </message>
    <message>
        <source>Number of pages</source>
        <translation>Anzahl der Seiten</translation>
    </message>
    <message>
        <source>The day the document was created</source>
        <translation>Datum, an dem das Dokument erstellt wurde</translation>
    </message>
    <message>
        <source>The time the document was created</source>
        <translation>Uhrzeit, zu der das Dokument erstellt wurde</translation>
    </message>
    <message>
        <source>The day the document last changed</source>
        <translation>Datum der letzten Änderung des Dokuments</translation>
    </message>
    <message>
        <source>The time the document last changed</source>
        <translation>Uhrzeit der letzten Änderung des Dokuments</translation>
    </message>
    <message>
        <source>The program the document was written in</source>
        <translation>Das Programm, in dem das Dokument geschrieben wurde</translation>
    </message>
    <message>
        <source>The program that made the PDF</source>
        <translation>Das Programm, das die PDF-Datei erzeugt hat</translation>
    </message>
    <message>
        <source>The PDF version, such as 1.7</source>
        <translation>Die PDF-Version, etwa 1.7</translation>
    </message>
    <message>
        <source>The authors</source>
        <translation>Die Autoren</translation>
    </message>
    <message>
        <source>Who saved it last</source>
        <translation>Wer es zuletzt gespeichert hat</translation>
    </message>
    <message>
        <source>The company</source>
        <translation>Die Firma</translation>
    </message>
    <message>
        <source>The description or comments</source>
        <translation>Die Beschreibung oder Kommentare</translation>
    </message>
    <message>
        <source>Number of words</source>
        <translation>Anzahl der Wörter</translation>
    </message>
    <message>
        <source>Number of slides</source>
        <translation>Anzahl der Folien</translation>
    </message>
    <message>
        <source>How often it was saved</source>
        <translation>Wie oft es gespeichert wurde</translation>
    </message>
    <message>
        <source>The program that wrote it</source>
        <translation>Das Programm, das es geschrieben hat</translation>
    </message>
    <message>
        <source>File</source>
        <extracomment>Group of fields in the field browser: those every file has</extracomment>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Image</source>
        <extracomment>Group of fields in the field browser</extracomment>
        <translation>Bild</translation>
    </message>
    <message>
        <source>Video</source>
        <extracomment>Group of fields in the field browser</extracomment>
        <translation>Video</translation>
    </message>
    <message>
        <source>Audio</source>
        <extracomment>Group of fields in the field browser</extracomment>
        <translation>Audio</translation>
    </message>
    <message>
        <source>PDF</source>
        <extracomment>Group of fields in the field browser</extracomment>
        <translation>PDF</translation>
    </message>
    <message>
        <source>Office Document</source>
        <extracomment>Group of fields in the field browser: word processor, spreadsheet and presentation files</extracomment>
        <translation>Office-Dokument</translation>
    </message>
    <message>
        <source>Line %1: %2</source>
        <extracomment>Error of a file whose script failed; %1 is the script&apos;s line, %2 the JavaScript engine&apos;s message</extracomment>
        <translation>Zeile %1: %2</translation>
    </message>
    <message>
        <source>Unknown JavaScript error</source>
        <extracomment>Error of a file whose script threw something that can&apos;t be shown as text</extracomment>
        <translation>Unbekannter JavaScript-Fehler</translation>
    </message>
    <message>
        <source>`fields` must be an object</source>
        <extracomment>Error of a file whose script set the global `fields` to something else; keep `fields` as it is</extracomment>
        <translation>`fields` muss ein Objekt sein</translation>
    </message>
    <message>
        <source>`context` must be an object</source>
        <extracomment>Error of a file whose script set the global `context` to something else; keep `context` as it is</extracomment>
        <translation>`context` muss ein Objekt sein</translation>
    </message>
    <message>
        <source>%1 is missing</source>
        <extracomment>Why a metadata reader module was not used; the placeholder is its path</extracomment>
        <translation>%1 fehlt</translation>
    </message>
    <message>
        <source>%1 belongs to another build of Tessary</source>
        <extracomment>Why a metadata reader module was not used; the placeholder is its path</extracomment>
        <translation>%1 gehört zu einem anderen Build von Tessary</translation>
    </message>
    <message>
        <source>%1 fields can&apos;t be read: %2</source>
        <extracomment>A metadata reader module could not be loaded; the placeholders are the groups&apos; names (&quot;Video, Audio&quot;) and the reason</extracomment>
        <translation>Felder (%1) können nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>The rename journal can&apos;t be written (%1), so this file was not renamed.</source>
        <extracomment>Error shown for a file; the placeholder is the system&apos;s reason</extracomment>
        <translation>Das Umbenennungsprotokoll kann nicht geschrieben werden (%1), daher wurde diese Datei nicht umbenannt.</translation>
    </message>
</context>
</TS>

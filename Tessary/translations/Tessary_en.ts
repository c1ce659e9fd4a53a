<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>FieldBrowser</name>
    <message>
        <source>None</source>
        <extracomment>Choice of format in the field browser: the value as it is</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>UPPER CASE (upper)</source>
        <extracomment>Choice of format in the field browser; the code in parentheses is what the pattern gets</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lower case (lower)</source>
        <extracomment>Choice of format in the field browser; the code in parentheses is what the pattern gets</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Each Word Capitalised (title)</source>
        <extracomment>Choice of format in the field browser; the code in parentheses is what the pattern gets</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Latin letters only, without accents (ascii)</source>
        <extracomment>Choice of format in the field browser; the code in parentheses is what the pattern gets</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Without blanks at both ends (trim)</source>
        <extracomment>Choice of format in the field browser; the code in parentheses is what the pattern gets</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Three digits, with leading zeros (03)</source>
        <extracomment>Choice of format in the field browser; the code in parentheses is what the pattern gets</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The first eight characters (1-8)</source>
        <extracomment>Choice of format in the field browser; the code in parentheses is what the pattern gets</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insert Field</source>
        <extracomment>Title of the field browser, opened by Insert Field</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search fields</source>
        <extracomment>Placeholder and accessible name of the search field of the field browser</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Field</source>
        <extracomment>Column of the field browser: the field&apos;s name</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Value</source>
        <extracomment>Column of the field browser: the field&apos;s value for the selected file</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Description</source>
        <extracomment>Column of the field browser: what the field holds</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A named group of the regular expression</source>
        <extracomment>Description of a field in the field browser</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regex Groups</source>
        <extracomment>Group of fields in the field browser</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set by the script</source>
        <extracomment>Description of a field in the field browser</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Script Fields</source>
        <extracomment>Group of fields in the field browser</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fields</source>
        <extracomment>Accessible name of the list of fields in the field browser</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Format</source>
        <extracomment>Accessible name of the format choice of the field browser</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Insert</source>
        <extracomment>Button of the field browser: inserts the chosen field into the result pattern</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add files to see their values.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Values of “%1”, the selected file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Format:</source>
        <extracomment>Label of the format choice of the field browser</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Inserts:</source>
        <extracomment>Label of the line of the field browser that shows what is inserted and its result</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a field</source>
        <extracomment>The Inserts line of the field browser while no field is chosen</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, which the selected file doesn&apos;t have</source>
        <extracomment>The Inserts line of the field browser when the selected file lacks the field; %1 is the placeholder</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FindBar</name>
    <message>
        <source>Find</source>
        <extracomment>Placeholder of the find bar of a rule editor</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done</source>
        <extracomment>Button that closes the find bar of a rule editor</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find in %1</source>
        <extracomment>Accessible name of the find field of a rule editor; the placeholder is the rule, such as Regex</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FolderAccessManager</name>
    <message>
        <source>Tessary needs your permission to rename files in “%1”. Click Grant Access to allow it.</source>
        <extracomment>Message of the open panel that grants access to a folder; the placeholder is the folder name</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Grant Access</source>
        <extracomment>Button of the open panel that grants access to a folder</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>Tessary Help</source>
        <extracomment>Title of the help window</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <extracomment>Accessible name of the text of the help window</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OrderChoices</name>
    <message>
        <source>Name</source>
        <extracomment>Choice of the Order menu: natural order of the file names</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date Taken</source>
        <extracomment>Choice of the Order menu: by the date and time a photo was taken</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date Modified</source>
        <extracomment>Choice of the Order menu: by the date and time a file was last changed</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>As Listed</source>
        <extracomment>Choice of the Order menu: the order in which the files were added, or dragged to</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RecentRulesMenu</name>
    <message>
        <source>Regex</source>
        <extracomment>In the Recent menu: the entry holds a regular expression</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>JavaScript</source>
        <extracomment>In the Recent menu: the entry holds a script</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>by %1</source>
        <extracomment>In the Recent menu: the order the entry numbers the files in, such as “Date Taken”</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>duplicates numbered</source>
        <extracomment>In the Recent menu: the entry numbers files that would get the same name</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RenameFileList</name>
    <message>
        <source>Renamed</source>
        <extracomment>State of a file in the Rename History window</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Old name restored</source>
        <extracomment>State of a file in the Rename History window</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not renamed</source>
        <extracomment>State of a file in the Rename History window: the rename failed for it</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Interrupted</source>
        <extracomment>State of a file in the Rename History window</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Old Name</source>
        <extracomment>Column of the files of a rename in the Rename History window</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Name</source>
        <extracomment>Column of the files of a rename in the Rename History window</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>State</source>
        <extracomment>Column of the files of a rename in the Rename History window</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Problem</source>
        <extracomment>Column of the files of a rename in the Rename History window</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RenameHistoryList</name>
    <message>
        <source>Done</source>
        <extracomment>State of a rename in the Rename History window</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undone</source>
        <extracomment>State of a rename in the Rename History window</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Partly undone</source>
        <extracomment>State of a rename in the Rename History window</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Interrupted</source>
        <extracomment>State of a rename in the Rename History window</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not recorded</source>
        <extracomment>Rules column of the Rename History window, for a rename recorded without its rules</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regex %1</source>
        <extracomment>Part of the rules column of the Rename History window; the placeholder is the regular expression</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Script</source>
        <extracomment>Part of the rules column of the Rename History window</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%1 (%n folders)</source>
        <extracomment>Folder column of the Rename History window; %1 is the folder that holds all of them, %n their number</extracomment>
        <translation>
            <numerusform>%1 (%n folder)</numerusform>
            <numerusform>%1 (%n folders)</numerusform>
        </translation>
    </message>
    <message>
        <source>Date</source>
        <extracomment>Column of the Rename History window</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files</source>
        <extracomment>Column of the Rename History window</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folder</source>
        <extracomment>Column of the Rename History window</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rules</source>
        <extracomment>Column of the Rename History window</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>State</source>
        <extracomment>Column of the Rename History window</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RenameHistoryWindow</name>
    <message>
        <source>Rename History</source>
        <extracomment>Title of the Rename History window</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Renames</source>
        <extracomment>Accessible name of the list of renames in the Rename History window</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files of the selected rename</source>
        <extracomment>Accessible name of the list of files in the Rename History window</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files</source>
        <extracomment>Title over the files of the Rename History window when no rename is selected</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Files of the selected rename (%n renamed)</source>
        <extracomment>Title over the files of the Rename History window; %n is the number of files the rename moved</extracomment>
        <translation>
            <numerusform>Files of the selected rename (%n renamed)</numerusform>
            <numerusform>Files of the selected rename (%n renamed)</numerusform>
        </translation>
    </message>
    <message>
        <source>Moving files…</source>
        <extracomment>Rename History window, while an undo or redo moves files</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Restore Old Names</source>
        <extracomment>Button of the Rename History window: undoes the selected rename</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename A&amp;gain</source>
        <extracomment>Button of the Rename History window: redoes the selected rename after an undo</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Show Files</source>
        <extracomment>Button of the Rename History window: opens the file manager at the rename&apos;s folder</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Use These Rules</source>
        <extracomment>Button of the Rename History window: brings the rename&apos;s rules back into the main window</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StartupRecovery</name>
    <message>
        <source>A Rename Was Interrupted</source>
        <extracomment>Title of the question at start-up after an interrupted rename</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Tessary stopped while renaming %n files. Give every file its old name back, or finish the rename?</source>
        <extracomment>Question at start-up after an interrupted rename</extracomment>
        <translation>
            <numerusform>Tessary stopped while renaming %n file. Give it its old name back, or finish the rename?</numerusform>
            <numerusform>Tessary stopped while renaming %n files. Give every file its old name back, or finish the rename?</numerusform>
        </translation>
    </message>
    <message>
        <source>Restore Old Names</source>
        <extracomment>Button of the question at start-up after an interrupted rename</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Finish Rename</source>
        <extracomment>Button of the question at start-up after an interrupted rename</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Some Files Need Your Attention</source>
        <extracomment>Title of the report after recovering an interrupted rename</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n files could not be brought back to one side. Where they are now is listed in the details.</source>
        <extracomment>Report after recovering an interrupted rename; the details list the files</extracomment>
        <translation>
            <numerusform>%n file could not be brought back to one side. Where it is now is listed in the details.</numerusform>
            <numerusform>%n files could not be brought back to one side. Where they are now is listed in the details.</numerusform>
        </translation>
    </message>
    <message>
        <source>Checking for interrupted renames…</source>
        <extracomment>Progress at start-up while the rename journal is read</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Restoring the old names of %n files…</source>
        <extracomment>Progress while an interrupted rename is rolled back</extracomment>
        <translation>
            <numerusform>Restoring the old name of %n file…</numerusform>
            <numerusform>Restoring the old names of %n files…</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Finishing the rename of %n files…</source>
        <extracomment>Progress while an interrupted rename is finished</extracomment>
        <translation>
            <numerusform>Finishing the rename of %n file…</numerusform>
            <numerusform>Finishing the rename of %n files…</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TessaryApp</name>
    <message>
        <source>Update Available</source>
        <extracomment>Title of the message after an update check that found a newer version</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tessary %1 is available: %2</source>
        <extracomment>Message after an update check; the placeholders are a version and a link</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Update</source>
        <extracomment>Title of the message after an update check that found nothing newer</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tessary is up to date.</source>
        <extracomment>Message after an update check that found nothing newer</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Update Check Failed</source>
        <extracomment>Title of the message after an update check that failed; the message is the reason</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TessaryCommands</name>
    <message>
        <source>&amp;File</source>
        <extracomment>Menu</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <extracomment>Menu</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <extracomment>Menu</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Add Files…</source>
        <extracomment>File menu; &amp; marks the access key</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;New</source>
        <extracomment>File menu; &amp; marks the access key</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Rename</source>
        <extracomment>File menu; &amp; marks the access key</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename &amp;History…</source>
        <extracomment>File menu; &amp; marks the access key</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <extracomment>File menu; &amp; marks the access key</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tessary &amp;Help</source>
        <extracomment>Help menu; &amp; marks the access key</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check for &amp;Updates…</source>
        <extracomment>Help menu; &amp; marks the access key</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About Tessary</source>
        <extracomment>Help menu; &amp; marks the access key</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add &amp;Folder Contents…</source>
        <extracomment>File menu; &amp; marks the access key</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TessaryFileTableModel</name>
    <message>
        <source>Renamed</source>
        <extracomment>Accessibility label of the mark of a renamed file in the file table</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Original</source>
        <extracomment>Column of the file table: the file&apos;s name when it was added</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Result</source>
        <extracomment>Column of the file table: the new name</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: %1</source>
        <extracomment>Accessibility description of a file with an error; the placeholder is the error</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning: %1</source>
        <extracomment>Accessibility description of a file with a warning; the placeholder is the warning</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TessaryFileTableView</name>
    <message>
        <source>Files</source>
        <extracomment>Accessibility label of the file table</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show in File Manager</source>
        <extracomment>Context menu of the file table</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove from List</source>
        <extracomment>Context menu of the file table</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preview</source>
        <extracomment>Context menu of the file table</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TessaryModel</name>
    <message>
        <source>No Files Were Renamed</source>
        <extracomment>Alert title after Rename</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Some Files Weren&apos;t Renamed</source>
        <extracomment>Alert title after Rename</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files not renamed: %1 of %2. The reasons are shown in the file list.</source>
        <extracomment>Alert message after Rename; the placeholders are the number of failed files and of all files</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1”</source>
        <extracomment>A folder name in quotes, in the list of folders of the alert after Rename</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tessary wasn&apos;t allowed to change files in the folder %1. Click Rename again to grant access.</source>
        <extracomment>Alert message after Rename; the placeholder is a folder name in quotes</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tessary wasn&apos;t allowed to change files in these folders: %1. Click Rename again to grant access.</source>
        <extracomment>Alert message after Rename; the placeholder is a list of folder names, each in quotes</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Files Were Restored</source>
        <extracomment>Alert title after Undo, when nothing could be restored</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Some Files Weren&apos;t Restored</source>
        <extracomment>Alert title after Undo</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Rename Wasn&apos;t Recorded</source>
        <extracomment>Alert title after Rename when the journal could not record its end</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Undo Wasn&apos;t Recorded</source>
        <extracomment>Alert title after Undo when the journal could not record its end</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Files Were Renamed Again</source>
        <extracomment>Alert title after Redo, when nothing could be renamed</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The reasons are shown in the Rename History window.</source>
        <extracomment>End of the alert message after Undo or Redo of a rename not in the file list</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The reasons are shown in the file list.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files not restored to their original names: %1 of %2.</source>
        <extracomment>Alert message after Undo; the placeholders are the number of failed files and of all files</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Some Files Weren&apos;t Renamed Again</source>
        <extracomment>Alert title after Redo</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files not given their new names again: %1 of %2.</source>
        <extracomment>Alert message after Redo; the placeholders are the number of failed files and of all files</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Redo Wasn&apos;t Recorded</source>
        <extracomment>Alert title after Redo when the journal could not record its end</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Some Fields Can&apos;t Be Read</source>
        <extracomment>Title of the alert when a part of the installation that reads file contents is missing or broken</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TessaryRulesForm</name>
    <message>
        <source>Regex</source>
        <extracomment>Section header and accessibility label of the regular expression editor</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>JavaScript</source>
        <extracomment>Section header and accessibility label of the script editor</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Result Pattern</source>
        <extracomment>Section header and accessibility label of the result pattern editor</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Optional. Regular expression (PCRE2 syntax) that must match the whole file name without the extension. Use `(?P&lt;fieldname&gt;.*)` to extract fields.</source>
        <extracomment>Help text under the regular expression editor; the parts in backquotes are shown as code</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Optional. Runs for every file. Use `fields[&quot;fieldname&quot;]` to get and set fields, and `context` to keep values between files. `console.log()` output is shown under each file.</source>
        <extracomment>Help text under the script editor; the parts in backquotes are shown as code</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files Renamed</source>
        <extracomment>Shown in place of the rule editors once the files are renamed</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Construct the new file name from fields, like `{filename}` or `{row}`, formatted as in `{row:03}` or `{filename:upper}`. The extension is kept.</source>
        <extracomment>Help text under the result pattern editor; the parts in backquotes are shown as code</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Order</source>
        <extracomment>Accessibility label of the choice of the order that numbers the files</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Numbers the files (`{row}`) and runs the script in this order. With As Listed, drag files in the list to reorder them.</source>
        <extracomment>Help text under the order choice; the parts in backquotes are shown as code</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Field…</source>
        <extracomment>Last choice of the Order menu: opens a chooser of the fields to order by</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Order by Field</source>
        <extracomment>Title of the chooser of the fields to order by</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Number the files by these fields, separated by commas. Files without the first come last.</source>
        <extracomment>Label of the chooser of the fields to order by</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Number files that would get the same name</source>
        <extracomment>Check box of the rules: files that would get a taken name get &quot; (2)&quot;, &quot; (3)&quot; … instead of an error</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Re&amp;gex</source>
        <extracomment>Section header of the regular expression editor; &amp; marks the access key</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;JavaScript</source>
        <extracomment>Section header of the script editor; &amp; marks the access key</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Result &amp;Pattern</source>
        <extracomment>Section header of the result pattern editor; &amp; marks the access key</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Order:</source>
        <extracomment>Label of the choice of the order that numbers the files</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error at character %2: %1</source>
        <extracomment>Under the regular expression editor; %1 is the parser&apos;s error, %2 the character position</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insert Fiel&amp;d…</source>
        <extracomment>Button of the Result Pattern section that opens the field browser</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rules</source>
        <extracomment>Accessible name of the area that holds the three rules</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TessarySettingsWindow</name>
    <message>
        <source>Tessary Settings</source>
        <extracomment>Title of the settings window</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About</source>
        <extracomment>The settings window&apos;s one tab</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>We made Tessary because renaming a folder full of photos one by one is no way to spend an evening. We hope it gives you some of yours back.</source>
        <extracomment>The note of the About tab</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Questions and answers</source>
        <extracomment>Link of the About tab to the product&apos;s page with questions and answers</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write to support</source>
        <extracomment>Link of the About tab that writes an e-mail to support</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Subscribe to Newsletter</source>
        <extracomment>Button of the About tab</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This translation was made with AI.</source>
        <extracomment>Shown in the About tab of a translated Tessary</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Report a problem…</source>
        <extracomment>Link of the About tab of a translated Tessary that writes an e-mail to support</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TessaryView</name>
    <message>
        <source>Rename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Workflow</source>
        <extracomment>Name of the toolbar, as the toolbar&apos;s context menu shows it</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Files</source>
        <extracomment>Toolbar button
----------
Title of the open panel that adds files</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add files to rename (%1)</source>
        <extracomment>Tooltip of the Add Files button; the placeholder is its shortcut</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New</source>
        <extracomment>Toolbar button</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recent</source>
        <extracomment>Toolbar menu</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use rules from a previous rename</source>
        <extracomment>Tooltip of the Recent menu</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo</source>
        <extracomment>Toolbar button</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Give the renamed files their original names back</source>
        <extracomment>Tooltip of the Undo button</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drop files here</source>
        <extracomment>Shown in the file table while the list is empty</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading files…</source>
        <extracomment>Shown in the file table and the status bar while files are read</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Renaming…</source>
        <extracomment>Shown in the file table while files are renamed</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start over; renamed files keep their new names (%1)</source>
        <extracomment>Tooltip of the New button after a rename; the placeholder is its shortcut</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear the file list (%1)</source>
        <extracomment>Tooltip of the New button; the placeholder is its shortcut</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename files according to the pattern (%1)</source>
        <extracomment>Tooltip of the Rename button; the placeholder is its shortcut</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n files</source>
        <extracomment>Status bar count of all files</extracomment>
        <translation>
            <numerusform>%n file</numerusform>
            <numerusform>%n files</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n renamed</source>
        <extracomment>Status bar count of the renamed files</extracomment>
        <translation>
            <numerusform>%n renamed</numerusform>
            <numerusform>%n renamed</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n to rename</source>
        <extracomment>Status bar count of the files whose name changes</extracomment>
        <translation>
            <numerusform>%n to rename</numerusform>
            <numerusform>%n to rename</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n errors</source>
        <extracomment>Status bar count of the files with an error</extracomment>
        <translation>
            <numerusform>%n error</numerusform>
            <numerusform>%n errors</numerusform>
        </translation>
    </message>
    <message>
        <source>Updating…</source>
        <extracomment>Status bar while the new names are computed</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n warnings</source>
        <extracomment>Status bar count of the files with a warning, such as a placeholder that names no field</extracomment>
        <translation>
            <numerusform>%n warning</numerusform>
            <numerusform>%n warnings</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Undo Rename</source>
        <extracomment>Edit menu; &amp; marks the access key</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Redo Rename</source>
        <extracomment>Edit menu; &amp; marks the access key</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Re&amp;cent</source>
        <extracomment>File menu; &amp; marks the access key</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear the List?</source>
        <extracomment>Title of the question before New clears a list that was not renamed</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n files are listed and haven&apos;t been renamed. The rules stay.</source>
        <extracomment>Question before New clears a list that was not renamed; %n is the number of listed files</extracomment>
        <translation>
            <numerusform>%n file is listed and hasn&apos;t been renamed. The rules stay.</numerusform>
            <numerusform>%n files are listed and haven&apos;t been renamed. The rules stay.</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Clear List</source>
        <extracomment>Button of the question before New clears the list; &amp; marks the access key</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open F&amp;iles…</source>
        <extracomment>Button in the empty file table</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Folder &amp;Contents…</source>
        <extracomment>Button in the empty file table; &amp; marks the access key</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Folder Contents</source>
        <extracomment>Title of the panel that chooses a folder whose files are added</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add the Folders or Their Files?</source>
        <extracomment>Title of the question after folders were dropped</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n folders were dropped. Rename the folders themselves, or the files inside them and their folders?</source>
        <extracomment>Question after folders were dropped; %n is their number</extracomment>
        <translation>
            <numerusform>%n folder was dropped. Rename the folder itself, or the files inside it and its folders?</numerusform>
            <numerusform>%n folders were dropped. Rename the folders themselves, or the files inside them and their folders?</numerusform>
        </translation>
    </message>
    <message>
        <source>Add the &amp;Folders</source>
        <extracomment>Button of the question after folders were dropped; &amp; marks the access key</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add the Files &amp;Inside</source>
        <extracomment>Button of the question after folders were dropped; &amp; marks the access key</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Remember my answer</source>
        <extracomment>Check box of the question after folders were dropped; &amp; marks the access key</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Updater</name>
    <message>
        <source>The update feed lists no release.</source>
        <extracomment>Why an update check failed</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>

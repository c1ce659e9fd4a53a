<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
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
    <name>TessaryModel</name>
    <message>
        <source>Add files to rename</source>
        <extracomment>Tooltip of the disabled Rename button</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files are being renamed</source>
        <extracomment>Tooltip of the disabled Rename button</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files were already renamed</source>
        <extracomment>Tooltip of the disabled Rename button</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New names are being computed</source>
        <extracomment>Tooltip of the disabled Rename button</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fix the errors in the file list first</source>
        <extracomment>Tooltip of the disabled Rename button</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No file gets a new name</source>
        <extracomment>Tooltip of the disabled Rename button</extracomment>
        <translation type="unfinished"></translation>
    </message>
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
        <source>Tessary doesn&apos;t have permission to rename files in this folder</source>
        <extracomment>Error shown for a file in the file list</extracomment>
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
        <source>Files not restored to their original names: %1 of %2. The reasons are shown in the file list.</source>
        <extracomment>Alert message after Undo; the placeholders are the number of failed files and of all files</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>

<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>TessaryKit</name>
    <message numerus="yes">
        <source>%n hour(s)</source>
        <extracomment>A part of a duration, like &quot;2 hours, 5 minutes&quot;</extracomment>
        <translation>
            <numerusform>%n hour</numerusform>
            <numerusform>%n hours</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n minute(s)</source>
        <extracomment>A part of a duration, like &quot;2 hours, 5 minutes&quot;</extracomment>
        <translation>
            <numerusform>%n minute</numerusform>
            <numerusform>%n minutes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n second(s)</source>
        <extracomment>A part of a duration, like &quot;1 minute, 30 seconds&quot;</extracomment>
        <translation>
            <numerusform>%n second</numerusform>
            <numerusform>%n seconds</numerusform>
        </translation>
    </message>
    <message>
        <source>The JavaScript engine returned an invalid result</source>
        <extracomment>Error shown for a file in the file list</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancelled</source>
        <extracomment>Error shown for a file in the file list when computing names was cancelled</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not evaluated because the script timed out on a previous file</source>
        <extracomment>Error shown for a file in the file list</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The script didn&apos;t finish within %1. Check it for endless loops.</source>
        <extracomment>Error shown for a file in the file list; the placeholder is a duration, like 5 seconds</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The JavaScript engine stopped unexpectedly (exit code %1)</source>
        <extracomment>Error shown for a file in the file list; the placeholder is the helper process&apos;s exit code</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to start the JavaScript engine: %1</source>
        <extracomment>Error shown for every file in the file list; the placeholder is the system&apos;s error message</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>

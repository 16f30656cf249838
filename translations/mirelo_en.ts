<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Mirelo</name>
    <message numerus="yes">
        <source>Moved %Ln file(s) to Trash</source>
        <translation>
            <numerusform>Moved %Ln file to Trash</numerusform>
            <numerusform>Moved %Ln files to Trash</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Restored %Ln file(s)</source>
        <translation>
            <numerusform>Restored %Ln file</numerusform>
            <numerusform>Restored %Ln files</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Updated %Ln format(s).</source>
        <translation>
            <numerusform>Updated %Ln format.</numerusform>
            <numerusform>Updated %Ln formats.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln file(s)</source>
        <translation>
            <numerusform>%Ln file</numerusform>
            <numerusform>%Ln files</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Move %Ln file(s) to Trash?</source>
        <translation>
            <numerusform>Move %Ln file to Trash?</numerusform>
            <numerusform>Move %Ln files to Trash?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln byte(s)</source>
        <translation>
            <numerusform>%Ln byte</numerusform>
            <numerusform>%Ln bytes</numerusform>
        </translation>
    </message>
</context>
</TS>

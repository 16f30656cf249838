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
    <message numerus="yes">
        <source>%Ln similar photos</source>
        <translation>
            <numerusform>%Ln similar photo</numerusform>
            <numerusform>%Ln similar photos</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln copies</source>
        <translation>
            <numerusform>%Ln copy</numerusform>
            <numerusform>%Ln copies</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>All copies of %Ln picture(s) are among the %1 files. Nothing of them will be left in your library. You can restore them from the Trash (%2).</source>
        <translation>
            <numerusform>All copies of %Ln picture are among the %1 files. Nothing of it will be left in your library. You can restore them from the Trash (%2).</numerusform>
            <numerusform>All copies of %Ln pictures are among the %1 files. Nothing of them will be left in your library. You can restore them from the Trash (%2).</numerusform>
        </translation>
    </message>
</context>
</TS>

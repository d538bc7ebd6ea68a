<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>DisplaysModel</name>
    <message numerus="yes">
        <source>%n GPU(s)</source>
        <translation>
            <numerusform>%n GPU</numerusform>
            <numerusform>%n GPUs</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n display(s)</source>
        <translation>
            <numerusform>%n display</numerusform>
            <numerusform>%n displays</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>JournalModel</name>
    <message numerus="yes">
        <source>%n cycle(s)</source>
        <translation>
            <numerusform>%n cycle</numerusform>
            <numerusform>%n cycles</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Full in about %n month(s)</source>
        <translation>
            <numerusform>Full in about %n month</numerusform>
            <numerusform>Full in about %n months</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>OverviewModel</name>
    <message numerus="yes">
        <source>%n connected</source>
        <translation>
            <numerusform>%n connected</numerusform>
            <numerusform>%n connected</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>PerformanceModel</name>
    <message numerus="yes">
        <source>%n logical core(s)</source>
        <translation>
            <numerusform>%n logical core</numerusform>
            <numerusform>%n logical cores</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>StorageModel</name>
    <message numerus="yes">
        <source>%n volume(s)</source>
        <translation>
            <numerusform>%n volume</numerusform>
            <numerusform>%n volumes</numerusform>
        </translation>
    </message>
</context>
</TS>

<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="sv" sourcelanguage="en">
<context>
    <name>Countdown</name>
    <message>
        <source>Cancel timer</source>
        <translation>Avbryt timer</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Change timer</source>
        <translation>Ändra timer</translation>
    </message>
    <message>
        <source>Shutdown in %1 %2</source>
        <extracomment>%1 is a number, %2 its unit: Second(s), Minute(s) or Hour(s)</extracomment>
        <translation>Avstängning om %1 %2</translation>
    </message>
    <message>
        <source>Second</source>
        <translation>sekund</translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation>sekunder</translation>
    </message>
    <message>
        <source>Minute</source>
        <translation>minut</translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation>minuter</translation>
    </message>
    <message>
        <source>Hour</source>
        <translation>timme</translation>
    </message>
    <message>
        <source>Hours</source>
        <translation>timmar</translation>
    </message>
    <message>
        <source>Shutdown in %1 %2 %3 %4</source>
        <extracomment>%1 hours, %2 Hour(s), %3 minutes, %4 Minute(s)</extracomment>
        <translation>Avstängning om %1 %2 %3 %4</translation>
    </message>
</context>
<context>
    <name>Delay</name>
    <message>
        <source>Cancel</source>
        <translation>Avbryt</translation>
    </message>
    <message>
        <source>second</source>
        <translation>sekund</translation>
    </message>
    <message>
        <source>seconds</source>
        <translation>sekunder</translation>
    </message>
</context>
<context>
    <name>Mainwin</name>
    <message>
        <source>Logout</source>
        <translation>Logga ut</translation>
    </message>
    <message>
        <source>Reboot system</source>
        <translation>Starta om</translation>
    </message>
    <message>
        <source>Shutdown system</source>
        <translation>Stäng av</translation>
    </message>
    <message>
        <source>Suspend system</source>
        <translation>Vänteläge</translation>
    </message>
    <message>
        <source>Lock screen</source>
        <translation>Lås skärmen</translation>
    </message>
    <message>
        <source>Timer</source>
        <translation>Timer</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Avbryt</translation>
    </message>
    <message>
        <source>Logging out in</source>
        <translation>Utloggning om</translation>
    </message>
    <message>
        <source>Rebooting in</source>
        <translation>Omstart om</translation>
    </message>
    <message>
        <source>Shutting down in</source>
        <translation>Avstängning om</translation>
    </message>
    <message>
        <source>Suspending system in</source>
        <translation>Vänteläge om</translation>
    </message>
    <message>
        <source>Locking screen in</source>
        <translation>Skärmlåsning om</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Error</source>
        <translation>Fel</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Varning</translation>
    </message>
    <message>
        <source>Command &apos;%s&apos; not found</source>
        <translation>Kommandot ”%s” hittades inte</translation>
    </message>
    <message>
        <source>Command &apos;%s&apos; exited with code %d</source>
        <translation>Kommandot ”%s” avslutades med kod %d</translation>
    </message>
    <message>
        <source>Command &apos;%s&apos; was terminated by signal %d</source>
        <translation>Kommandot ”%s” avbröts av signal %d</translation>
    </message>
</context>
<context>
    <name>Timerwin</name>
    <message>
        <source>Set shutdown time in hours and/or minutes:</source>
        <translation>Ange tid till avstängning i timmar och/eller minuter:</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Avbryt</translation>
    </message>
    <message>
        <source> Hours</source>
        <extracomment>Suffix of the hours entry, after the number</extracomment>
        <translation> timmar</translation>
    </message>
    <message>
        <source> Minutes</source>
        <extracomment>Suffix of the minutes entry, after the number</extracomment>
        <translation> minuter</translation>
    </message>
</context>
</TS>

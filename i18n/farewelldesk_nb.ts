<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="nb" sourcelanguage="en">
<context>
    <name>Countdown</name>
    <message>
        <source>Cancel timer</source>
        <translation>Avbryt tidtaker</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Change timer</source>
        <translation>Endre tidtaker</translation>
    </message>
    <message>
        <source>Shutdown in %1 %2</source>
        <extracomment>%1 is a number, %2 its unit: Second(s), Minute(s) or Hour(s)</extracomment>
        <translation>Slår av om %1 %2</translation>
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
        <translation>minutt</translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation>minutter</translation>
    </message>
    <message>
        <source>Hour</source>
        <translation>time</translation>
    </message>
    <message>
        <source>Hours</source>
        <translation>timer</translation>
    </message>
    <message>
        <source>Shutdown in %1 %2 %3 %4</source>
        <extracomment>%1 hours, %2 Hour(s), %3 minutes, %4 Minute(s)</extracomment>
        <translation>Slår av om %1 %2 %3 %4</translation>
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
        <translation>Logg ut</translation>
    </message>
    <message>
        <source>Reboot system</source>
        <translation>Start på nytt</translation>
    </message>
    <message>
        <source>Shutdown system</source>
        <translation>Slå av</translation>
    </message>
    <message>
        <source>Suspend system</source>
        <translation>Hvilemodus</translation>
    </message>
    <message>
        <source>Lock screen</source>
        <translation>Lås skjermen</translation>
    </message>
    <message>
        <source>Timer</source>
        <translation>Tidtaker</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Avbryt</translation>
    </message>
    <message>
        <source>Logging out in</source>
        <translation>Logger ut om</translation>
    </message>
    <message>
        <source>Rebooting in</source>
        <translation>Starter på nytt om</translation>
    </message>
    <message>
        <source>Shutting down in</source>
        <translation>Slår av om</translation>
    </message>
    <message>
        <source>Suspending system in</source>
        <translation>Går i hvilemodus om</translation>
    </message>
    <message>
        <source>Locking screen in</source>
        <translation>Låser skjermen om</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Error</source>
        <translation>Feil</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Advarsel</translation>
    </message>
    <message>
        <source>Command &apos;%s&apos; not found</source>
        <translation>Fant ikke kommandoen «%s»</translation>
    </message>
    <message>
        <source>Command &apos;%s&apos; exited with code %d</source>
        <translation>Kommandoen «%s» avsluttet med kode %d</translation>
    </message>
    <message>
        <source>Command &apos;%s&apos; was terminated by signal %d</source>
        <translation>Kommandoen «%s» ble avbrutt av signal %d</translation>
    </message>
</context>
<context>
    <name>Timerwin</name>
    <message>
        <source>Set shutdown time in hours and/or minutes:</source>
        <translation>Angi tid til avslåing i timer og/eller minutter:</translation>
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
        <translation> timer</translation>
    </message>
    <message>
        <source> Minutes</source>
        <extracomment>Suffix of the minutes entry, after the number</extracomment>
        <translation> minutter</translation>
    </message>
</context>
</TS>

<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="hu" sourcelanguage="en">
<context>
    <name>Countdown</name>
    <message>
        <source>Cancel timer</source>
        <translation>Időzítés törlése</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Change timer</source>
        <translation>Időzítés módosítása</translation>
    </message>
    <message>
        <source>Shutdown in %1 %2</source>
        <extracomment>%1 is a number, %2 its unit: Second(s), Minute(s) or Hour(s)</extracomment>
        <translation>Leállítás %1 %2 múlva</translation>
    </message>
    <message>
        <source>Second</source>
        <translation>másodperc</translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation>másodperc</translation>
    </message>
    <message>
        <source>Minute</source>
        <translation>perc</translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation>perc</translation>
    </message>
    <message>
        <source>Hour</source>
        <translation>óra</translation>
    </message>
    <message>
        <source>Hours</source>
        <translation>óra</translation>
    </message>
    <message>
        <source>Shutdown in %1 %2 %3 %4</source>
        <extracomment>%1 hours, %2 Hour(s), %3 minutes, %4 Minute(s)</extracomment>
        <translation>Leállítás %1 %2 %3 %4 múlva</translation>
    </message>
</context>
<context>
    <name>Delay</name>
    <message>
        <source>Cancel</source>
        <translation>Mégse</translation>
    </message>
    <message>
        <source>second</source>
        <translation>másodperc</translation>
    </message>
    <message>
        <source>seconds</source>
        <translation>másodperc</translation>
    </message>
</context>
<context>
    <name>Mainwin</name>
    <message>
        <source>Logout</source>
        <translation>Kijelentkezés</translation>
    </message>
    <message>
        <source>Reboot system</source>
        <translation>Újraindítás</translation>
    </message>
    <message>
        <source>Shutdown system</source>
        <translation>Leállítás</translation>
    </message>
    <message>
        <source>Suspend system</source>
        <translation>Felfüggesztés</translation>
    </message>
    <message>
        <source>Lock screen</source>
        <translation>Képernyő zárolása</translation>
    </message>
    <message>
        <source>Timer</source>
        <translation>Időzítő</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Mégse</translation>
    </message>
    <message>
        <source>Logging out in</source>
        <translation>Kijelentkezésig még</translation>
    </message>
    <message>
        <source>Rebooting in</source>
        <translation>Újraindításig még</translation>
    </message>
    <message>
        <source>Shutting down in</source>
        <translation>Leállításig még</translation>
    </message>
    <message>
        <source>Suspending system in</source>
        <translation>Felfüggesztésig még</translation>
    </message>
    <message>
        <source>Locking screen in</source>
        <translation>Képernyőzárolásig még</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Error</source>
        <translation>Hiba</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Figyelmeztetés</translation>
    </message>
    <message>
        <source>Command &apos;%s&apos; not found</source>
        <translation>A(z) „%s” parancs nem található</translation>
    </message>
    <message>
        <source>Command &apos;%s&apos; exited with code %d</source>
        <translation>A(z) „%s” parancs %d kóddal lépett ki</translation>
    </message>
    <message>
        <source>Command &apos;%s&apos; was terminated by signal %d</source>
        <translation>A(z) „%s” parancsot megszakította a(z) %d jelzés</translation>
    </message>
</context>
<context>
    <name>Timerwin</name>
    <message>
        <source>Set shutdown time in hours and/or minutes:</source>
        <translation>Leállításig hátralévő idő órában és/vagy percben:</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Mégse</translation>
    </message>
    <message>
        <source> Hours</source>
        <extracomment>Suffix of the hours entry, after the number</extracomment>
        <translation> óra</translation>
    </message>
    <message>
        <source> Minutes</source>
        <extracomment>Suffix of the minutes entry, after the number</extracomment>
        <translation> perc</translation>
    </message>
</context>
</TS>

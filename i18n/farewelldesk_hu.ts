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
    <message numerus="yes">
        <source>Seconds</source>
        <extracomment>The unit after a number of seconds in &quot;Shutdown in&quot;, in the form that number asks for</extracomment>
        <translation>
            <numerusform>másodperc</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Minutes</source>
        <extracomment>The unit after a number of minutes in &quot;Shutdown in&quot;, in the form that number asks for</extracomment>
        <translation>
            <numerusform>perc</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Hours</source>
        <extracomment>The unit after a number of hours in &quot;Shutdown in&quot;, in the form that number asks for</extracomment>
        <translation>
            <numerusform>óra</numerusform>
        </translation>
    </message>
    <message>
        <source>Shutdown in %1 %2 %3 %4</source>
        <extracomment>%1 hours, %2 Hour(s), %3 minutes, %4 Minute(s)</extracomment>
        <translation>Leállítás %1 %2 %3 %4 múlva</translation>
    </message>
    <message>
        <source>Clock</source>
        <extracomment>Name of the countdown window&apos;s picture, for screen readers</extracomment>
        <translation>Óraszimbólum</translation>
    </message>
    <message>
        <source>Shutdown countdown</source>
        <extracomment>Name of the countdown window, for screen readers</extracomment>
        <translation>Visszaszámlálás a leállításig</translation>
    </message>
</context>
<context>
    <name>Delay</name>
    <message>
        <source>Cancel</source>
        <translation>Mégse</translation>
    </message>
    <message numerus="yes">
        <source>seconds</source>
        <extracomment>The unit after the seconds left in &quot;Logging out in&quot; and the like, in the form that number asks for</extracomment>
        <translation>
            <numerusform>másodperc</numerusform>
        </translation>
    </message>
    <message>
        <source>Confirm: %1</source>
        <extracomment>Name of the confirmation&apos;s window, for screen readers; %1 is the action, as its button says</extracomment>
        <translation>Megerősítés: %1</translation>
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
    <message>
        <source>L</source>
        <extracomment>Key for &quot;Logout&quot; in the chooser: one letter, typed without AltGr on the language&apos;s usual keyboard, and not another action&apos;s key</extracomment>
        <translation>K</translation>
    </message>
    <message>
        <source>R</source>
        <extracomment>Key for &quot;Reboot system&quot; in the chooser: one letter, typed without AltGr on the language&apos;s usual keyboard, and not another action&apos;s key</extracomment>
        <translation>Ú</translation>
    </message>
    <message>
        <source>S</source>
        <extracomment>Key for &quot;Shutdown system&quot; in the chooser: one letter, typed without AltGr on the language&apos;s usual keyboard, and not another action&apos;s key</extracomment>
        <translation>L</translation>
    </message>
    <message>
        <source>U</source>
        <extracomment>Key for &quot;Suspend system&quot; in the chooser: one letter, typed without AltGr on the language&apos;s usual keyboard, and not another action&apos;s key</extracomment>
        <translation>F</translation>
    </message>
    <message>
        <source>K</source>
        <extracomment>Key for &quot;Lock screen&quot; in the chooser: one letter, typed without AltGr on the language&apos;s usual keyboard, and not another action&apos;s key</extracomment>
        <translation>Z</translation>
    </message>
    <message>
        <source>T</source>
        <extracomment>Key for &quot;Timer&quot; in the chooser: one letter, typed without AltGr on the language&apos;s usual keyboard, and not another action&apos;s key</extracomment>
        <translation>I</translation>
    </message>
    <message>
        <source>Key: %1</source>
        <extracomment>Tooltip of each action button in the chooser; %1 is the letter that presses it</extracomment>
        <translation>Billentyű: %1</translation>
    </message>
    <message>
        <source>End the session</source>
        <extracomment>Name of the chooser&apos;s window, for screen readers</extracomment>
        <translation>Munkamenet befejezése</translation>
    </message>
    <message>
        <source>Power symbol</source>
        <extracomment>Name of the chooser&apos;s picture, the shutdown icon, for screen readers</extracomment>
        <translation>Főkapcsoló szimbólum</translation>
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
    <message>
        <source>No command for action %d</source>
        <extracomment>A printf format: keep %d, the action&apos;s number.</extracomment>
        <translation>Nincs parancs ehhez a művelethez: %d</translation>
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
    <message>
        <source>Clock</source>
        <extracomment>Name of the timer dialog&apos;s picture, for screen readers</extracomment>
        <translation>Óraszimbólum</translation>
    </message>
    <message>
        <source>Shutdown timer</source>
        <extracomment>Name of the timer dialog&apos;s window, for screen readers</extracomment>
        <translation>Leállítási időzítő</translation>
    </message>
</context>
</TS>

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
    <message numerus="yes">
        <source>Seconds</source>
        <extracomment>The unit after a number of seconds in &quot;Shutdown in&quot;, in the form that number asks for</extracomment>
        <translation>
            <numerusform>sekund</numerusform>
            <numerusform>sekunder</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Minutes</source>
        <extracomment>The unit after a number of minutes in &quot;Shutdown in&quot;, in the form that number asks for</extracomment>
        <translation>
            <numerusform>minutt</numerusform>
            <numerusform>minutter</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Hours</source>
        <extracomment>The unit after a number of hours in &quot;Shutdown in&quot;, in the form that number asks for</extracomment>
        <translation>
            <numerusform>time</numerusform>
            <numerusform>timer</numerusform>
        </translation>
    </message>
    <message>
        <source>Shutdown in %1 %2 %3 %4</source>
        <extracomment>%1 hours, %2 Hour(s), %3 minutes, %4 Minute(s)</extracomment>
        <translation>Slår av om %1 %2 %3 %4</translation>
    </message>
    <message>
        <source>Clock</source>
        <extracomment>Name of the countdown window&apos;s picture, for screen readers</extracomment>
        <translation>Klokke</translation>
    </message>
    <message>
        <source>Shutdown countdown</source>
        <extracomment>Name of the countdown window, for screen readers</extracomment>
        <translation>Nedtelling til avslåing</translation>
    </message>
</context>
<context>
    <name>Delay</name>
    <message>
        <source>Cancel</source>
        <translation>Avbryt</translation>
    </message>
    <message numerus="yes">
        <source>seconds</source>
        <extracomment>The unit after the seconds left in &quot;Logging out in&quot; and the like, in the form that number asks for</extracomment>
        <translation>
            <numerusform>sekund</numerusform>
            <numerusform>sekunder</numerusform>
        </translation>
    </message>
    <message>
        <source>Confirm: %1</source>
        <extracomment>Name of the confirmation&apos;s window, for screen readers; %1 is the action, as its button says</extracomment>
        <translation>Bekreft: %1</translation>
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
    <message>
        <source>L</source>
        <extracomment>Key for &quot;Logout&quot; in the chooser: one letter, typed without AltGr on the language&apos;s usual keyboard, and not another action&apos;s key</extracomment>
        <translation>L</translation>
    </message>
    <message>
        <source>R</source>
        <extracomment>Key for &quot;Reboot system&quot; in the chooser: one letter, typed without AltGr on the language&apos;s usual keyboard, and not another action&apos;s key</extracomment>
        <translation>N</translation>
    </message>
    <message>
        <source>S</source>
        <extracomment>Key for &quot;Shutdown system&quot; in the chooser: one letter, typed without AltGr on the language&apos;s usual keyboard, and not another action&apos;s key</extracomment>
        <translation>S</translation>
    </message>
    <message>
        <source>U</source>
        <extracomment>Key for &quot;Suspend system&quot; in the chooser: one letter, typed without AltGr on the language&apos;s usual keyboard, and not another action&apos;s key</extracomment>
        <translation>H</translation>
    </message>
    <message>
        <source>K</source>
        <extracomment>Key for &quot;Lock screen&quot; in the chooser: one letter, typed without AltGr on the language&apos;s usual keyboard, and not another action&apos;s key</extracomment>
        <translation>K</translation>
    </message>
    <message>
        <source>T</source>
        <extracomment>Key for &quot;Timer&quot; in the chooser: one letter, typed without AltGr on the language&apos;s usual keyboard, and not another action&apos;s key</extracomment>
        <translation>T</translation>
    </message>
    <message>
        <source>Key: %1</source>
        <extracomment>Tooltip of each action button in the chooser; %1 is the letter that presses it</extracomment>
        <translation>Tast: %1</translation>
    </message>
    <message>
        <source>End the session</source>
        <extracomment>Name of the chooser&apos;s window, for screen readers</extracomment>
        <translation>Avslutt økten</translation>
    </message>
    <message>
        <source>Power symbol</source>
        <extracomment>Name of the chooser&apos;s picture, the shutdown icon, for screen readers</extracomment>
        <translation>Av/på-symbol</translation>
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
    <message>
        <source>No command for action %d</source>
        <extracomment>A printf format: keep %d, the action&apos;s number.</extracomment>
        <translation>Ingen kommando for handling %d</translation>
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
    <message>
        <source>Clock</source>
        <extracomment>Name of the timer dialog&apos;s picture, for screen readers</extracomment>
        <translation>Klokke</translation>
    </message>
    <message>
        <source>Shutdown timer</source>
        <extracomment>Name of the timer dialog&apos;s window, for screen readers</extracomment>
        <translation>Tidtaker for avslåing</translation>
    </message>
</context>
</TS>

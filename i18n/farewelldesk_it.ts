<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it" sourcelanguage="en">
<context>
    <name>Countdown</name>
    <message>
        <source>Cancel timer</source>
        <translation>Annulla timer</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Change timer</source>
        <translation>Modifica timer</translation>
    </message>
    <message>
        <source>Shutdown in %1 %2</source>
        <extracomment>%1 is a number, %2 its unit: Second(s), Minute(s) or Hour(s)</extracomment>
        <translation>Spegnimento tra %1 %2</translation>
    </message>
    <message numerus="yes">
        <source>Seconds</source>
        <extracomment>The unit after a number of seconds in &quot;Shutdown in&quot;, in the form that number asks for</extracomment>
        <translation>
            <numerusform>secondo</numerusform>
            <numerusform>secondi</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Minutes</source>
        <extracomment>The unit after a number of minutes in &quot;Shutdown in&quot;, in the form that number asks for</extracomment>
        <translation>
            <numerusform>minuto</numerusform>
            <numerusform>minuti</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Hours</source>
        <extracomment>The unit after a number of hours in &quot;Shutdown in&quot;, in the form that number asks for</extracomment>
        <translation>
            <numerusform>ora</numerusform>
            <numerusform>ore</numerusform>
        </translation>
    </message>
    <message>
        <source>Shutdown in %1 %2 %3 %4</source>
        <extracomment>%1 hours, %2 Hour(s), %3 minutes, %4 Minute(s)</extracomment>
        <translation>Spegnimento tra %1 %2 e %3 %4</translation>
    </message>
    <message>
        <source>Clock</source>
        <extracomment>Name of the countdown window&apos;s picture, for screen readers</extracomment>
        <translation>Orologio</translation>
    </message>
    <message>
        <source>Shutdown countdown</source>
        <extracomment>Name of the countdown window, for screen readers</extracomment>
        <translation>Conto alla rovescia per lo spegnimento</translation>
    </message>
</context>
<context>
    <name>Delay</name>
    <message>
        <source>Cancel</source>
        <translation>Annulla</translation>
    </message>
    <message numerus="yes">
        <source>seconds</source>
        <extracomment>The unit after the seconds left in &quot;Logging out in&quot; and the like, in the form that number asks for</extracomment>
        <translation>
            <numerusform>secondo</numerusform>
            <numerusform>secondi</numerusform>
        </translation>
    </message>
    <message>
        <source>Confirm: %1</source>
        <extracomment>Name of the confirmation&apos;s window, for screen readers; %1 is the action, as its button says</extracomment>
        <translation>Conferma: %1</translation>
    </message>
</context>
<context>
    <name>Mainwin</name>
    <message>
        <source>Logout</source>
        <translation>Esci</translation>
    </message>
    <message>
        <source>Reboot system</source>
        <translation>Riavvia</translation>
    </message>
    <message>
        <source>Shutdown system</source>
        <translation>Spegni</translation>
    </message>
    <message>
        <source>Suspend system</source>
        <translation>Sospendi</translation>
    </message>
    <message>
        <source>Lock screen</source>
        <translation>Blocca schermo</translation>
    </message>
    <message>
        <source>Timer</source>
        <translation>Timer</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annulla</translation>
    </message>
    <message>
        <source>Logging out in</source>
        <translation>Uscita tra</translation>
    </message>
    <message>
        <source>Rebooting in</source>
        <translation>Riavvio tra</translation>
    </message>
    <message>
        <source>Shutting down in</source>
        <translation>Spegnimento tra</translation>
    </message>
    <message>
        <source>Suspending system in</source>
        <translation>Sospensione tra</translation>
    </message>
    <message>
        <source>Locking screen in</source>
        <translation>Blocco dello schermo tra</translation>
    </message>
    <message>
        <source>L</source>
        <extracomment>Key for &quot;Logout&quot; in the chooser: one letter, typed without AltGr on the language&apos;s usual keyboard, and not another action&apos;s key</extracomment>
        <translation>E</translation>
    </message>
    <message>
        <source>R</source>
        <extracomment>Key for &quot;Reboot system&quot; in the chooser: one letter, typed without AltGr on the language&apos;s usual keyboard, and not another action&apos;s key</extracomment>
        <translation>R</translation>
    </message>
    <message>
        <source>S</source>
        <extracomment>Key for &quot;Shutdown system&quot; in the chooser: one letter, typed without AltGr on the language&apos;s usual keyboard, and not another action&apos;s key</extracomment>
        <translation>S</translation>
    </message>
    <message>
        <source>U</source>
        <extracomment>Key for &quot;Suspend system&quot; in the chooser: one letter, typed without AltGr on the language&apos;s usual keyboard, and not another action&apos;s key</extracomment>
        <translation>O</translation>
    </message>
    <message>
        <source>K</source>
        <extracomment>Key for &quot;Lock screen&quot; in the chooser: one letter, typed without AltGr on the language&apos;s usual keyboard, and not another action&apos;s key</extracomment>
        <translation>B</translation>
    </message>
    <message>
        <source>T</source>
        <extracomment>Key for &quot;Timer&quot; in the chooser: one letter, typed without AltGr on the language&apos;s usual keyboard, and not another action&apos;s key</extracomment>
        <translation>T</translation>
    </message>
    <message>
        <source>Key: %1</source>
        <extracomment>Tooltip of each action button in the chooser; %1 is the letter that presses it</extracomment>
        <translation>Tasto: %1</translation>
    </message>
    <message>
        <source>End the session</source>
        <extracomment>Name of the chooser&apos;s window, for screen readers</extracomment>
        <translation>Termina la sessione</translation>
    </message>
    <message>
        <source>Power symbol</source>
        <extracomment>Name of the chooser&apos;s picture, the shutdown icon, for screen readers</extracomment>
        <translation>Simbolo di accensione</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Error</source>
        <translation>Errore</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Avviso</translation>
    </message>
    <message>
        <source>Command &apos;%s&apos; not found</source>
        <translation>Comando «%s» non trovato</translation>
    </message>
    <message>
        <source>Command &apos;%s&apos; exited with code %d</source>
        <translation>Il comando «%s» è terminato con il codice %d</translation>
    </message>
    <message>
        <source>Command &apos;%s&apos; was terminated by signal %d</source>
        <translation>Il comando «%s» è stato interrotto dal segnale %d</translation>
    </message>
    <message>
        <source>No command for action %d</source>
        <extracomment>A printf format: keep %d, the action&apos;s number.</extracomment>
        <translation>Nessun comando per l’azione %d</translation>
    </message>
</context>
<context>
    <name>Timerwin</name>
    <message>
        <source>Set shutdown time in hours and/or minutes:</source>
        <translation>Tempo prima dello spegnimento in ore e/o minuti:</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Annulla</translation>
    </message>
    <message>
        <source> Hours</source>
        <extracomment>Suffix of the hours entry, after the number</extracomment>
        <translation> ore</translation>
    </message>
    <message>
        <source> Minutes</source>
        <extracomment>Suffix of the minutes entry, after the number</extracomment>
        <translation> minuti</translation>
    </message>
    <message>
        <source>Clock</source>
        <extracomment>Name of the timer dialog&apos;s picture, for screen readers</extracomment>
        <translation>Orologio</translation>
    </message>
    <message>
        <source>Shutdown timer</source>
        <extracomment>Name of the timer dialog&apos;s window, for screen readers</extracomment>
        <translation>Timer di spegnimento</translation>
    </message>
</context>
</TS>

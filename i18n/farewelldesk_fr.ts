<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="en">
<context>
    <name>Countdown</name>
    <message>
        <source>Cancel timer</source>
        <translation>Annuler la minuterie</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Change timer</source>
        <translation>Modifier la minuterie</translation>
    </message>
    <message>
        <source>Shutdown in %1 %2</source>
        <extracomment>%1 is a number, %2 its unit: Second(s), Minute(s) or Hour(s)</extracomment>
        <translation>Extinction dans %1 %2</translation>
    </message>
    <message numerus="yes">
        <source>Seconds</source>
        <extracomment>The unit after a number of seconds in &quot;Shutdown in&quot;, in the form that number asks for</extracomment>
        <translation>
            <numerusform>seconde</numerusform>
            <numerusform>secondes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Minutes</source>
        <extracomment>The unit after a number of minutes in &quot;Shutdown in&quot;, in the form that number asks for</extracomment>
        <translation>
            <numerusform>minute</numerusform>
            <numerusform>minutes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Hours</source>
        <extracomment>The unit after a number of hours in &quot;Shutdown in&quot;, in the form that number asks for</extracomment>
        <translation>
            <numerusform>heure</numerusform>
            <numerusform>heures</numerusform>
        </translation>
    </message>
    <message>
        <source>Shutdown in %1 %2 %3 %4</source>
        <extracomment>%1 hours, %2 Hour(s), %3 minutes, %4 Minute(s)</extracomment>
        <translation>Extinction dans %1 %2 %3 %4</translation>
    </message>
    <message>
        <source>Clock</source>
        <extracomment>Name of the countdown window&apos;s picture, for screen readers</extracomment>
        <translation>Horloge</translation>
    </message>
    <message>
        <source>Shutdown countdown</source>
        <extracomment>Name of the countdown window, for screen readers</extracomment>
        <translation>Compte à rebours avant l’arrêt</translation>
    </message>
</context>
<context>
    <name>Delay</name>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message numerus="yes">
        <source>seconds</source>
        <extracomment>The unit after the seconds left in &quot;Logging out in&quot; and the like, in the form that number asks for</extracomment>
        <translation>
            <numerusform>seconde</numerusform>
            <numerusform>secondes</numerusform>
        </translation>
    </message>
    <message>
        <source>Confirm: %1</source>
        <extracomment>Name of the confirmation&apos;s window, for screen readers; %1 is the action, as its button says</extracomment>
        <translation>Confirmer : %1</translation>
    </message>
</context>
<context>
    <name>Mainwin</name>
    <message>
        <source>Logout</source>
        <translation>Déconnexion</translation>
    </message>
    <message>
        <source>Reboot system</source>
        <translation>Redémarrer</translation>
    </message>
    <message>
        <source>Shutdown system</source>
        <translation>Éteindre</translation>
    </message>
    <message>
        <source>Suspend system</source>
        <translation>Mettre en veille</translation>
    </message>
    <message>
        <source>Lock screen</source>
        <translation>Verrouiller l’écran</translation>
    </message>
    <message>
        <source>Timer</source>
        <translation>Minuterie</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Logging out in</source>
        <translation>Déconnexion dans</translation>
    </message>
    <message>
        <source>Rebooting in</source>
        <translation>Redémarrage dans</translation>
    </message>
    <message>
        <source>Shutting down in</source>
        <translation>Extinction dans</translation>
    </message>
    <message>
        <source>Suspending system in</source>
        <translation>Mise en veille dans</translation>
    </message>
    <message>
        <source>Locking screen in</source>
        <translation>Verrouillage de l’écran dans</translation>
    </message>
    <message>
        <source>L</source>
        <extracomment>Key for &quot;Logout&quot; in the chooser: one letter, typed without AltGr on the language&apos;s usual keyboard, and not another action&apos;s key</extracomment>
        <translation>D</translation>
    </message>
    <message>
        <source>R</source>
        <extracomment>Key for &quot;Reboot system&quot; in the chooser: one letter, typed without AltGr on the language&apos;s usual keyboard, and not another action&apos;s key</extracomment>
        <translation>R</translation>
    </message>
    <message>
        <source>S</source>
        <extracomment>Key for &quot;Shutdown system&quot; in the chooser: one letter, typed without AltGr on the language&apos;s usual keyboard, and not another action&apos;s key</extracomment>
        <translation>E</translation>
    </message>
    <message>
        <source>U</source>
        <extracomment>Key for &quot;Suspend system&quot; in the chooser: one letter, typed without AltGr on the language&apos;s usual keyboard, and not another action&apos;s key</extracomment>
        <translation>V</translation>
    </message>
    <message>
        <source>K</source>
        <extracomment>Key for &quot;Lock screen&quot; in the chooser: one letter, typed without AltGr on the language&apos;s usual keyboard, and not another action&apos;s key</extracomment>
        <translation>L</translation>
    </message>
    <message>
        <source>T</source>
        <extracomment>Key for &quot;Timer&quot; in the chooser: one letter, typed without AltGr on the language&apos;s usual keyboard, and not another action&apos;s key</extracomment>
        <translation>M</translation>
    </message>
    <message>
        <source>Key: %1</source>
        <extracomment>Tooltip of each action button in the chooser; %1 is the letter that presses it</extracomment>
        <translation>Touche&#xa0;: %1</translation>
    </message>
    <message>
        <source>End the session</source>
        <extracomment>Name of the chooser&apos;s window, for screen readers</extracomment>
        <translation>Terminer la session</translation>
    </message>
    <message>
        <source>Power symbol</source>
        <extracomment>Name of the chooser&apos;s picture, the shutdown icon, for screen readers</extracomment>
        <translation>Symbole d’alimentation</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Avertissement</translation>
    </message>
    <message>
        <source>Command &apos;%s&apos; not found</source>
        <translation>Commande « %s » introuvable</translation>
    </message>
    <message>
        <source>Command &apos;%s&apos; exited with code %d</source>
        <translation>La commande « %s » s’est terminée avec le code %d</translation>
    </message>
    <message>
        <source>Command &apos;%s&apos; was terminated by signal %d</source>
        <translation>La commande « %s » a été interrompue par le signal %d</translation>
    </message>
    <message>
        <source>No command for action %d</source>
        <extracomment>A printf format: keep %d, the action&apos;s number.</extracomment>
        <translation>Aucune commande pour l’action %d</translation>
    </message>
</context>
<context>
    <name>Timerwin</name>
    <message>
        <source>Set shutdown time in hours and/or minutes:</source>
        <translation>Délai avant l’extinction en heures et/ou minutes&#xa0;:</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source> Hours</source>
        <extracomment>Suffix of the hours entry, after the number</extracomment>
        <translation> heures</translation>
    </message>
    <message>
        <source> Minutes</source>
        <extracomment>Suffix of the minutes entry, after the number</extracomment>
        <translation> minutes</translation>
    </message>
    <message>
        <source>Clock</source>
        <extracomment>Name of the timer dialog&apos;s picture, for screen readers</extracomment>
        <translation>Horloge</translation>
    </message>
    <message>
        <source>Shutdown timer</source>
        <extracomment>Name of the timer dialog&apos;s window, for screen readers</extracomment>
        <translation>Minuterie d’arrêt</translation>
    </message>
</context>
</TS>

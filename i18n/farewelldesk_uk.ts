<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="uk" sourcelanguage="en">
<context>
    <name>Countdown</name>
    <message>
        <source>Cancel timer</source>
        <translation>Скасувати таймер</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Гаразд</translation>
    </message>
    <message>
        <source>Change timer</source>
        <translation>Змінити таймер</translation>
    </message>
    <message>
        <source>Shutdown in %1 %2</source>
        <extracomment>%1 is a number, %2 its unit: Second(s), Minute(s) or Hour(s)</extracomment>
        <translation>Вимкнення через %1 %2</translation>
    </message>
    <message>
        <source>Second</source>
        <translation>с</translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation>с</translation>
    </message>
    <message>
        <source>Minute</source>
        <translation>хв</translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation>хв</translation>
    </message>
    <message>
        <source>Hour</source>
        <translation>год</translation>
    </message>
    <message>
        <source>Hours</source>
        <translation>год</translation>
    </message>
    <message>
        <source>Shutdown in %1 %2 %3 %4</source>
        <extracomment>%1 hours, %2 Hour(s), %3 minutes, %4 Minute(s)</extracomment>
        <translation>Вимкнення через %1 %2 %3 %4</translation>
    </message>
</context>
<context>
    <name>Delay</name>
    <message>
        <source>Cancel</source>
        <translation>Скасувати</translation>
    </message>
    <message>
        <source>second</source>
        <translation>с</translation>
    </message>
    <message>
        <source>seconds</source>
        <translation>с</translation>
    </message>
</context>
<context>
    <name>Mainwin</name>
    <message>
        <source>Logout</source>
        <translation>Вийти</translation>
    </message>
    <message>
        <source>Reboot system</source>
        <translation>Перезавантажити</translation>
    </message>
    <message>
        <source>Shutdown system</source>
        <translation>Вимкнути</translation>
    </message>
    <message>
        <source>Suspend system</source>
        <translation>Призупинити</translation>
    </message>
    <message>
        <source>Lock screen</source>
        <translation>Заблокувати</translation>
    </message>
    <message>
        <source>Timer</source>
        <translation>Таймер</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Скасувати</translation>
    </message>
    <message>
        <source>Logging out in</source>
        <translation>Вихід через</translation>
    </message>
    <message>
        <source>Rebooting in</source>
        <translation>Перезавантаження через</translation>
    </message>
    <message>
        <source>Shutting down in</source>
        <translation>Вимкнення через</translation>
    </message>
    <message>
        <source>Suspending system in</source>
        <translation>Призупинення через</translation>
    </message>
    <message>
        <source>Locking screen in</source>
        <translation>Блокування екрана через</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Error</source>
        <translation>Помилка</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Попередження</translation>
    </message>
    <message>
        <source>Command &apos;%s&apos; not found</source>
        <translation>Команду «%s» не знайдено</translation>
    </message>
    <message>
        <source>Command &apos;%s&apos; exited with code %d</source>
        <translation>Команда «%s» завершилася з кодом %d</translation>
    </message>
    <message>
        <source>Command &apos;%s&apos; was terminated by signal %d</source>
        <translation>Команду «%s» перервано сигналом %d</translation>
    </message>
</context>
<context>
    <name>Timerwin</name>
    <message>
        <source>Set shutdown time in hours and/or minutes:</source>
        <translation>Час до вимкнення в годинах та/або хвилинах:</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;Гаразд</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Скасувати</translation>
    </message>
    <message>
        <source> Hours</source>
        <extracomment>Suffix of the hours entry, after the number</extracomment>
        <translation> год</translation>
    </message>
    <message>
        <source> Minutes</source>
        <extracomment>Suffix of the minutes entry, after the number</extracomment>
        <translation> хв</translation>
    </message>
</context>
</TS>

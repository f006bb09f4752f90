<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>Countdown</name>
    <message numerus="yes">
        <source>Hours</source>
        <extracomment>The unit after a number of hours in &quot;Shutdown in&quot;, in the form that number asks for</extracomment>
        <translation>
            <numerusform>Hour</numerusform>
            <numerusform>Hours</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Minutes</source>
        <extracomment>The unit after a number of minutes in &quot;Shutdown in&quot;, in the form that number asks for</extracomment>
        <translation>
            <numerusform>Minute</numerusform>
            <numerusform>Minutes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Seconds</source>
        <extracomment>The unit after a number of seconds in &quot;Shutdown in&quot;, in the form that number asks for</extracomment>
        <translation>
            <numerusform>Second</numerusform>
            <numerusform>Seconds</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Delay</name>
    <message numerus="yes">
        <source>seconds</source>
        <extracomment>The unit after the seconds left in &quot;Logging out in&quot; and the like, in the form that number asks for</extracomment>
        <translation>
            <numerusform>second</numerusform>
            <numerusform>seconds</numerusform>
        </translation>
    </message>
</context>
</TS>

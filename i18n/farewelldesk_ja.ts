<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja" sourcelanguage="en">
<context>
    <name>Countdown</name>
    <message>
        <source>Cancel timer</source>
        <translation>タイマーを取り消す</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Change timer</source>
        <translation>タイマーを変更</translation>
    </message>
    <message>
        <source>Shutdown in %1 %2</source>
        <extracomment>%1 is a number, %2 its unit: Second(s), Minute(s) or Hour(s)</extracomment>
        <translation>シャットダウンまで %1 %2</translation>
    </message>
    <message numerus="yes">
        <source>Seconds</source>
        <extracomment>The unit after a number of seconds in &quot;Shutdown in&quot;, in the form that number asks for</extracomment>
        <translation>
            <numerusform>秒</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Minutes</source>
        <extracomment>The unit after a number of minutes in &quot;Shutdown in&quot;, in the form that number asks for</extracomment>
        <translation>
            <numerusform>分</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Hours</source>
        <extracomment>The unit after a number of hours in &quot;Shutdown in&quot;, in the form that number asks for</extracomment>
        <translation>
            <numerusform>時間</numerusform>
        </translation>
    </message>
    <message>
        <source>Shutdown in %1 %2 %3 %4</source>
        <extracomment>%1 hours, %2 Hour(s), %3 minutes, %4 Minute(s)</extracomment>
        <translation>シャットダウンまで %1 %2 %3 %4</translation>
    </message>
    <message>
        <source>Clock</source>
        <extracomment>Name of the countdown window&apos;s picture, for screen readers</extracomment>
        <translation>時計</translation>
    </message>
    <message>
        <source>Shutdown countdown</source>
        <extracomment>Name of the countdown window, for screen readers</extracomment>
        <translation>シャットダウンまでのカウントダウン</translation>
    </message>
</context>
<context>
    <name>Delay</name>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message numerus="yes">
        <source>seconds</source>
        <extracomment>The unit after the seconds left in &quot;Logging out in&quot; and the like, in the form that number asks for</extracomment>
        <translation>
            <numerusform>秒</numerusform>
        </translation>
    </message>
    <message>
        <source>Confirm: %1</source>
        <extracomment>Name of the confirmation&apos;s window, for screen readers; %1 is the action, as its button says</extracomment>
        <translation>確認: %1</translation>
    </message>
</context>
<context>
    <name>Mainwin</name>
    <message>
        <source>Logout</source>
        <translation>ログアウト</translation>
    </message>
    <message>
        <source>Reboot system</source>
        <translation>再起動</translation>
    </message>
    <message>
        <source>Shutdown system</source>
        <translation>シャットダウン</translation>
    </message>
    <message>
        <source>Suspend system</source>
        <translation>サスペンド</translation>
    </message>
    <message>
        <source>Lock screen</source>
        <translation>画面をロック</translation>
    </message>
    <message>
        <source>Timer</source>
        <translation>タイマー</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Logging out in</source>
        <translation>ログアウトまで</translation>
    </message>
    <message>
        <source>Rebooting in</source>
        <translation>再起動まで</translation>
    </message>
    <message>
        <source>Shutting down in</source>
        <translation>シャットダウンまで</translation>
    </message>
    <message>
        <source>Suspending system in</source>
        <translation>サスペンドまで</translation>
    </message>
    <message>
        <source>Locking screen in</source>
        <translation>画面のロックまで</translation>
    </message>
    <message>
        <source>L</source>
        <extracomment>Key for &quot;Logout&quot; in the chooser: one letter, typed without AltGr on the language&apos;s usual keyboard, and not another action&apos;s key</extracomment>
        <translation>L</translation>
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
        <translation>U</translation>
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
        <translation>キー: %1</translation>
    </message>
    <message>
        <source>End the session</source>
        <extracomment>Name of the chooser&apos;s window, for screen readers</extracomment>
        <translation>セッションの終了</translation>
    </message>
    <message>
        <source>Power symbol</source>
        <extracomment>Name of the chooser&apos;s picture, the shutdown icon, for screen readers</extracomment>
        <translation>電源マーク</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Error</source>
        <translation>エラー</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Command &apos;%s&apos; not found</source>
        <translation>コマンド「%s」が見つかりません</translation>
    </message>
    <message>
        <source>Command &apos;%s&apos; exited with code %d</source>
        <translation>コマンド「%s」はコード %d で終了しました</translation>
    </message>
    <message>
        <source>Command &apos;%s&apos; was terminated by signal %d</source>
        <translation>コマンド「%s」はシグナル %d で強制終了されました</translation>
    </message>
    <message>
        <source>No command for action %d</source>
        <extracomment>A printf format: keep %d, the action&apos;s number.</extracomment>
        <translation>アクション %d のコマンドがありません</translation>
    </message>
</context>
<context>
    <name>Timerwin</name>
    <message>
        <source>Set shutdown time in hours and/or minutes:</source>
        <translation>何時間何分後にシャットダウンするか指定してください:</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>OK(&amp;O)</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>キャンセル(&amp;C)</translation>
    </message>
    <message>
        <source> Hours</source>
        <extracomment>Suffix of the hours entry, after the number</extracomment>
        <translation> 時間</translation>
    </message>
    <message>
        <source> Minutes</source>
        <extracomment>Suffix of the minutes entry, after the number</extracomment>
        <translation> 分</translation>
    </message>
    <message>
        <source>Clock</source>
        <extracomment>Name of the timer dialog&apos;s picture, for screen readers</extracomment>
        <translation>時計</translation>
    </message>
    <message>
        <source>Shutdown timer</source>
        <extracomment>Name of the timer dialog&apos;s window, for screen readers</extracomment>
        <translation>シャットダウンタイマー</translation>
    </message>
</context>
</TS>

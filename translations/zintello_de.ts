<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>SaverCommandLine</name>
    <message>
        <source>Couldn&apos;t parse command line:</source>
        <translation>Die Befehlszeile konnte nicht gelesen werden:</translation>
    </message>
</context>
<context>
    <name>ScreenSaverModes</name>
    <message>
        <source>ScreenSaver error</source>
        <translation>Fehler des Bildschirmschoners</translation>
    </message>
</context>
<context>
    <name>UpdateChecker</name>
    <message>
        <source>A new version of ZINTELLO is available</source>
        <translation>Eine neue Version von ZINTELLO ist da</translation>
    </message>
    <message>
        <source>ZINTELLO %1 is now available - you have %2. Would you like to download it now?</source>
        <translation>ZINTELLO %1 ist jetzt erhältlich – Sie haben %2. Möchten Sie es jetzt herunterladen?</translation>
    </message>
    <message>
        <source>Ignore</source>
        <translation>Ignorieren</translation>
    </message>
    <message>
        <source>Remind me later</source>
        <translation>Später erinnern</translation>
    </message>
    <message>
        <source>Download...</source>
        <translation>Herunterladen …</translation>
    </message>
</context>
<context>
    <name>ZintelloDesktopSettingsWindow</name>
    <message>
        <source>ZINTELLO Settings</source>
        <translation>ZINTELLO Einstellungen</translation>
    </message>
    <message>
        <source>Design</source>
        <translation>Design</translation>
    </message>
    <message>
        <source>Advanced</source>
        <translation>Erweitert</translation>
    </message>
    <message>
        <source>Start ZINTELLO on login</source>
        <translation>ZINTELLO bei der Anmeldung starten</translation>
    </message>
    <message>
        <source>Use your own background image</source>
        <translation>Eigenes Hintergrundbild verwenden</translation>
    </message>
    <message>
        <source>Open Scrennsaver Settings</source>
        <translation>Bildschirmschoner einstellen</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>&amp;Settings</source>
        <translation>&amp;Einstellungen</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Click on the icon to open the settings and change the design or the language</source>
        <translation>Klicken Sie auf das Symbol, um die Einstellungen zu öffnen und Design oder Sprache zu ändern</translation>
    </message>
    <message>
        <source>Start the screensaver after</source>
        <translation>Bildschirmschoner starten nach</translation>
    </message>
    <message>
        <source>minutes</source>
        <translation>Minuten</translation>
    </message>
    <message>
        <source>This session does not tell how long you have been idle, so the screensaver cannot start by itself.</source>
        <translation>Diese Sitzung verrät nicht, wie lange Sie untätig sind; der Bildschirmschoner kann daher nicht von selbst starten.</translation>
    </message>
    <message>
        <source>This desktop cannot keep the live background below your windows, so it is not shown. The wallpaper, the settings and the screensaver work as usual.</source>
        <translation>Dieser Desktop kann den lebendigen Hintergrund nicht unter Ihren Fenstern halten, daher wird er nicht gezeigt. Hintergrundbild, Einstellungen und Bildschirmschoner funktionieren wie gewohnt.</translation>
    </message>
    <message>
        <source>The desktop&apos;s own picture is not known: the design stays as the background.</source>
        <translation>Das eigene Bild des Desktops ist nicht bekannt: Das Design bleibt als Hintergrund.</translation>
    </message>
    <message>
        <source>Your settings could not be saved (is the disk full?). ZINTELLO tries again at the next change.</source>
        <translation>Ihre Einstellungen konnten nicht gespeichert werden (ist der Datenträger voll?). ZINTELLO versucht es bei der nächsten Änderung erneut.</translation>
    </message>
</context>
<context>
    <name>ZintelloSaverSettings</name>
    <message>
        <source>ZINTELLO Screensaver Settings</source>
        <translation>ZINTELLO Bildschirmschoner – Einstellungen</translation>
    </message>
</context>
</TS>

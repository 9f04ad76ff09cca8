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
        <source>ZINTELLO %1 is now available - you have 1.1. Would you like to download it now?</source>
        <translation>ZINTELLO %1 ist jetzt erhältlich – Sie haben 1.1. Möchten Sie es jetzt herunterladen?</translation>
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
</context>
<context>
    <name>ZintelloSaverSettings</name>
    <message>
        <source>ZINTELLO Screensaver Settings</source>
        <translation>ZINTELLO Bildschirmschoner – Einstellungen</translation>
    </message>
</context>
</TS>

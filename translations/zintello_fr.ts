<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>SaverCommandLine</name>
    <message>
        <source>Couldn&apos;t parse command line:</source>
        <translation>Impossible de lire la ligne de commande :</translation>
    </message>
</context>
<context>
    <name>ScreenSaverModes</name>
    <message>
        <source>ScreenSaver error</source>
        <translation>Erreur de l’économiseur d’écran</translation>
    </message>
</context>
<context>
    <name>UpdateChecker</name>
    <message>
        <source>A new version of ZINTELLO is available</source>
        <translation>Une nouvelle version de ZINTELLO est disponible</translation>
    </message>
    <message>
        <source>ZINTELLO %1 is now available - you have 1.1. Would you like to download it now?</source>
        <translation>ZINTELLO %1 est disponible – vous avez la 1.1. Voulez-vous le télécharger maintenant ?</translation>
    </message>
    <message>
        <source>Ignore</source>
        <translation>Ignorer</translation>
    </message>
    <message>
        <source>Remind me later</source>
        <translation>Me le rappeler plus tard</translation>
    </message>
    <message>
        <source>Download...</source>
        <translation>Télécharger…</translation>
    </message>
</context>
<context>
    <name>ZintelloDesktopSettingsWindow</name>
    <message>
        <source>ZINTELLO Settings</source>
        <translation>Réglages de ZINTELLO</translation>
    </message>
    <message>
        <source>Design</source>
        <translation>Design</translation>
    </message>
    <message>
        <source>Advanced</source>
        <translation>Avancé</translation>
    </message>
    <message>
        <source>Start ZINTELLO on login</source>
        <translation>Lancer ZINTELLO à l’ouverture de session</translation>
    </message>
    <message>
        <source>Use your own background image</source>
        <translation>Utiliser votre propre image de fond</translation>
    </message>
    <message>
        <source>Open Scrennsaver Settings</source>
        <translation>Régler l’économiseur d’écran</translation>
    </message>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>&amp;Settings</source>
        <translation>&amp;Réglages</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>Click on the icon to open the settings and change the design or the language</source>
        <translation>Cliquez sur l’icône pour ouvrir les réglages et changer le design ou la langue</translation>
    </message>
</context>
<context>
    <name>ZintelloSaverSettings</name>
    <message>
        <source>ZINTELLO Screensaver Settings</source>
        <translation>Réglages de l’économiseur d’écran ZINTELLO</translation>
    </message>
</context>
</TS>

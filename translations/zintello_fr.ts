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
        <source>ZINTELLO %1 is now available - you have %2. Would you like to download it now?</source>
        <translation>ZINTELLO %1 est disponible – vous avez la %2. Voulez-vous le télécharger maintenant ?</translation>
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
    <message>
        <source>Start the screensaver after</source>
        <translation>Lancer l’économiseur d’écran après</translation>
    </message>
    <message>
        <source>minutes</source>
        <translation>minutes</translation>
    </message>
    <message>
        <source>This session does not tell how long you have been idle, so the screensaver cannot start by itself.</source>
        <translation>Cette session n’indique pas depuis quand vous êtes inactif ; l’économiseur d’écran ne peut donc pas démarrer tout seul.</translation>
    </message>
    <message>
        <source>This desktop cannot keep the live background below your windows, so it is not shown. The wallpaper, the settings and the screensaver work as usual.</source>
        <translation>Ce bureau ne peut pas garder le fond vivant sous vos fenêtres ; il n’est donc pas affiché. Le fond d’écran, les réglages et l’économiseur d’écran fonctionnent comme d’habitude.</translation>
    </message>
    <message>
        <source>The desktop&apos;s own picture is not known: the design stays as the background.</source>
        <translation>L’image propre du bureau n’est pas connue : le design reste en fond.</translation>
    </message>
    <message>
        <source>Your settings could not be saved (is the disk full?). ZINTELLO tries again at the next change.</source>
        <translation>Vos réglages n’ont pas pu être enregistrés (le disque est-il plein ?). ZINTELLO réessaiera au prochain changement.</translation>
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

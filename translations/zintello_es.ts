<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>SaverCommandLine</name>
    <message>
        <source>Couldn&apos;t parse command line:</source>
        <translation>No se pudo leer la línea de comandos:</translation>
    </message>
</context>
<context>
    <name>ScreenSaverModes</name>
    <message>
        <source>ScreenSaver error</source>
        <translation>Error del salvapantallas</translation>
    </message>
</context>
<context>
    <name>UpdateChecker</name>
    <message>
        <source>A new version of ZINTELLO is available</source>
        <translation>Hay una nueva versión de ZINTELLO</translation>
    </message>
    <message>
        <source>ZINTELLO %1 is now available - you have %2. Would you like to download it now?</source>
        <translation>ZINTELLO %1 ya está disponible; usted tiene la %2. ¿Desea descargarlo ahora?</translation>
    </message>
    <message>
        <source>Ignore</source>
        <translation>Ignorar</translation>
    </message>
    <message>
        <source>Remind me later</source>
        <translation>Recordármelo más tarde</translation>
    </message>
    <message>
        <source>Download...</source>
        <translation>Descargar…</translation>
    </message>
</context>
<context>
    <name>ZintelloDesktopSettingsWindow</name>
    <message>
        <source>ZINTELLO Settings</source>
        <translation>Ajustes de ZINTELLO</translation>
    </message>
    <message>
        <source>Design</source>
        <translation>Diseño</translation>
    </message>
    <message>
        <source>Advanced</source>
        <translation>Avanzado</translation>
    </message>
    <message>
        <source>Start ZINTELLO on login</source>
        <translation>Iniciar ZINTELLO al iniciar sesión</translation>
    </message>
    <message>
        <source>Use your own background image</source>
        <translation>Usar su propia imagen de fondo</translation>
    </message>
    <message>
        <source>Open Scrennsaver Settings</source>
        <translation>Ajustar el salvapantallas</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Acerca de</translation>
    </message>
    <message>
        <source>&amp;Settings</source>
        <translation>&amp;Ajustes</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Salir</translation>
    </message>
    <message>
        <source>Click on the icon to open the settings and change the design or the language</source>
        <translation>Haga clic en el icono para abrir los ajustes y cambiar el diseño o el idioma</translation>
    </message>
    <message>
        <source>Start the screensaver after</source>
        <translation>Iniciar el salvapantallas tras</translation>
    </message>
    <message>
        <source>minutes</source>
        <translation>minutos</translation>
    </message>
    <message>
        <source>This session does not tell how long you have been idle, so the screensaver cannot start by itself.</source>
        <translation>Esta sesión no indica cuánto tiempo lleva inactivo, así que el salvapantallas no puede iniciarse solo.</translation>
    </message>
    <message>
        <source>This desktop cannot keep the live background below your windows, so it is not shown. The wallpaper, the settings and the screensaver work as usual.</source>
        <translation>Este escritorio no puede mantener el fondo vivo bajo sus ventanas, así que no se muestra. El fondo de pantalla, los ajustes y el salvapantallas funcionan como siempre.</translation>
    </message>
    <message>
        <source>The desktop&apos;s own picture is not known: the design stays as the background.</source>
        <translation>No se conoce la imagen propia del escritorio: el diseño se queda como fondo.</translation>
    </message>
    <message>
        <source>Your settings could not be saved (is the disk full?). ZINTELLO tries again at the next change.</source>
        <translation>No se pudieron guardar sus ajustes (¿está lleno el disco?). ZINTELLO lo intentará de nuevo en el próximo cambio.</translation>
    </message>
</context>
<context>
    <name>ZintelloSaverSettings</name>
    <message>
        <source>ZINTELLO Screensaver Settings</source>
        <translation>Ajustes del salvapantallas ZINTELLO</translation>
    </message>
</context>
</TS>

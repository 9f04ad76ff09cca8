#ifndef DESKTOPLAYERSHELLINTEGRATIONPLUGIN_H
#define DESKTOPLAYERSHELLINTEGRATIONPLUGIN_H

#include <QtWaylandClient/private/qwaylandshellintegrationplugin_p.h>

// Built into the programs, so that Qt's Wayland platform finds the shell of
// DesktopLayerShellIntegration among its shell plugins.
class DesktopLayerShellIntegrationPlugin : public QtWaylandClient::QWaylandShellIntegrationPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QWaylandShellIntegrationFactoryInterface_iid FILE "DesktopLayerShellIntegrationPlugin.json")

public:
    QtWaylandClient::QWaylandShellIntegration *create(const QString &key, const QStringList &paramList) override;
};

#endif

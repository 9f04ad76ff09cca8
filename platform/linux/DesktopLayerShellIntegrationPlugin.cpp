#include "DesktopLayerShellIntegrationPlugin.h"

#include "DesktopLayerShellIntegration.h"

QtWaylandClient::QWaylandShellIntegration *DesktopLayerShellIntegrationPlugin::create(const QString &, const QStringList &)
{
    return new DesktopLayerShellIntegration;
}

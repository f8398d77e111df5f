// The QML module org.orbdrift, which the wallpaper's package imports.
#include <QQmlExtensionPlugin>
#include <qqml.h>

#include "plasma/scene_item.h"

class OrbdriftPlugin : public QQmlExtensionPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QQmlExtensionInterface_iid)

public:
    void registerTypes(const char* uri) override
    {
        qmlRegisterType<SceneItem>(uri, 1, 0, "OrbdriftScene");
    }
};

#include "orbdrift_plugin.moc"

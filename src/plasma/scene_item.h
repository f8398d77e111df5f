#pragma once
// The item a wallpaper's QML puts on each screen: the one scene of the
// process, drawn into the framebuffer Qt Quick composes the screen from.
#include <QPointer>
#include <QQuickFramebufferObject>
#include <QStringList>

class SceneItem : public QQuickFramebufferObject
{
    Q_OBJECT
    // The settings a wallpaper's configuration gives, as options of the
    // command line ("--speed", "2"); the rest are orbdrift's saved ones.
    Q_PROPERTY(QStringList options READ options WRITE set_options NOTIFY options_changed)

public:
    explicit SceneItem(QQuickItem* parent = nullptr);
    ~SceneItem() override;

    Renderer* createRenderer() const override;

    QStringList options() const { return given_options; }
    void set_options(const QStringList& options);
    // Shown, in a window someone can see: not hidden, minimised or covered.
    bool seen() const;

signals:
    void options_changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow_window(QQuickWindow* window);

    QStringList given_options;
    QPointer<QQuickWindow> followed;
};

#include "plasma/scene_item.h"

#include <QOpenGLFramebufferObject>
#include <QQuickWindow>

#include "plasma/scene_pace.h"
#include "plasma/shared_scene.h"
#include "plasma/x11_sight.h"

namespace
{

class SceneRenderer : public QQuickFramebufferObject::Renderer
{
public:
    QOpenGLFramebufferObject* createFramebufferObject(const QSize& size) override
    {
        // The draw buffer every top asks for: no alpha, so that what the
        // scene blends reads the destination as opaque, and a depth buffer
        // for the stars and particles.
        QOpenGLFramebufferObjectFormat format;
        format.setInternalTextureFormat(GL_RGB8);
        format.setAttachment(QOpenGLFramebufferObject::CombinedDepthStencil);
        return new QOpenGLFramebufferObject(size, format);
    }

    void synchronize(QQuickFramebufferObject* item) override { window = item->window(); }

    void render() override
    {
        const QSize size = framebufferObject()->size();
        draw_shared_scene(window, size.width(), size.height());
    }

private:
    QQuickWindow* window = nullptr;
};

} // namespace

SceneItem::SceneItem(QQuickItem* parent) : QQuickFramebufferObject(parent)
{
    setTextureFollowsItemSize(true);
    // The scene's rows go from the bottom up, as GL's do; Qt Quick's from
    // the top down.
    setMirrorVertically(true);
    connect(this, &QQuickItem::windowChanged, this, &SceneItem::follow_window);
    follow_window(window()); // made with a parent already in a window
    connect(this, &QQuickItem::visibleChanged, &ScenePace::instance(), &ScenePace::seen_changed);
    ScenePace::instance().add(this);
}

SceneItem::~SceneItem()
{
    // Qt Quick's item tells of its window going after this part of it is gone.
    disconnect(this, &QQuickItem::windowChanged, this, &SceneItem::follow_window);
    if (followed)
        followed->removeEventFilter(this);
    ScenePace::instance().remove(this);
}

QQuickFramebufferObject::Renderer* SceneItem::createRenderer() const
{
    return new SceneRenderer;
}

void SceneItem::set_options(const QStringList& options)
{
    if (options == given_options)
        return;
    given_options = options;
    ScenePace::instance().take_options(options);
    emit options_changed();
}

bool SceneItem::seen() const
{
    const X11Sight* sight = X11Sight::instance();
    return isVisible() && followed && followed->isExposed() &&
           followed->visibility() != QWindow::Hidden &&
           followed->visibility() != QWindow::Minimized && !(sight && sight->hidden(followed));
}

// A window learns that it is covered or shown again by its exposure, which
// no signal reports.
bool SceneItem::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Expose)
        ScenePace::instance().seen_changed();
    return QQuickFramebufferObject::eventFilter(watched, event);
}

void SceneItem::follow_window(QQuickWindow* window)
{
    if (followed)
        followed->removeEventFilter(this);
    followed = window;
    if (!window)
        return;
    window->installEventFilter(this);
    connect(window, &QWindow::visibilityChanged, &ScenePace::instance(), &ScenePace::seen_changed,
            Qt::UniqueConnection);
    if (X11Sight* sight = X11Sight::instance()) {
        sight->watch(window);
        connect(sight, &X11Sight::changed, &ScenePace::instance(), &ScenePace::seen_changed,
                Qt::UniqueConnection);
    }
}

#include "plasma/shared_scene.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QPointer>
#include <QQuickWindow>
#include <QSet>
#include <mutex>
#include <random>

#include "common/gl.h"
#include "platform/posix_desktop_animation.h"
#include "scene/frame_driver.h"
#include "shell/settings_store.h"

namespace
{

std::mutex scene_lock;
SceneSettings settings_now;
bool started = false;
bool restart = false; // new settings since the scene started
bool black = false;
// The context the scene started in, and those it has drawn in since.
QPointer<QOpenGLContext> home;
QSet<QOpenGLContext*> joined;

// What Qt Quick's renderer leaves bound that fixed-function drawing would
// read: a shader program, vertex buffers, generic attribute arrays (the
// first is the vertex position itself), another texture unit. The capability
// switches the scene assumes off until it turns them on are set too.
void set_scene_defaults()
{
    QOpenGLFunctions* gl = QOpenGLContext::currentContext()->functions();
    gl->glUseProgram(0);
    gl->glBindBuffer(GL_ARRAY_BUFFER, 0);
    gl->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    GLint attributes = 0;
    glGetIntegerv(GL_MAX_VERTEX_ATTRIBS, &attributes);
    for (GLuint i = 0; i < static_cast<GLuint>(attributes); ++i)
        gl->glDisableVertexAttribArray(i);
    gl->glActiveTexture(GL_TEXTURE0);
    for (GLenum capability : {GL_BLEND, GL_DEPTH_TEST, GL_SCISSOR_TEST, GL_STENCIL_TEST,
                              GL_CULL_FACE, GL_ALPHA_TEST, GL_TEXTURE_2D})
        glDisable(capability);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glDepthFunc(GL_LESS);
    glFrontFace(GL_CCW);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    // Qt Quick changes some of it too, the clear colour of the bands first.
    apply_fixed_gl_state();
}

// Whether the scene's objects are there in a context: the one it started in
// or one that shares its objects.
bool has_scene_objects(QOpenGLContext* context)
{
    return home && QOpenGLContext::areSharing(context, home);
}

// Each window's context that has the scene's objects is one it draws in,
// the lighting the context's own; false for another (a program whose
// windows share no objects, as the lock screen's), where it has nothing.
// Where the context it started in went, with the objects it alone had,
// the scene starts again in this one.
bool enter_context(int width, int height)
{
    QOpenGLContext* context = QOpenGLContext::currentContext();
    if (started && home && !has_scene_objects(context))
        return false;
    if (started && restart && home)
        end_scene_context();
    if (!started || restart || !home) {
        scene_settings = settings_now;
        joined.clear();
        start_scene(width, height);
        started = true;
        restart = false;
        home = context;
        joined.insert(context);
    } else if (!joined.contains(context)) {
        join_scene_context();
        joined.insert(context);
    }
    return true;
}

void draw_locked(int width, int height)
{
    if (!enter_context(width, height) || black)
        clear_picture();
    else
        draw_picture({0, 0, width, height});
}

} // namespace

SceneSettings wallpaper_settings(const QStringList& options)
{
    SceneSettings settings = read_saved_settings();
    for (int i = 0; i < options.size(); ++i) {
        const QByteArray name = options[i].startsWith("--") ? options[i].mid(2).toUtf8() : "";
        const QByteArray value = i + 1 < options.size() ? options[i + 1].toUtf8() : QByteArray();
        SceneSettings tried = settings;
        std::string problem;
        const int taken = read_settings_option(name.constData(), value.constData(), tried, problem,
                                               as_display_option | as_snapshot_option);
        if (taken > 0)
            settings = tried;
        i += taken > 1 ? 1 : 0;
    }
    // Plasma is KDE: its own file says, and the portal's answer would cost
    // plasmashell's main thread a wait on the session bus.
    if (settings.motion == motion_as_desktop)
        settings.desktop_wants_less_motion = kde_animation_wish() == animation_off;
    // A different texture each time: each start of the wallpaper's scene
    // draws one, never the one orbdrift's last start showed.
    if (settings.texture == different_texture)
        settings.texture = other_texture(read_last_texture(), std::random_device{}());
    return settings;
}

void set_shared_settings(const SceneSettings& settings)
{
    const std::lock_guard<std::mutex> hold(scene_lock);
    settings_now = settings;
    restart = true;
}

SceneSettings shared_settings()
{
    const std::lock_guard<std::mutex> hold(scene_lock);
    return settings_now;
}

void step_shared_scene()
{
    const std::lock_guard<std::mutex> hold(scene_lock);
    if (started)
        step_frame();
}

void set_shared_black(bool on)
{
    const std::lock_guard<std::mutex> hold(scene_lock);
    black = on;
}

void draw_shared_scene(QQuickWindow* window, int width, int height)
{
    const std::lock_guard<std::mutex> hold(scene_lock);
    // Qt Quick binds textures of its own between our frames.
    forget_scene_bindings();
    set_scene_defaults();
    draw_locked(width, height);
    // Qt Quick draws with shaders and sets what it needs of the rest each
    // time: what the scene left of the fixed pipeline (lights, fog,
    // matrices) is the scene's to keep for its next frame.
    window->resetOpenGLState();
}

// Defines the GL and GLU entry points the scene uses. Each one logs its call
// while a GlRecording lives, then forwards to the next definition in the
// library search order: the real libGL or libGLU. GLU's own calls into GL
// land here too, because the executable comes first in that order.
#include "support/gl_recorder.h"

#include <dlfcn.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "common/gl.h"

namespace
{

bool recording = false;
std::vector<GlCall> calls;
int depth = 0;
int glu_depth = 0;

template <typename Fn> Fn real_function(const char* name)
{
    void* symbol = dlsym(RTLD_NEXT, name);
    if (!symbol) {
        std::fprintf(stderr, "gl_recorder: no real %s\n", name);
        std::abort();
    }
    return reinterpret_cast<Fn>(symbol);
}

void log_call(const char* name, std::vector<double> args)
{
    calls.push_back(GlCall{name, std::move(args), glu_depth > 0});
}

template <typename... Args> void record(const char* name, Args... args)
{
    if (recording)
        log_call(name, {static_cast<double>(args)...});
}

void record_values(const char* name, std::initializer_list<double> head, const float* values,
                   int count)
{
    if (!recording)
        return;
    std::vector<double> args(head);
    for (int i = 0; i < count; ++i)
        args.push_back(values[i]);
    log_call(name, std::move(args));
}

struct InsideGl {
    InsideGl() { ++depth; }
    ~InsideGl() { --depth; }
};

struct InsideGlu {
    InsideGlu() { ++glu_depth; }
    ~InsideGlu() { --glu_depth; }
};

// How many floats a vector parameter carries.
int light_values(GLenum pname)
{
    switch (pname) {
    case GL_AMBIENT:
    case GL_DIFFUSE:
    case GL_SPECULAR:
    case GL_POSITION:
    case GL_EMISSION:
    case GL_AMBIENT_AND_DIFFUSE:
        return 4;
    case GL_SPOT_DIRECTION:
        return 3;
    default:
        return 1;
    }
}

int color_or_scalar(GLenum pname, GLenum color_name)
{
    return pname == color_name ? 4 : 1;
}

} // namespace

bool operator==(const GlCall& a, const GlCall& b)
{
    return a.name == b.name && a.args == b.args && a.inner == b.inner;
}

std::ostream& operator<<(std::ostream& out, const GlCall& call)
{
    out << (call.inner ? "  (inner) " : "") << call.name << '(';
    for (std::size_t i = 0; i < call.args.size(); ++i)
        out << (i ? ", " : "") << call.args[i];
    return out << ')';
}

GlCall gl_call(std::string name, std::initializer_list<double> args)
{
    return GlCall{std::move(name), args, false};
}

GlRecording::GlRecording()
{
    calls.clear();
    recording = true;
}

GlRecording::~GlRecording()
{
    recording = false;
    calls.clear();
}

const std::vector<GlCall>& GlRecording::all() const
{
    return calls;
}

std::vector<GlCall> GlRecording::outer() const
{
    std::vector<GlCall> result;
    for (const GlCall& call : calls)
        if (!call.inner)
            result.push_back(call);
    return result;
}

std::vector<GlCall> GlRecording::named(const std::string& name) const
{
    std::vector<GlCall> result;
    for (const GlCall& call : calls)
        if (call.name == name)
            result.push_back(call);
    return result;
}

std::vector<std::string> GlRecording::outer_names() const
{
    std::vector<std::string> result;
    for (const GlCall& call : outer())
        result.push_back(call.name);
    return result;
}

void GlRecording::clear()
{
    calls.clear();
}

int gl_call_depth()
{
    return depth;
}

// Each wrapper logs, then forwards to the real function of the same name.
#define GL_FORWARD(ret, name, params, args, ...)                                                   \
    extern "C" ret name params                                                                     \
    {                                                                                              \
        record(#name, ##__VA_ARGS__);                                                              \
        static const auto real = real_function<decltype(&name)>(#name);                            \
        InsideGl inside;                                                                           \
        return real args;                                                                          \
    }

GL_FORWARD(void, glLineWidth, (GLfloat w), (w), w)
GL_FORWARD(void, glPointSize, (GLfloat s), (s), s)
GL_FORWARD(void, glShadeModel, (GLenum m), (m), m)
GL_FORWARD(void, glPolygonMode, (GLenum f, GLenum m), (f, m), f, m)
GL_FORWARD(void, glLightModeli, (GLenum p, GLint v), (p, v), p, v)
GL_FORWARD(void, glHint, (GLenum t, GLenum m), (t, m), t, m)
GL_FORWARD(void, glEnable, (GLenum c), (c), c)
GL_FORWARD(void, glDisable, (GLenum c), (c), c)
GL_FORWARD(void, glColorMaterial, (GLenum f, GLenum m), (f, m), f, m)
GL_FORWARD(void, glMateriali, (GLenum f, GLenum p, GLint v), (f, p, v), f, p, v)
GL_FORWARD(void, glDepthMask, (GLboolean f), (f), f)
GL_FORWARD(void, glViewport, (GLint x, GLint y, GLsizei w, GLsizei h), (x, y, w, h), x, y, w, h)
GL_FORWARD(void, glScissor, (GLint x, GLint y, GLsizei w, GLsizei h), (x, y, w, h), x, y, w, h)
GL_FORWARD(void, glEnableClientState, (GLenum a), (a), a)
GL_FORWARD(void, glDisableClientState, (GLenum a), (a), a)
// Arrays are logged by their address, to be compared with where they live.
GL_FORWARD(void, glDrawElements, (GLenum m, GLsizei c, GLenum t, const void* p), (m, c, t, p), m, c,
           t, reinterpret_cast<std::uintptr_t>(p))
GL_FORWARD(void, glVertexPointer, (GLint n, GLenum t, GLsizei s, const void* p), (n, t, s, p), n, t,
           s, reinterpret_cast<std::uintptr_t>(p))
GL_FORWARD(void, glNormalPointer, (GLenum t, GLsizei s, const void* p), (t, s, p), t, s,
           reinterpret_cast<std::uintptr_t>(p))
GL_FORWARD(void, glTexCoordPointer, (GLint n, GLenum t, GLsizei s, const void* p), (n, t, s, p), n,
           t, s, reinterpret_cast<std::uintptr_t>(p))
GL_FORWARD(void, glMatrixMode, (GLenum m), (m), m)
GL_FORWARD(void, glOrtho, (GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f),
           (l, r, b, t, n, f), l, r, b, t, n, f)
GL_FORWARD(void, glClear, (GLbitfield m), (m), m)
GL_FORWARD(void, glClearColor, (GLclampf r, GLclampf g, GLclampf b, GLclampf a), (r, g, b, a), r, g,
           b, a)
GL_FORWARD(void, glColor3f, (GLfloat r, GLfloat g, GLfloat b), (r, g, b), r, g, b)
GL_FORWARD(void, glColor4f, (GLfloat r, GLfloat g, GLfloat b, GLfloat a), (r, g, b, a), r, g, b, a)
GL_FORWARD(void, glBegin, (GLenum m), (m), m)
GL_FORWARD(void, glVertex2f, (GLfloat x, GLfloat y), (x, y), x, y)
GL_FORWARD(void, glVertex3d, (GLdouble x, GLdouble y, GLdouble z), (x, y, z), x, y, z)
GL_FORWARD(void, glNormal3f, (GLfloat x, GLfloat y, GLfloat z), (x, y, z), x, y, z)
GL_FORWARD(void, glTexCoord2f, (GLfloat s, GLfloat t), (s, t), s, t)
GL_FORWARD(void, glTexCoord2d, (GLdouble s, GLdouble t), (s, t), s, t)
GL_FORWARD(void, glVertex3f, (GLfloat x, GLfloat y, GLfloat z), (x, y, z), x, y, z)
GL_FORWARD(void, glColor3d, (GLdouble r, GLdouble g, GLdouble b), (r, g, b), r, g, b)
GL_FORWARD(void, glAlphaFunc, (GLenum f, GLclampf r), (f, r), f, r)
GL_FORWARD(void, glNewList, (GLuint l, GLenum m), (l, m), l, m)
GL_FORWARD(void, glCallList, (GLuint l), (l), l)
GL_FORWARD(void, glDeleteLists, (GLuint l, GLsizei n), (l, n), l, n)
GL_FORWARD(void, glBlendFunc, (GLenum s, GLenum d), (s, d), s, d)
GL_FORWARD(void, glRotatef, (GLfloat a, GLfloat x, GLfloat y, GLfloat z), (a, x, y, z), a, x, y, z)
GL_FORWARD(void, glTranslatef, (GLfloat x, GLfloat y, GLfloat z), (x, y, z), x, y, z)
GL_FORWARD(void, glTranslated, (GLdouble x, GLdouble y, GLdouble z), (x, y, z), x, y, z)
GL_FORWARD(void, glLightf, (GLenum l, GLenum p, GLfloat v), (l, p, v), l, p, v)
GL_FORWARD(void, glFogi, (GLenum p, GLint v), (p, v), p, v)
GL_FORWARD(void, glFogf, (GLenum p, GLfloat v), (p, v), p, v)
GL_FORWARD(void, glBindTexture, (GLenum t, GLuint n), (t, n), t, n)
GL_FORWARD(void, glTexParameteri, (GLenum t, GLenum p, GLint v), (t, p, v), t, p, v)
GL_FORWARD(void, glTexEnvf, (GLenum t, GLenum p, GLfloat v), (t, p, v), t, p, v)
GL_FORWARD(void, glPixelStorei, (GLenum p, GLint v), (p, v), p, v)
GL_FORWARD(void, glGetFloatv, (GLenum p, GLfloat* out), (p, out), p)
GL_FORWARD(void, glTexImage2D,
           (GLenum t, GLint l, GLint i, GLsizei w, GLsizei h, GLint b, GLenum f, GLenum ty,
            const GLvoid* p),
           (t, l, i, w, h, b, f, ty, p), t, l, i, w, h, b, f, ty)

#define GL_FORWARD0(name)                                                                          \
    extern "C" void name(void)                                                                     \
    {                                                                                              \
        record(#name);                                                                             \
        static const auto real = real_function<decltype(&name)>(#name);                            \
        InsideGl inside;                                                                           \
        real();                                                                                    \
    }

GL_FORWARD0(glLoadIdentity)
GL_FORWARD0(glEnd)
GL_FORWARD0(glPushMatrix)
GL_FORWARD0(glPopMatrix)
GL_FORWARD0(glEndList)

// Logs how many lists were asked for and the first name GL gave.
extern "C" GLuint glGenLists(GLsizei n)
{
    static const auto real = real_function<decltype(&glGenLists)>("glGenLists");
    GLuint first = 0;
    {
        InsideGl inside;
        first = real(n);
    }
    record("glGenLists", n, first);
    return first;
}

// Vector parameters are logged by value.
#define GL_FORWARD_VALUES(name, params, args, head, values, count)                                 \
    extern "C" void name params                                                                    \
    {                                                                                              \
        record_values(#name, head, values, count);                                                 \
        static const auto real = real_function<decltype(&name)>(#name);                            \
        InsideGl inside;                                                                           \
        real args;                                                                                 \
    }

GL_FORWARD_VALUES(glLightfv, (GLenum l, GLenum p, const GLfloat* v), (l, p, v),
                  (std::initializer_list<double>{double(l), double(p)}), v, light_values(p))
GL_FORWARD_VALUES(glMaterialfv, (GLenum f, GLenum p, const GLfloat* v), (f, p, v),
                  (std::initializer_list<double>{double(f), double(p)}), v, light_values(p))
GL_FORWARD_VALUES(glLightModelfv, (GLenum p, const GLfloat* v), (p, v),
                  (std::initializer_list<double>{double(p)}), v,
                  color_or_scalar(p, GL_LIGHT_MODEL_AMBIENT))
GL_FORWARD_VALUES(glFogfv, (GLenum p, const GLfloat* v), (p, v),
                  (std::initializer_list<double>{double(p)}), v, color_or_scalar(p, GL_FOG_COLOR))
GL_FORWARD_VALUES(glTexEnvfv, (GLenum t, GLenum p, const GLfloat* v), (t, p, v),
                  (std::initializer_list<double>{double(t), double(p)}), v,
                  color_or_scalar(p, GL_TEXTURE_ENV_COLOR))

extern "C" void glMultMatrixd(const GLdouble* m)
{
    if (recording)
        log_call("glMultMatrixd", std::vector<double>(m, m + 16));
    static const auto real = real_function<decltype(&glMultMatrixd)>("glMultMatrixd");
    InsideGl inside;
    real(m);
}

extern "C" void glMultMatrixf(const GLfloat* m)
{
    record_values("glMultMatrixf", {}, m, 16);
    static const auto real = real_function<decltype(&glMultMatrixf)>("glMultMatrixf");
    InsideGl inside;
    real(m);
}

// Logs how many names were asked for and the first one GL gave.
extern "C" void glGenTextures(GLsizei n, GLuint* names)
{
    static const auto real = real_function<decltype(&glGenTextures)>("glGenTextures");
    {
        InsideGl inside;
        real(n, names);
    }
    record("glGenTextures", n, n > 0 ? names[0] : 0u);
}

extern "C" void glDeleteTextures(GLsizei n, const GLuint* names)
{
    record("glDeleteTextures", n, n > 0 ? names[0] : 0u);
    static const auto real = real_function<decltype(&glDeleteTextures)>("glDeleteTextures");
    InsideGl inside;
    real(n, names);
}

#define GLU_FORWARD(ret, name, params, args, ...)                                                  \
    extern "C" ret name params                                                                     \
    {                                                                                              \
        record(#name, ##__VA_ARGS__);                                                              \
        static const auto real = real_function<decltype(&name)>(#name);                            \
        InsideGl inside;                                                                           \
        InsideGlu inside_glu;                                                                      \
        return real args;                                                                          \
    }

GLU_FORWARD(void, gluLookAt,
            (GLdouble ex, GLdouble ey, GLdouble ez, GLdouble cx, GLdouble cy, GLdouble cz,
             GLdouble ux, GLdouble uy, GLdouble uz),
            (ex, ey, ez, cx, cy, cz, ux, uy, uz), ex, ey, ez, cx, cy, cz, ux, uy, uz)
GLU_FORWARD(void, gluPerspective, (GLdouble f, GLdouble a, GLdouble n, GLdouble z), (f, a, n, z), f,
            a, n, z)
GLU_FORWARD(GLint, gluBuild2DMipmaps,
            (GLenum t, GLint c, GLsizei w, GLsizei h, GLenum f, GLenum ty, const void* p),
            (t, c, w, h, f, ty, p), t, c, w, h, f, ty)

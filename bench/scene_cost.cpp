// scene-cost: what a frame costs the saver itself, with the driver taken
// away. It defines every GL and GLU entry point the scene calls as a function
// that only counts, and links the scene without libGL, so a call the scene
// starts making without a definition here fails the link instead of slipping
// through to a real driver.
//
// Usage: scene-cost [FRAMES]; prints "us_per_frame calls_per_frame".
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "common/frame_clock.h"
#include "common/gl.h"
#include "scene/frame_driver.h"

namespace
{

std::uint64_t calls = 0;
std::int64_t clock_ms = 0;

std::int64_t bench_clock()
{
    return clock_ms;
}

double cpu_seconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

} // namespace

#define NULL_GL(ret, name, params)                                                                 \
    extern "C" ret name params                                                                     \
    {                                                                                              \
        ++calls;                                                                                   \
        return ret();                                                                              \
    }

NULL_GL(void, glAlphaFunc, (GLenum, GLclampf))
NULL_GL(void, glBegin, (GLenum))
NULL_GL(void, glBindTexture, (GLenum, GLuint))
NULL_GL(void, glBlendFunc, (GLenum, GLenum))
NULL_GL(void, glCallList, (GLuint))
NULL_GL(void, glClear, (GLbitfield))
NULL_GL(void, glClearColor, (GLclampf, GLclampf, GLclampf, GLclampf))
NULL_GL(void, glColor3d, (GLdouble, GLdouble, GLdouble))
NULL_GL(void, glColor3f, (GLfloat, GLfloat, GLfloat))
NULL_GL(void, glColor4f, (GLfloat, GLfloat, GLfloat, GLfloat))
NULL_GL(void, glColorMaterial, (GLenum, GLenum))
NULL_GL(void, glDeleteLists, (GLuint, GLsizei))
NULL_GL(void, glDeleteTextures, (GLsizei, const GLuint*))
NULL_GL(void, glDepthMask, (GLboolean))
NULL_GL(void, glDisable, (GLenum))
NULL_GL(void, glEnable, (GLenum))
NULL_GL(void, glEnd, ())
NULL_GL(void, glEndList, ())
NULL_GL(void, glFogf, (GLenum, GLfloat))
NULL_GL(void, glFogfv, (GLenum, const GLfloat*))
NULL_GL(void, glFogi, (GLenum, GLint))
NULL_GL(void, glHint, (GLenum, GLenum))
NULL_GL(void, glLightModelfv, (GLenum, const GLfloat*))
NULL_GL(void, glLightModeli, (GLenum, GLint))
NULL_GL(void, glLightf, (GLenum, GLenum, GLfloat))
NULL_GL(void, glLightfv, (GLenum, GLenum, const GLfloat*))
NULL_GL(void, glLineWidth, (GLfloat))
NULL_GL(void, glLoadIdentity, ())
NULL_GL(void, glMaterialfv, (GLenum, GLenum, const GLfloat*))
NULL_GL(void, glMateriali, (GLenum, GLenum, GLint))
NULL_GL(void, glMatrixMode, (GLenum))
NULL_GL(void, glNewList, (GLuint, GLenum))
NULL_GL(void, glNormal3f, (GLfloat, GLfloat, GLfloat))
NULL_GL(void, glOrtho, (GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble))
NULL_GL(void, glPixelStorei, (GLenum, GLint))
NULL_GL(void, glPointSize, (GLfloat))
NULL_GL(void, glPolygonMode, (GLenum, GLenum))
NULL_GL(void, glPopMatrix, ())
NULL_GL(void, glPushMatrix, ())
NULL_GL(void, glRotatef, (GLfloat, GLfloat, GLfloat, GLfloat))
NULL_GL(void, glShadeModel, (GLenum))
NULL_GL(void, glTexCoord2d, (GLdouble, GLdouble))
NULL_GL(void, glTexCoord2f, (GLfloat, GLfloat))
NULL_GL(void, glTexEnvf, (GLenum, GLenum, GLfloat))
NULL_GL(void, glTexEnvfv, (GLenum, GLenum, const GLfloat*))
NULL_GL(void, glTexImage2D,
        (GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const GLvoid*))
NULL_GL(void, glTexParameteri, (GLenum, GLenum, GLint))
NULL_GL(void, glTranslatef, (GLfloat, GLfloat, GLfloat))
NULL_GL(void, glVertex2f, (GLfloat, GLfloat))
NULL_GL(void, glVertex3d, (GLdouble, GLdouble, GLdouble))
NULL_GL(void, glVertex3f, (GLfloat, GLfloat, GLfloat))
NULL_GL(void, glViewport, (GLint, GLint, GLsizei, GLsizei))
NULL_GL(void, glScissor, (GLint, GLint, GLsizei, GLsizei))
NULL_GL(void, glEnableClientState, (GLenum))
NULL_GL(void, glDisableClientState, (GLenum))
NULL_GL(void, glDrawElements, (GLenum, GLsizei, GLenum, const GLvoid*))
NULL_GL(void, glVertexPointer, (GLint, GLenum, GLsizei, const GLvoid*))
NULL_GL(void, glNormalPointer, (GLenum, GLsizei, const GLvoid*))
NULL_GL(void, glTexCoordPointer, (GLint, GLenum, GLsizei, const GLvoid*))
NULL_GL(void, gluLookAt,
        (GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble))
NULL_GL(void, gluPerspective, (GLdouble, GLdouble, GLdouble, GLdouble))
NULL_GL(GLint, gluBuild2DMipmaps, (GLenum, GLint, GLsizei, GLsizei, GLenum, GLenum, const void*))

// The camera reads its axes back from the matrix; identity keeps them sane.
extern "C" void glGetFloatv(GLenum, GLfloat* out)
{
    ++calls;
    for (int i = 0; i < 16; ++i)
        out[i] = i % 5 == 0 ? 1.0f : 0.0f;
}

extern "C" GLuint glGenLists(GLsizei)
{
    ++calls;
    return 1;
}

extern "C" void glGenTextures(GLsizei n, GLuint* names)
{
    ++calls;
    static GLuint next = 1;
    for (GLsizei i = 0; i < n; ++i)
        names[i] = next++;
}

int main(int argc, char** argv)
{
    const long frames = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 200000;
    if (frames < 1) {
        std::fprintf(stderr, "usage: scene-cost [FRAMES]\n");
        return 2;
    }
    set_millisecond_source(bench_clock);
    const ScreenArea picture{0, 0, 1280, 1024};
    apply_fixed_gl_state();
    start_scene(picture.width, picture.height);
    // Warm the caches and the branch predictors before the count starts.
    for (int i = 0; i < 1000; ++i) {
        clock_ms += 10;
        step_frame();
        draw_picture(picture);
    }
    calls = 0;
    const double start = cpu_seconds();
    for (long i = 0; i < frames; ++i) {
        clock_ms += 10;
        step_frame();
        draw_picture(picture);
    }
    const double seconds = cpu_seconds() - start;
    std::printf("%.3f %.1f\n", seconds * 1e6 / static_cast<double>(frames),
                static_cast<double>(calls) / static_cast<double>(frames));
    return 0;
}

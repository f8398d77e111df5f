#include "baseline_picture.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdint>

namespace
{

int surface_width = 0;
int surface_height = 0;

constexpr int max_rings = 18;
constexpr int max_columns = 21;

// A unit sphere as rings of points, bottom pole first; the last column
// repeats the first so that the seam closes.
struct Mesh {
    int slices = 0;
    int stacks = 0;
    float x[max_rings][max_columns];
    float y[max_rings][max_columns];
    float z[max_rings][max_columns];
};

Mesh sphere;
Mesh marker;

void build_mesh(Mesh& mesh, int slices, int stacks)
{
    mesh.slices = slices;
    mesh.stacks = stacks;
    const float pi = 3.1415927f;
    for (int k = 0; k < stacks; ++k) {
        const float phi = static_cast<float>(k) * pi / static_cast<float>(stacks - 1);
        for (int s = 0; s <= slices; ++s) {
            const float theta =
                s == slices ? 0.0f : static_cast<float>(s) * 2.0f * pi / static_cast<float>(slices);
            mesh.x[k][s] = std::sin(theta) * std::sin(phi);
            mesh.y[k][s] = -std::cos(phi);
            mesh.z[k][s] = std::cos(theta) * std::sin(phi);
        }
    }
}

// The same calls per vertex as the saver, so that the driver does the same
// work for both and only what surrounds the calls differs.
void draw_mesh(const Mesh& mesh, double radius, float tiles, float u0, float v0)
{
    for (int k = 0; k + 1 < mesh.stacks; ++k) {
        const float v_upper = static_cast<float>(k + 1) / static_cast<float>(mesh.stacks) * tiles;
        const float v_lower = static_cast<float>(k) / static_cast<float>(mesh.stacks) * tiles;
        glBegin(GL_TRIANGLE_STRIP);
        for (int s = 0; s <= mesh.slices; ++s) {
            const float u = static_cast<float>(s) / static_cast<float>(mesh.slices) * tiles + u0;
            glNormal3f(mesh.x[k + 1][s], mesh.y[k + 1][s], mesh.z[k + 1][s]);
            glTexCoord2f(u, v_upper + v0);
            glVertex3d(mesh.x[k + 1][s] * radius, mesh.y[k + 1][s] * radius,
                       mesh.z[k + 1][s] * radius);
            glNormal3f(mesh.x[k][s], mesh.y[k][s], mesh.z[k][s]);
            glTexCoord2f(u, v_lower + v0);
            glVertex3d(mesh.x[k][s] * radius, mesh.y[k][s] * radius, mesh.z[k][s] * radius);
        }
        glEnd();
    }
}

// Grey noise, one draw of a 15-bit linear congruential generator per texel.
void make_noise_texture()
{
    static unsigned char texels[256 * 256 * 4];
    std::uint32_t state = 1;
    for (int i = 0; i < 256 * 256; ++i) {
        state = state * 214013u + 2531011u;
        const auto grey = static_cast<unsigned char>(((state >> 16) & 0x7FFFu) * 255u / 32768u);
        for (int c = 0; c < 4; ++c)
            texels[i * 4 + c] = grey;
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 256, 256, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
}

// (cos(speed t) / 2 + 1/2) * range + offset: a drifter that never pauses.
double drift(double t, double speed, double range, double offset)
{
    return (std::cos(speed * t) * 0.5 + 0.5) * range + offset;
}

void draw_bands(float w, float h, float f)
{
    glDepthMask(GL_FALSE);
    glDisable(GL_LIGHTING);
    glViewport(0, 0, surface_width, surface_height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, w, 0.0, h, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDepthMask(GL_TRUE);
    glClear(GL_DEPTH_BUFFER_BIT);
    const float band_top = h * f + 1.0f;
    const float band_bottom = (1.0f - f) * h - 1.0f;
    glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
    glBegin(GL_QUADS);
    glVertex2f(0.0f, 0.0f);
    glVertex2f(w, 0.0f);
    glVertex2f(w, band_top);
    glVertex2f(0.0f, band_top);
    glVertex2f(0.0f, band_bottom);
    glVertex2f(w, band_bottom);
    glVertex2f(w, h);
    glVertex2f(0.0f, h);
    glEnd();
    glColor4f(0.0f, 0.0f, 0.075f, 1.0f);
    glBegin(GL_QUADS);
    glVertex2f(0.0f, h * f);
    glVertex2f(w, h * f);
    glVertex2f(w, band_bottom);
    glVertex2f(0.0f, band_bottom);
    glEnd();
}

} // namespace

void baseline_start(int width, int height)
{
    surface_width = width;
    surface_height = height;
    glShadeModel(GL_SMOOTH);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glDisable(GL_DITHER);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);

    // A white light through a blue tint: ambient 0.4, diffuse 0.6,
    // specular 0.9, material specular 1.0 of the tint, shininess 2.
    const float ambient[4] = {0.16f, 0.3f, 0.4f, 1.0f};
    const float diffuse[4] = {0.24f, 0.45f, 0.6f, 1.0f};
    const float specular[4] = {0.36f, 0.675f, 0.9f, 1.0f};
    const float material_specular[4] = {0.4f, 0.75f, 1.0f, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, material_specular);
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, specular);
    glMateriali(GL_FRONT_AND_BACK, GL_SHININESS, 2);
    glEnable(GL_LIGHT0);

    build_mesh(sphere, 20, 18);
    build_mesh(marker, 10, 10);
    make_noise_texture();
}

void baseline_frame(double t)
{
    const auto w = static_cast<float>(surface_width);
    const auto h = static_cast<float>(surface_height);
    const auto f = static_cast<float>(drift(t, 0.1, 0.25, 0.0));
    draw_bands(w, h, f);

    const float band = std::floor(h * f);
    glViewport(0, static_cast<GLint>(band), surface_width, static_cast<GLsizei>(h - 2.0f * band));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(80.0, w / (h - 2.0f * band), 0.01, 4.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0.0, 0.0, 0.0, 0.0, 0.0, -1.0, 0.0, 1.0, 0.0);
    glRotatef(static_cast<float>(-drift(t, 0.024, 360.0, -180.0)), 1.0f, 0.0f, 0.0f);
    glRotatef(static_cast<float>(-drift(t, 0.0264, 360.0, -180.0)), 0.0f, 1.0f, 0.0f);
    glRotatef(static_cast<float>(-drift(t, 0.0336, 360.0, -180.0)), 0.0f, 0.0f, 1.0f);
    glTranslatef(static_cast<float>(-drift(t, 0.18, 0.7, -0.35)),
                 static_cast<float>(-drift(t, 0.198, 0.7, -0.35)),
                 static_cast<float>(drift(t, 0.252, 0.7, -0.35)));

    const float light[4] = {static_cast<float>(std::sin(t * 0.2) * 2.0),
                            static_cast<float>(std::sin(t * 0.04) * 2.0),
                            static_cast<float>(std::cos(t * 0.2) * 2.0), 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, light);
    glColor3f(1.0f, 1.0f, 1.0f);
    glPushMatrix();
    glTranslatef(light[0], light[1], light[2]);
    draw_mesh(marker, 0.03, 1.0f, 0.0f, 0.0f);
    glPopMatrix();

    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    glEnable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    draw_mesh(sphere, 1.0, 4.0f, static_cast<float>(std::fmod(0.15 * t, 1.0)),
              static_cast<float>(std::fmod(0.1665 * t, 1.0)));
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
}

// The background under the scene's view is one black clear. That is the
// picture the bands and the fill drew only if the fill never showed outside
// the view's viewport, for every band height the scene can have: the band
// drifter keeps the fraction between 0 and a quarter.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "common/gl.h"
#include "support/gl_test.h"
#include "views/view_manager.h"

namespace
{

std::uint32_t bits_of(float f)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

float float_of(std::uint32_t bits)
{
    float f = 0.0f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

// How far the top band's lower edge, where the fill ended, lies above the
// centre of the first row over the view's viewport. Without rounding it is
// e - 1/2 for a band height of n + e with e above a half, and less below a
// half; so the worst of it lies where e is near a half, and each band
// height within a sixty-fourth of a pixel of that is tried, every float of
// the fraction that gives it.
double worst_fill_reach(float bottom, float height)
{
    ViewManager manager;
    manager.set_screen_area(0.0f, bottom, 1280.0f, height);
    manager.view_count = 2;
    manager.views[1].between_bands = 1;
    double worst = -1.0;
    for (int row = 0; row <= static_cast<int>(height / 4.0f); ++row) {
        const float low = (static_cast<float>(row) + 0.5f - 1.0f / 64) / height;
        const float high = (static_cast<float>(row) + 0.5f + 1.0f / 64) / height;
        const std::uint32_t last = bits_of(std::fmin(std::nextafter(high, 1.0f), 0.25f));
        for (std::uint32_t b = bits_of(std::fmax(std::nextafter(low, 0.0f), 0.0f)); b <= last; ++b) {
            const float f = float_of(b);
            manager.band_fraction = f;
            manager.layout_views();
            const View& view = manager.views[1];
            const int view_top = static_cast<int>(view.pixel_rect.y0) +
                                 static_cast<int>(view.pixel_height);
            const float band_bottom = bottom + ((1.0f - f) * height - 1.0f);
            worst = std::fmax(worst, band_bottom - (view_top + 0.5));
        }
    }
    return worst;
}

} // namespace

// GL snaps edges to a 256th of a pixel. An edge that lands on a row's centre
// gives the row to the polygon above, the band, never to the fill below it.
TEST(BandEdges, TheFillNeverReachesPastTheRowCentreAboveTheView)
{
    const struct {
        float bottom, height;
    } areas[] = {{0, 211},  {0, 480},  {0, 768},  {0, 1024}, {0, 1080}, {0, 1200},
                 {0, 1440}, {0, 2160}, {1024, 1024}, {1080, 1080}};
    for (const auto& area : areas)
        EXPECT_LT(worst_fill_reach(area.bottom, area.height), 1.0 / 1024)
            << area.bottom << " " << area.height;
}

class BandEdgesGl : public GlTest
{
};

TEST_F(BandEdgesGl, ARowCentredOnTheBandsEdgeIsTheBands)
{
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glOrtho(0, width, 0, height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    const float row = 100.0f;
    // On the centre, and as near above it as a float edge can snap back to it.
    for (const float edge : {row + 0.5f, row + 0.5f + 1.0f / 1024}) {
        glClear(GL_COLOR_BUFFER_BIT);
        const auto quad = [](float bottom, float top, float blue) {
            glColor4f(0.0f, 0.0f, blue, 1.0f);
            glBegin(GL_QUADS);
            glVertex2f(0, bottom);
            glVertex2f(width, bottom);
            glVertex2f(width, top);
            glVertex2f(0, top);
            glEnd();
        };
        quad(edge, height, 0.0f);  // the top band
        quad(row - 50, edge, 1.0f); // the fill below it
        const auto pixels = context.read_rgb();
        const auto blue = [&](int y) { return pixels[3 * (y * width) + 2]; };
        EXPECT_EQ(blue(static_cast<int>(row)), 0) << edge;
        EXPECT_EQ(blue(static_cast<int>(row) - 1), 255) << edge;
    }
}

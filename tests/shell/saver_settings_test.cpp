#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "scene/scene_settings.h"
#include "settings_dialog.h"
#include "shell/render_proc.h"
#include "shell/saver_entry.h"
#include "shell/saver_process.h"
#include "shell/saver_settings.h"
#include "shell/start_choices.h"
#include "support/fake_win32.h"

namespace
{

std::pair<DWORD, std::vector<BYTE>> dword(DWORD value, DWORD size = 4)
{
    const auto* bytes = reinterpret_cast<const BYTE*>(&value);
    return {REG_DWORD, std::vector<BYTE>(bytes, bytes + size)};
}

std::pair<DWORD, std::vector<BYTE>> text(const std::string& value)
{
    return {REG_SZ, std::vector<BYTE>(value.begin(), value.end() + 1)};
}

} // namespace

TEST(Settings, AValueMissingOfAnotherTypeOrOutOfRangeCountsAsItsDefault)
{
    EXPECT_EQ(read_saved_settings().texture, FLECK); // no key at all
    fake.settings = {{"Texture", text("SMOKE")}, {"Stars", dword(1)},   {"Particles", dword(2)},
                     {"Overlays", text("1")},    {"Speed", dword(150)}, {"FrameRate", dword(20)}};
    SceneSettings saved = read_saved_settings();
    EXPECT_EQ(saved.texture, SMOKE);
    EXPECT_TRUE(saved.stars);
    EXPECT_FALSE(saved.particles || saved.overlays);
    EXPECT_EQ(saved.speed_percent, 150); // between the choices, kept
    EXPECT_EQ(saved.frame_rate, 100);
    fake.settings = {{"Texture", text("BLACK")},
                     {"Speed", dword(401)},
                     {"FrameRate", dword(30, 2)},
                     {"Stars", text("1")}};
    saved = read_saved_settings();
    EXPECT_EQ(saved.texture, FLECK); // a kind that draws nothing is no choice
    EXPECT_EQ(saved.speed_percent, 100);
    EXPECT_EQ(saved.frame_rate, 100);
    EXPECT_FALSE(saved.stars);
    fake.settings = {{"Texture", text(std::string(40, 'A'))}, {"FrameRate", dword(30)}};
    use_saved_settings();
    EXPECT_EQ(scene_settings.texture, FLECK);
    EXPECT_EQ(frame_interval_ms, 33u);
    // The ends of each range are kept, a step past them is the default.
    const struct {
        DWORD speed, frame_rate;
        int speed_kept;
        UINT interval;
    } edges[] = {{25, 60, 25, 17}, {24, 29, 100, 5}, {400, 100, 400, 5}, {50, 101, 50, 5}};
    for (const auto& edge : edges) {
        fake.settings = {{"Speed", dword(edge.speed)}, {"FrameRate", dword(edge.frame_rate)}};
        use_saved_settings();
        EXPECT_EQ(scene_settings.speed_percent, edge.speed_kept) << edge.speed;
        EXPECT_EQ(frame_interval_ms, edge.interval) << edge.frame_rate;
    }
}

TEST(Settings, OkSavesWhatTheDialogShowsAndAFailedSaveSaysWhyAndCancels)
{
    fake.settings = {{"Speed", dword(150)}, {"Stars", dword(1)}};
    use_saved_settings();
    fake.person = [] {
        fake.controls[IDC_STARS] = BST_UNCHECKED; // no control of the dialog
        fake.controls[IDC_PARTICLES] = BST_CHECKED;
        fake.controls[IDC_TEXTURE] = 3; // the fourth kind offered
    };
    EXPECT_EQ(saver_main(nullptr, nullptr, const_cast<LPSTR>("/c"), 0), 1);
    // The textures read as the usage lists them, the last as its parentheses say.
    const std::vector<std::string>& textures = fake.list_items[IDC_TEXTURE];
    ASSERT_EQ(textures.size(), 12u);
    std::string listed = "Texture:";
    for (const std::string& item : textures)
        listed +=
            " " + (&item != &textures.back() ? item : different_texture_word + (" (" + item + ":"));
    EXPECT_EQ(setting_help(*find_settings_option("texture", in_dialog)).rfind(listed, 0), 0u);
    EXPECT_EQ(fake.list_items[IDC_SPEED].size(), 5u);
    EXPECT_EQ(fake.list_items[IDC_FRAME_RATE].size(), 3u);
    EXPECT_EQ(fake.controls[IDC_SPEED], 2); // 150 shows as the nearest choice, "normal"
    EXPECT_EQ(fake.controls[IDC_FRAME_RATE], 0);
    EXPECT_EQ(fake.settings["Texture"], text("SMOKE"));
    EXPECT_EQ(fake.settings["Stars"], dword(1)); // kept as saved: not offered
    EXPECT_EQ(fake.settings["Particles"], dword(1));
    EXPECT_EQ(fake.settings["Speed"], dword(150)); // its list left alone keeps it
    EXPECT_EQ(fake.settings["FrameRate"], dword(100));
    fake.person = [] {
        fake.controls[IDC_SPEED] = 4;
        fake.controls[IDC_TEXTURE] = settings_texture_count;
    };
    fake.close_status = ERROR_ACCESS_DENIED; // only at the end, where a file is written
    EXPECT_EQ(saver_main(nullptr, nullptr, const_cast<LPSTR>("/c"), 0), 0);
    EXPECT_EQ(
        fake.count("MessageBoxA(3354,orbdrift could not save its settings: Access is denied.)"), 1);
    fake.close_status = ERROR_SUCCESS;
    fake.write_status = ERROR_DISK_FULL; // a reason the system has no text for
    EXPECT_EQ(saver_main(nullptr, nullptr, const_cast<LPSTR>("/c"), 0), 0);
    EXPECT_EQ(fake.count("MessageBoxA(3354,orbdrift could not save its settings: error 112.)"), 1);
    fake.write_status = ERROR_SUCCESS;
    EXPECT_EQ(saver_main(nullptr, nullptr, const_cast<LPSTR>("/c"), 0), 1);
    EXPECT_EQ(fake.settings["Speed"], dword(400));
    EXPECT_EQ(fake.settings["Texture"], text("Different"));
    // Each choice is the value it is labelled with; one past a list changes nothing.
    fake.settings = {{"Speed", dword(50)}, {"FrameRate", dword(30)}};
    use_saved_settings();
    const struct {
        LRESULT speed, frame_rate;
        DWORD speed_saved, frame_rate_saved;
    } picks[] = {{0, 0, 25, 100}, {2, 1, 100, 60}, {3, 3, 200, 30}, {5, 2, 50, 30}};
    for (const auto& pick : picks) {
        fake.person = [&] {
            EXPECT_EQ(fake.controls[IDC_SPEED], 1);
            EXPECT_EQ(fake.controls[IDC_FRAME_RATE], 2);
            EXPECT_EQ(fake.controls[IDC_TEXTURE], settings_texture_count - 1); // FLECK
            fake.controls[IDC_SPEED] = pick.speed;
            fake.controls[IDC_FRAME_RATE] = pick.frame_rate;
            fake.controls[IDC_TEXTURE] = settings_texture_count + 1;
        };
        EXPECT_EQ(saver_main(nullptr, nullptr, const_cast<LPSTR>("/c"), 0), 1);
        EXPECT_EQ(fake.settings["Speed"], dword(pick.speed_saved)) << pick.speed;
        EXPECT_EQ(fake.settings["FrameRate"], dword(pick.frame_rate_saved)) << pick.frame_rate;
        EXPECT_EQ(fake.settings["Texture"], text("FLECK"));
    }
}

TEST(Settings, TheDialogAnswersOnlyOkAndCancel)
{
    const HWND dialog = fake_window(0xD1A);
    EXPECT_EQ(config_dialog_proc(dialog, WM_COMMAND, 3, 0), 0);
    EXPECT_TRUE(prepare_config_dialog(nullptr));
}

// Each start asks the desktop only when the motion is left to it, and a
// texture that is a different one each time is never the last start's.
TEST(Settings, EachStartSettlesTheDesktopsMotionAndADifferentTexture)
{
    for (const BOOL animations : {FALSE, TRUE}) {
        fake.animations = animations;
        for (const int motion : {motion_as_desktop, motion_full}) {
            scene_settings = SceneSettings();
            scene_settings.motion = motion;
            settle_start_choices(scene_settings);
            EXPECT_EQ(scene_settings.desktop_wants_less_motion,
                      !animations && motion == motion_as_desktop);
        }
    }
    std::mt19937 draws(39);
    const auto system_draw = texture_draw;
    texture_draw = [&draws] { return static_cast<unsigned>(draws()); };
    fake.settings = {{"LastTexture", text("FLECK")}};
    std::set<int> shown;
    int last = FLECK;
    for (int start = 0; start < 100; ++start) {
        scene_settings.texture = different_texture;
        settle_start_choices(scene_settings);
        EXPECT_NE(scene_settings.texture, last);
        EXPECT_TRUE(is_settings_texture(scene_settings.texture));
        last = scene_settings.texture;
        shown.insert(last);
        EXPECT_EQ(fake.settings["LastTexture"], text(texture_kind_labels[last]));
    }
    EXPECT_EQ(shown.size(), std::size_t(settings_texture_count));
    // A wallpaper's next day, looked at a minute on: another one, remembered.
    fake.tick_count += 59999;
    fake.local_time.wDay += 1;
    EXPECT_EQ(texture_of_a_new_day(), -1);
    fake.tick_count += 1;
    const int next_day = texture_of_a_new_day();
    ASSERT_TRUE(is_settings_texture(next_day));
    EXPECT_NE(next_day, last);
    EXPECT_EQ(fake.settings["LastTexture"], text(texture_kind_labels[next_day]));
    fake.tick_count += 60000;
    EXPECT_EQ(texture_of_a_new_day(), -1);
    texture_draw = system_draw;
    scene_settings = SceneSettings();
}

#include <gtest/gtest.h>

#include <string>

#include "platform/x11_dialog_template.h"
#include "scene/scene_settings.h"
#include "settings_dialog.h"

// The dialog's layout is drawn by hand; the settings it offers are the
// table's, one control each, numbered in the table's order.
TEST(SettingsTable, EachSettingHasItsControlInTheDialogUnderItsLabel)
{
    const DialogTemplate* dialog = find_dialog_template(SETTINGS_DIALOG_ID);
    ASSERT_NE(dialog, nullptr);
    int settings_controls = 0;
    for (int i = 0; i < dialog->control_count; ++i)
        settings_controls += dialog->controls[i].kind == DialogControl::list ||
                             dialog->controls[i].kind == DialogControl::check;
    int offered = 0;
    for (int row = 0; row < setting_count; ++row) {
        const Setting& setting = settings_table[row];
        SCOPED_TRACE(setting.stored);
        int found = 0;
        while (found < dialog->control_count &&
               dialog->controls[found].id != IDC_FIRST_SETTING + row)
            ++found;
        offered += (setting.places & in_dialog) != 0;
        if (!(setting.places & in_dialog)) {
            EXPECT_EQ(found, dialog->control_count) << "a control for a row not offered";
            continue;
        }
        ASSERT_LT(found, dialog->control_count);
        const DialogControl& control = dialog->controls[found];
        if (setting.kind == SettingKind::flag) {
            EXPECT_EQ(control.kind, DialogControl::check);
            EXPECT_EQ(std::string(control.text), setting.label);
        } else {
            EXPECT_EQ(control.kind, DialogControl::list);
            ASSERT_GT(found, 0);
            EXPECT_EQ(std::string(dialog->controls[found - 1].text),
                      std::string(setting.label) + ":");
        }
    }
    EXPECT_EQ(settings_controls, offered);
}

// A control laid over another, or past the dialog's edge, passes every other
// test. A closed list is a row high: its open list lies over those below.
TEST(SettingsTable, NoTwoControlsOfTheDialogOverlapAndAllAreInside)
{
    const DialogTemplate* dialog = find_dialog_template(SETTINGS_DIALOG_ID);
    ASSERT_NE(dialog, nullptr);
    const auto bottom = [](const DialogControl& c) {
        return c.y + (c.kind == DialogControl::list ? 12 : c.height);
    };
    for (int i = 0; i < dialog->control_count; ++i) {
        const DialogControl& a = dialog->controls[i];
        EXPECT_TRUE(a.x >= 0 && a.y >= 0 && a.x + a.width <= dialog->width &&
                    bottom(a) <= dialog->height)
            << a.text << " " << a.id;
        for (const DialogControl* b = &a + 1; b < dialog->controls + dialog->control_count; ++b)
            EXPECT_TRUE(a.x + a.width <= b->x || b->x + b->width <= a.x || bottom(a) <= b->y ||
                        bottom(*b) <= a.y)
                << a.text << " " << a.id << " and " << b->text << " " << b->id;
    }
}

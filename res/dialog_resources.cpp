// The Linux program's dialog resources, made from the same description as
// the Windows resource script.
#include "platform/x11_dialog_template.h"
#define SETTINGS_DIALOG_WALLPAPER 1
#include "settings_dialog.h"

namespace
{

#define TABLE_ROW(kind, text, id, x, y, w, h) {DialogControl::kind, text, id, x, y, w, h},
#define LABEL_ROW(text, id, x, y, w, h) TABLE_ROW(label, text, id, x, y, w, h)
#define LIST_ROW(text, id, x, y, w, h) TABLE_ROW(list, text, id, x, y, w, h)
#define CHECK_ROW(text, id, x, y, w, h) TABLE_ROW(check, text, id, x, y, w, h)
#define DEFAULT_BUTTON_ROW(text, id, x, y, w, h) TABLE_ROW(default_button, text, id, x, y, w, h)
#define BUTTON_ROW(text, id, x, y, w, h) TABLE_ROW(button, text, id, x, y, w, h)

const DialogControl settings_controls[] = {
    SETTINGS_DIALOG_CONTROLS(LABEL_ROW, LIST_ROW, CHECK_ROW, DEFAULT_BUTTON_ROW, BUTTON_ROW)};

const DialogTemplate settings_dialog = {
    SETTINGS_DIALOG_ID, SETTINGS_DIALOG_CAPTION, SETTINGS_DIALOG_WIDTH, SETTINGS_DIALOG_HEIGHT,
    settings_controls, static_cast<int>(sizeof settings_controls / sizeof settings_controls[0])};

} // namespace

const DialogTemplate* find_dialog_template(int id)
{
    return id == settings_dialog.id ? &settings_dialog : nullptr;
}

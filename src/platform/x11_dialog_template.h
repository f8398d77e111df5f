#pragma once
// What a dialog resource holds, in dialog units. On Windows the resource
// compiler puts dialogs into the program; here the program links a table of
// them, which DialogBoxParamA looks up by number.
struct DialogControl {
    enum Kind { label, list, check, default_button, button };
    Kind kind;
    const char* text;
    int id;
    int x, y, width, height;
};

struct DialogTemplate {
    int id;
    const char* caption;
    int width, height;
    const DialogControl* controls;
    int control_count;
};

// Defined by the program: its dialog with that number, or null.
const DialogTemplate* find_dialog_template(int id);

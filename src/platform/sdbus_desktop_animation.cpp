// SystemParametersInfoA on Linux: the one question the shell asks of the
// desktop's settings, answered from KDE's file and GNOME's key, the latter
// through the desktop portal on the session bus.
#include <systemd/sd-bus.h>

#include <chrono>
#include <cstring>

#include "platform/posix_desktop_animation.h"
#include "platform/sdbus_bounded_wait.h"
#include "platform/win32_api.h"

namespace
{

const char* const portal = "org.freedesktop.portal.Desktop";
const char* const portal_object = "/org/freedesktop/portal/desktop";
const char* const portal_settings = "org.freedesktop.portal.Settings";
const char* const gnome_namespace = "org.gnome.desktop.interface";
const char* const gnome_key = "enable-animations";
// A portal that is running answers well within this; one that is not, or a
// bus that hangs, delays the first picture by no more, and says nothing.
constexpr std::chrono::milliseconds answer_wait{200};

struct Question {
    sd_bus* bus = nullptr;
    sd_bus_slot* slot = nullptr; // while the answer is still to come
    bool read_asked = false;     // the older method, after ReadOne was unknown
    AnimationWish wish = animation_unsaid;
};

int take_answer(sd_bus_message* reply, void* data, sd_bus_error*);

void ask(Question& question, const char* method)
{
    if (sd_bus_call_method_async(question.bus, &question.slot, portal, portal_object,
                                 portal_settings, method, take_answer, &question, "ss",
                                 gnome_namespace, gnome_key) < 0)
        question.slot = nullptr;
}

// ReadOne answers the value in a variant; Read, all a portal older than it
// offers, in a variant in a variant.
int take_answer(sd_bus_message* reply, void* data, sd_bus_error*)
{
    auto& question = *static_cast<Question*>(data);
    question.slot = sd_bus_slot_unref(question.slot);
    if (sd_bus_message_is_method_error(reply, "org.freedesktop.DBus.Error.UnknownMethod")) {
        if (!question.read_asked) {
            question.read_asked = true;
            ask(question, "Read");
        }
        return 0;
    }
    if (sd_bus_message_is_method_error(reply, nullptr))
        return 0;
    for (int depth = 0; depth < 2; ++depth) {
        char type = 0;
        const char* contents = nullptr;
        if (sd_bus_message_peek_type(reply, &type, &contents) <= 0 || type != 'v')
            return 0;
        if (std::strcmp(contents, "b") == 0) {
            int enabled = 0;
            if (sd_bus_message_read(reply, "v", "b", &enabled) >= 0)
                question.wish = enabled ? animation_on : animation_off;
            return 0;
        }
        if (std::strcmp(contents, "v") != 0 || sd_bus_message_enter_container(reply, 'v', "v") < 0)
            return 0;
    }
    return 0;
}

// Nothing here waits on the bus past answer_wait; an end request cuts the
// wait short.
AnimationWish gnome_animation_wish()
{
    Question question;
    if (sd_bus_open_user(&question.bus) < 0)
        return animation_unsaid;
    ask(question, "ReadOne");
    const auto deadline = std::chrono::steady_clock::now() + answer_wait;
    while (question.slot) {
        int processed = 0;
        while ((processed = sd_bus_process(question.bus, nullptr)) > 0 && question.slot) {
        }
        if (processed < 0 || !question.slot || !wait_on_bus(question.bus, deadline))
            break;
    }
    sd_bus_slot_unref(question.slot);
    // Not flushed: a bus that reads nothing would hold the start up.
    sd_bus_close_unref(question.bus);
    return question.wish;
}

} // namespace

// Only the desktop's wish for animation is read; the screen saver's running
// state is Windows' own business and means nothing to a Linux desktop.
BOOL SystemParametersInfoA(UINT action, UINT, LPVOID value, UINT)
{
    if (action != SPI_GETCLIENTAREAANIMATION || !value)
        return FALSE;
    AnimationWish wish = kde_animation_wish();
    if (wish != animation_off)
        wish = gnome_animation_wish() == animation_off ? animation_off : wish;
    *static_cast<BOOL*>(value) = wish == animation_off ? FALSE : TRUE;
    return TRUE;
}

#include "platform/sdbus_power_source.h"

#include <systemd/sd-bus.h>

#include <chrono>
#include <cstdint>

#include "platform/sdbus_bounded_wait.h"

namespace
{

const char* const service = "org.freedesktop.UPower";
const char* const object = "/org/freedesktop/UPower";
// A UPower that restarts announces no change: what it says is read again
// when its name is back.
const char* const owner_rule = "type='signal',sender='org.freedesktop.DBus',"
                               "path='/org/freedesktop/DBus',interface='org.freedesktop.DBus',"
                               "member='NameOwnerChanged',arg0='org.freedesktop.UPower'";

// A UPower that has not answered by then counts as none: mains.
constexpr std::uint64_t answer_wait_us = 500000;
// A bus that is there answers well within this, so that a saver started on
// battery shows no frame meant for mains; one that is not delays the start
// by no more.
constexpr std::chrono::milliseconds first_answer_wait{200};

struct PowerSource {
    sd_bus* bus = nullptr;
    sd_bus_slot* question = nullptr; // a read of OnBattery not answered yet
    bool on_battery = false;         // as UPower said it last
    bool told = false;               // as the callers learned it last
};

PowerSource followed;

void let_go(PowerSource& source)
{
    source.question = sd_bus_slot_unref(source.question);
    // Not flushed: a bus that reads nothing would hold the saver's end up.
    source.bus = sd_bus_close_unref(source.bus);
    source.on_battery = false;
}

int take_answer(sd_bus_message* reply, void* data, sd_bus_error*)
{
    auto& source = *static_cast<PowerSource*>(data);
    source.question = sd_bus_slot_unref(source.question);
    int value = 0;
    source.on_battery = !sd_bus_message_is_method_error(reply, nullptr) &&
                        sd_bus_message_read(reply, "v", "b", &value) >= 0 && value != 0;
    return 0;
}

void ask(PowerSource& source)
{
    // An answer still to come would be older than the one asked for now.
    source.question = sd_bus_slot_unref(source.question);
    sd_bus_call_method_async(source.bus, &source.question, service, object,
                             "org.freedesktop.DBus.Properties", "Get", take_answer, &source, "ss",
                             service, "OnBattery");
}

int note_change(sd_bus_message*, void* data, sd_bus_error*)
{
    ask(*static_cast<PowerSource*>(data));
    return 0;
}

int note_owner(sd_bus_message* message, void* data, sd_bus_error*)
{
    auto& source = *static_cast<PowerSource*>(data);
    const char* name = nullptr;
    const char* old_owner = nullptr;
    const char* new_owner = nullptr;
    if (sd_bus_message_read(message, "sss", &name, &old_owner, &new_owner) < 0)
        return 0;
    if (*new_owner) {
        ask(source);
    } else { // without UPower, mains
        source.question = sd_bus_slot_unref(source.question);
        source.on_battery = false;
    }
    return 0;
}

// Nothing here waits: the connection's handshake, the matches and the first
// read all go out as the bus takes them.
bool start_following(PowerSource& source)
{
    if (sd_bus_open_system(&source.bus) < 0) {
        source.bus = nullptr;
        return false;
    }
    sd_bus_set_method_call_timeout(source.bus, answer_wait_us);
    if (sd_bus_match_signal_async(source.bus, nullptr, service, object,
                                  "org.freedesktop.DBus.Properties", "PropertiesChanged",
                                  note_change, nullptr, &source) < 0 ||
        sd_bus_add_match_async(source.bus, nullptr, owner_rule, note_owner, nullptr, &source) < 0) {
        let_go(source);
        return false;
    }
    ask(source);
    return true;
}

// Takes in what the bus has said; a bus that went leaves the computer on
// mains and nothing to wait on.
void settle(PowerSource& source)
{
    int processed = 0;
    while ((processed = sd_bus_process(source.bus, nullptr)) > 0) {
    }
    if (processed < 0 || sd_bus_is_open(source.bus) <= 0)
        let_go(source);
}

// An end request cuts the wait short: the saver ends rather than starts.
void await_first_answer(PowerSource& source)
{
    const auto deadline = std::chrono::steady_clock::now() + first_answer_wait;
    while (source.bus && source.question && wait_on_bus(source.bus, deadline))
        settle(source);
}

} // namespace

bool on_battery_now()
{
    if (followed.bus) {
        followed.told = followed.on_battery;
        return followed.told;
    }
    PowerSource once;
    if (start_following(once))
        await_first_answer(once);
    const bool battery = once.on_battery;
    let_go(once);
    return battery;
}

bool watch_power_source()
{
    if (!followed.bus && start_following(followed)) {
        await_first_answer(followed);
        followed.told = followed.on_battery;
    }
    return followed.bus != nullptr;
}

int power_source_descriptor()
{
    return followed.bus ? sd_bus_get_fd(followed.bus) : -1;
}

bool power_source_changed(bool& running_on_battery)
{
    if (followed.bus)
        settle(followed);
    if (followed.on_battery == followed.told)
        return false;
    running_on_battery = followed.told = followed.on_battery;
    return true;
}

void stop_watching_power_source()
{
    let_go(followed);
    followed.told = false;
}

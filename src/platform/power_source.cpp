#include "platform/power_source.h"

#include <systemd/sd-bus.h>

#include <cstdint>

namespace
{

const char* const service = "org.freedesktop.UPower";
const char* const object = "/org/freedesktop/UPower";

sd_bus* watched = nullptr;
sd_bus_slot* change_slot = nullptr;
bool news = false;
bool last_known = false;

// A bus that answers late must not hold up the saver's start or its frames.
constexpr std::uint64_t answer_wait_us = 500000;

sd_bus* open_system_bus()
{
    sd_bus* bus = nullptr;
    if (sd_bus_open_system(&bus) < 0)
        return nullptr;
    sd_bus_set_method_call_timeout(bus, answer_wait_us);
    return bus;
}

bool read_on_battery(sd_bus* bus)
{
    int value = 0;
    return sd_bus_get_property_trivial(bus, service, object, service, "OnBattery", nullptr, 'b',
                                       &value) >= 0 &&
           value != 0;
}

int note_news(sd_bus_message*, void*, sd_bus_error*)
{
    news = true;
    return 0;
}

} // namespace

bool on_battery_now()
{
    sd_bus* bus = watched ? watched : open_system_bus();
    const bool battery = bus && read_on_battery(bus);
    if (bus != watched)
        sd_bus_flush_close_unref(bus);
    return battery;
}

int watch_power_source()
{
    if (!watched) {
        watched = open_system_bus();
        if (!watched ||
            sd_bus_match_signal(watched, &change_slot, service, object,
                                "org.freedesktop.DBus.Properties", "PropertiesChanged", note_news,
                                nullptr) < 0) {
            stop_watching_power_source();
            return -1;
        }
        last_known = read_on_battery(watched);
    }
    return sd_bus_get_fd(watched);
}

bool power_source_changed(bool& on_battery)
{
    if (!watched)
        return false;
    while (sd_bus_process(watched, nullptr) > 0) {
    }
    if (!news)
        return false;
    news = false;
    const bool now = read_on_battery(watched);
    const bool changed = now != last_known;
    last_known = now;
    on_battery = now;
    return changed;
}

void stop_watching_power_source()
{
    sd_bus_slot_unref(change_slot);
    sd_bus_flush_close_unref(watched);
    change_slot = nullptr;
    watched = nullptr;
}

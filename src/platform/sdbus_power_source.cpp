#include "platform/sdbus_power_source.h"

#include <systemd/sd-bus.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/sdbus_bounded_wait.h"

namespace
{

// A service that has not answered by then counts as none.
constexpr std::uint64_t answer_wait_us = 500000;
// A bus that is there answers well within this, so that a saver started on
// battery shows no frame meant for mains; one that is not delays the start
// by no more.
constexpr std::chrono::milliseconds first_answer_wait{200};

bool read_on_battery(sd_bus_message* reply)
{
    int value = 0;
    return sd_bus_message_read(reply, "v", "b", &value) >= 0 && value != 0;
}

bool read_power_saver(sd_bus_message* reply)
{
    const char* profile = nullptr;
    return sd_bus_message_read(reply, "v", "s", &profile) >= 0 &&
           std::strcmp(profile, "power-saver") == 0;
}

// One property of one service, and where its word goes.
struct Property {
    const char* service;
    const char* object;
    const char* interface;
    const char* name;
    bool (*read)(sd_bus_message* reply);
    bool PowerNews::*news;
};

const Property properties[] = {
    {"org.freedesktop.UPower", "/org/freedesktop/UPower", "org.freedesktop.UPower", "OnBattery",
     read_on_battery, &PowerNews::on_battery},
    {"net.hadess.PowerProfiles", "/net/hadess/PowerProfiles", "net.hadess.PowerProfiles",
     "ActiveProfile", read_power_saver, &PowerNews::power_saver}};
constexpr int property_count = sizeof properties / sizeof properties[0];

struct PowerSource;

// A property followed on one connection: its last word and a read not yet
// answered.
struct Reading {
    PowerSource* source = nullptr;
    const Property* property = nullptr;
    sd_bus_slot* question = nullptr;
};

struct PowerSource {
    sd_bus* bus = nullptr;
    Reading readings[property_count];
    PowerNews news; // as the services said it last
    PowerNews told; // as the callers learned it last
};

PowerSource followed;

void let_go(PowerSource& source)
{
    for (Reading& reading : source.readings)
        reading.question = sd_bus_slot_unref(reading.question);
    // Not flushed: a bus that reads nothing would hold the saver's end up.
    source.bus = sd_bus_close_unref(source.bus);
    source.news = {};
}

int take_answer(sd_bus_message* reply, void* data, sd_bus_error*)
{
    auto& reading = *static_cast<Reading*>(data);
    reading.question = sd_bus_slot_unref(reading.question);
    reading.source->news.*reading.property->news =
        !sd_bus_message_is_method_error(reply, nullptr) && reading.property->read(reply);
    return 0;
}

void ask(Reading& reading)
{
    // An answer still to come would be older than the one asked for now.
    reading.question = sd_bus_slot_unref(reading.question);
    const Property& property = *reading.property;
    sd_bus_call_method_async(reading.source->bus, &reading.question, property.service,
                             property.object, "org.freedesktop.DBus.Properties", "Get", take_answer,
                             &reading, "ss", property.interface, property.name);
}

int note_change(sd_bus_message*, void* data, sd_bus_error*)
{
    ask(*static_cast<Reading*>(data));
    return 0;
}

// A service that restarts announces no change: what it says is read again
// when its name is back.
int note_owner(sd_bus_message* message, void* data, sd_bus_error*)
{
    auto& reading = *static_cast<Reading*>(data);
    const char* name = nullptr;
    const char* old_owner = nullptr;
    const char* new_owner = nullptr;
    if (sd_bus_message_read(message, "sss", &name, &old_owner, &new_owner) < 0)
        return 0;
    if (*new_owner) {
        ask(reading);
    } else { // without the service, no
        reading.question = sd_bus_slot_unref(reading.question);
        reading.source->news.*reading.property->news = false;
    }
    return 0;
}

bool follow(sd_bus* bus, Reading& reading)
{
    const Property& property = *reading.property;
    const std::string owner_rule =
        std::string("type='signal',sender='org.freedesktop.DBus',path='/org/freedesktop/DBus',"
                    "interface='org.freedesktop.DBus',member='NameOwnerChanged',arg0='") +
        property.service + "'";
    if (sd_bus_match_signal_async(bus, nullptr, property.service, property.object,
                                  "org.freedesktop.DBus.Properties", "PropertiesChanged",
                                  note_change, nullptr, &reading) < 0 ||
        sd_bus_add_match_async(bus, nullptr, owner_rule.c_str(), note_owner, nullptr, &reading) < 0)
        return false;
    ask(reading);
    return true;
}

// Nothing here waits: the connection's handshake, the matches and the first
// reads all go out as the bus takes them.
bool start_following(PowerSource& source)
{
    if (sd_bus_open_system(&source.bus) < 0) {
        source.bus = nullptr;
        return false;
    }
    sd_bus_set_method_call_timeout(source.bus, answer_wait_us);
    for (int i = 0; i < property_count; ++i) {
        source.readings[i].source = &source;
        source.readings[i].property = &properties[i];
        if (!follow(source.bus, source.readings[i])) {
            let_go(source);
            return false;
        }
    }
    return true;
}

// Takes in what the bus has said; a bus that went leaves nothing to wait on,
// and the computer on mains, not saving power.
void settle(PowerSource& source)
{
    int processed = 0;
    while ((processed = sd_bus_process(source.bus, nullptr)) > 0) {
    }
    if (processed < 0 || sd_bus_is_open(source.bus) <= 0)
        let_go(source);
}

bool questions_open(const PowerSource& source)
{
    for (const Reading& reading : source.readings)
        if (reading.question)
            return true;
    return false;
}

// An end request cuts the wait short: the saver ends rather than starts.
void await_first_answers(PowerSource& source)
{
    const auto deadline = std::chrono::steady_clock::now() + first_answer_wait;
    while (source.bus && questions_open(source) && wait_on_bus(source.bus, deadline))
        settle(source);
}

bool same(const PowerNews& a, const PowerNews& b)
{
    return a.on_battery == b.on_battery && a.power_saver == b.power_saver;
}

} // namespace

PowerNews power_now()
{
    if (followed.bus) {
        followed.told = followed.news;
        return followed.told;
    }
    PowerSource once;
    if (start_following(once))
        await_first_answers(once);
    const PowerNews news = once.news;
    let_go(once);
    return news;
}

bool watch_power_source()
{
    if (!followed.bus && start_following(followed)) {
        await_first_answers(followed);
        followed.told = followed.news;
    }
    return followed.bus != nullptr;
}

int power_source_descriptor()
{
    return followed.bus ? sd_bus_get_fd(followed.bus) : -1;
}

bool power_source_changed(PowerNews& news)
{
    if (followed.bus)
        settle(followed);
    if (same(followed.news, followed.told))
        return false;
    news = followed.told = followed.news;
    return true;
}

void stop_watching_power_source()
{
    let_go(followed);
    followed.told = {};
}

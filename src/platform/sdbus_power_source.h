#pragma once
// What the system bus says of the computer's power: whether it runs on
// battery, as UPower tells it, and whether it is asked to save power, as the
// power-profiles daemon's active profile ("power-saver") tells it. Without a
// system bus or either service that part counts as no, silently. Nothing
// here waits on the bus for long: a bus that never answers leaves the
// computer on mains, and not saving power, until it does.

struct PowerNews {
    bool on_battery = false;
    bool power_saver = false;
};

// What a saver's "Power saving" setting is for: either one.
inline bool saving_power(const PowerNews& news)
{
    return news.on_battery || news.power_saver;
}

PowerNews power_now();
// Follows both from here on; false without a system bus.
bool watch_power_source();
// The descriptor to wait on for news of them; -1 when nothing is followed or
// the bus went.
int power_source_descriptor();
// After news on the descriptor: true when either changed, and what they are.
bool power_source_changed(PowerNews& news);
void stop_watching_power_source();

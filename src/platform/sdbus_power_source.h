#pragma once
// Whether the computer runs on battery, as UPower tells it on the system bus.
// Without a system bus or UPower the computer counts as on mains, silently.
// Nothing here waits on the bus for long: a bus that never answers leaves
// the computer on mains until it does.

bool on_battery_now();
// Follows UPower's OnBattery from here on; false without a system bus.
bool watch_power_source();
// The descriptor to wait on for news of it; -1 when nothing is followed or
// the bus went.
int power_source_descriptor();
// After news on the descriptor: true when OnBattery changed, and what it is.
bool power_source_changed(bool& running_on_battery);
void stop_watching_power_source();

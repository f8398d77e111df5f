#pragma once
// Whether the computer runs on battery, as UPower tells it on the system bus.
// Without a system bus or UPower the computer counts as on mains, silently.

bool on_battery_now();
// Follows UPower's OnBattery: the descriptor to wait on for news, or -1.
int watch_power_source();
// After news on the descriptor: true when OnBattery changed, and what it is.
bool power_source_changed(bool& on_battery);
void stop_watching_power_source();

#include "wayland/wayland_output_size.h"

#include <poll.h>
#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <memory>
#include <string_view>
#include <vector>

namespace
{

using Clock = std::chrono::steady_clock;

struct OutputSize {
    wl_output* output = nullptr;
    int width = 0;
    int height = 0;
    bool turned = false; // a quarter turn either way: its width is the mode's height
};

void output_geometry(void* data, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t,
                     const char*, const char*, int32_t transform)
{
    static_cast<OutputSize*>(data)->turned = (transform & 1) != 0;
}

void output_mode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t)
{
    auto* size = static_cast<OutputSize*>(data);
    if (flags & WL_OUTPUT_MODE_CURRENT) {
        size->width = width;
        size->height = height;
    }
}

void output_done(void*, wl_output*) {}
void output_scale(void*, wl_output*, int32_t) {}
void output_name(void*, wl_output*, const char*) {}
void output_description(void*, wl_output*, const char*) {}

const wl_output_listener output_listener = {output_geometry, output_mode, output_done,
                                            output_scale,    output_name, output_description};

void global_added(void* data, wl_registry* registry, uint32_t name, const char* interface,
                  uint32_t version)
{
    if (std::string_view(interface) != wl_output_interface.name)
        return;
    auto& outputs = *static_cast<std::vector<std::unique_ptr<OutputSize>>*>(data);
    outputs.push_back(std::make_unique<OutputSize>());
    outputs.back()->output = static_cast<wl_output*>(
        wl_registry_bind(registry, name, &wl_output_interface, std::min(version, 2u)));
    wl_output_add_listener(outputs.back()->output, &output_listener, outputs.back().get());
}

void global_removed(void*, wl_registry*, uint32_t) {}

const wl_registry_listener registry_listener = {global_added, global_removed};

void synced(void* data, wl_callback*, uint32_t)
{
    *static_cast<bool*>(data) = true;
}

const wl_callback_listener sync_listener = {synced};

// wl_display_roundtrip, given up at the deadline.
bool roundtrip_until(wl_display* display, Clock::time_point deadline)
{
    bool done = false;
    wl_callback* sync = wl_display_sync(display);
    wl_callback_add_listener(sync, &sync_listener, &done);
    while (!done) {
        if (wl_display_prepare_read(display) != 0) {
            if (wl_display_dispatch_pending(display) < 0)
                break;
            continue;
        }
        wl_display_flush(display);
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd descriptor = {wl_display_get_fd(display), POLLIN, 0};
        const int ready =
            left.count() > 0 ? poll(&descriptor, 1, static_cast<int>(left.count())) : 0;
        if (ready <= 0) {
            wl_display_cancel_read(display);
            if (ready < 0 && errno == EINTR)
                continue;
            break;
        }
        if (wl_display_read_events(display) != 0 || wl_display_dispatch_pending(display) < 0)
            break;
    }
    wl_callback_destroy(sync);
    return done;
}

} // namespace

bool wayland_output_size(int& width, int& height)
{
    wl_display* display = wl_display_connect(nullptr);
    if (!display)
        return false;
    std::vector<std::unique_ptr<OutputSize>> outputs;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, &outputs);
    // The globals, then what each output says of itself.
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(2);
    const bool answered = roundtrip_until(display, deadline) && roundtrip_until(display, deadline);
    long largest = 0;
    for (const auto& size : outputs) {
        const long pixels = static_cast<long>(size->width) * size->height;
        if (answered && pixels > largest) {
            largest = pixels;
            width = size->turned ? size->height : size->width;
            height = size->turned ? size->width : size->height;
        }
        wl_output_destroy(size->output);
    }
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return largest > 0;
}

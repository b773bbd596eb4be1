/* A pointer for a headless wlroots compositor (sway), which has no input devices of its own:
 * a client of the compositor's virtual-pointer protocol (wlr-virtual-pointer-unstable-v1).
 * Reads commands from standard input, one a line, and answers "ok" when the compositor has
 * handled each:
 *   move X Y      the pointer to X,Y in the layout (of WIDTH x HEIGHT, the arguments)
 *   press, release, click   the left button
 * Usage: virtual-pointer WIDTH HEIGHT. Built by tests/wayland/sway.sh (needs libwayland-dev). */
#define _POSIX_C_SOURCE 200809L
#include <wayland-client.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

/* The protocol's two interfaces, as a protocol scanner would write them. */
static const struct wl_interface pointer_interface;
static const struct wl_interface* pointer_types[] = {
    NULL, NULL, NULL, NULL, NULL, &wl_seat_interface, &pointer_interface};
static const struct wl_message pointer_requests[] = {
    {"motion", "uff", pointer_types},   {"motion_absolute", "uuuuu", pointer_types},
    {"button", "uuu", pointer_types},   {"axis", "uuf", pointer_types},
    {"frame", "", pointer_types},       {"axis_source", "u", pointer_types},
    {"axis_stop", "uu", pointer_types}, {"axis_discrete", "uufi", pointer_types},
    {"destroy", "", pointer_types},
};
static const struct wl_interface pointer_interface = {"zwlr_virtual_pointer_v1", 1, 9,
                                                      pointer_requests,          0, NULL};
static const struct wl_message manager_requests[] = {
    {"create_virtual_pointer", "?on", pointer_types + 5},
};
static const struct wl_interface manager_interface = {
    "zwlr_virtual_pointer_manager_v1", 1, 1, manager_requests, 0, NULL};

enum { MOTION_ABSOLUTE = 1, BUTTON = 2, FRAME = 4 };
enum { LEFT_BUTTON = 0x110 }; /* BTN_LEFT */

static struct wl_proxy* manager;
static struct wl_seat* seat;

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
                   uint32_t version) {
    (void)data;
    (void)version;
    if (strcmp(interface, manager_interface.name) == 0)
        manager = wl_registry_bind(registry, name, &manager_interface, 1);
    else if (strcmp(interface, "wl_seat") == 0 && seat == NULL)
        seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
}
static void global_remove(void* data, struct wl_registry* registry, uint32_t name) {
    (void)data;
    (void)registry;
    (void)name;
}
static const struct wl_registry_listener registry_listener = {global, global_remove};

static uint32_t now_ms(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (uint32_t)(t.tv_sec * 1000 + t.tv_nsec / 1000000);
}

int main(int argc, char* argv[]) {
    if (argc != 3) {
        fprintf(stderr, "usage: virtual-pointer WIDTH HEIGHT\n");
        return 2;
    }
    const uint32_t width = (uint32_t)atoi(argv[1]), height = (uint32_t)atoi(argv[2]);
    struct wl_display* display = wl_display_connect(NULL);
    if (display == NULL) {
        fprintf(stderr, "virtual-pointer: no Wayland display\n");
        return 1;
    }
    struct wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, NULL);
    wl_display_roundtrip(display);
    if (manager == NULL) {
        fprintf(stderr, "virtual-pointer: the compositor has no virtual pointers\n");
        return 1;
    }
    struct wl_proxy* pointer =
        wl_proxy_marshal_constructor(manager, 0, &pointer_interface, (struct wl_proxy*)seat, NULL);
    wl_display_roundtrip(display);

    char line[128];
    while (fgets(line, sizeof line, stdin)) {
        unsigned x, y;
        if (sscanf(line, "move %u %u", &x, &y) == 2) {
            wl_proxy_marshal(pointer, MOTION_ABSOLUTE, now_ms(), x, y, width, height);
            wl_proxy_marshal(pointer, FRAME);
        } else if (strncmp(line, "press", 5) == 0 || strncmp(line, "click", 5) == 0) {
            wl_proxy_marshal(pointer, BUTTON, now_ms(), LEFT_BUTTON, 1);
            wl_proxy_marshal(pointer, FRAME);
        }
        if (strncmp(line, "release", 7) == 0 || strncmp(line, "click", 5) == 0) {
            wl_proxy_marshal(pointer, BUTTON, now_ms(), LEFT_BUTTON, 0);
            wl_proxy_marshal(pointer, FRAME);
        }
        if (wl_display_roundtrip(display) < 0) {
            fprintf(stderr, "virtual-pointer: the compositor went away\n");
            return 1;
        }
        printf("ok\n");
        fflush(stdout);
    }
    wl_display_disconnect(display);
    return 0;
}

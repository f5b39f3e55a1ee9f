// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

// One virtual keyboard and one virtual pointer, plugged into a wlroots compositor for as long
// as this runs: a device plugged in per key would deactivate the focused popup and lose keys.
// Reads commands from stdin, one a line, and answers each with "ok" once the compositor has
// taken it:
//   key CODE | down CODE | up CODE     evdev key codes (Alt held with down 56 ... up 56)
//   move X Y                           pointer to X,Y of the layout (size from argv)
//   press | release                    left button
// usage: vinput WIDTH HEIGHT

#define _GNU_SOURCE
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>

#include <linux/input-event-codes.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include "virtual-keyboard-unstable-v1-client-protocol.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

static struct wl_seat *seat;
static struct zwp_virtual_keyboard_manager_v1 *keyboards;
static struct zwlr_virtual_pointer_manager_v1 *pointers;

static void global(void *data, struct wl_registry *registry, uint32_t name, const char *interface,
                   uint32_t version)
{
    (void)data;
    if (strcmp(interface, wl_seat_interface.name) == 0 && !seat)
        seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
    else if (strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0)
        keyboards = wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1);
    else if (strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        pointers = wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface,
                                    version < 2 ? version : 2);
}

static void global_remove(void *data, struct wl_registry *registry, uint32_t name)
{
    (void)data;
    (void)registry;
    (void)name;
}

static const struct wl_registry_listener registry_listener = {global, global_remove};

static uint32_t now_ms(void)
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (uint32_t)(ts.tv_sec * 1000 + ts.tv_nsec / 1000000);
}

int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: vinput WIDTH HEIGHT\n");
        return 2;
    }
    const uint32_t width = (uint32_t)atoi(argv[1]), height = (uint32_t)atoi(argv[2]);
    struct wl_display *display = wl_display_connect(NULL);
    if (!display) {
        fprintf(stderr, "vinput: no Wayland display\n");
        return 1;
    }
    struct wl_registry *registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, NULL);
    wl_display_roundtrip(display);
    if (!seat || !keyboards || !pointers) {
        fprintf(stderr, "vinput: the compositor lacks a seat or the virtual input protocols\n");
        return 1;
    }

    // The keymap the compositor gives its clients, and the state that tracks the modifiers.
    struct xkb_context *context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    struct xkb_rule_names names = {"evdev", "pc105", "us", "", ""};
    struct xkb_keymap *keymap = xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
    if (!keymap) {
        fprintf(stderr, "vinput: no keymap\n");
        return 1;
    }
    struct xkb_state *state = xkb_state_new(keymap);
    char *text = xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
    const size_t size = strlen(text) + 1;
    const int fd = memfd_create("vinput-keymap", MFD_CLOEXEC);
    if (fd < 0 || write(fd, text, size) != (ssize_t)size) {
        perror("vinput: keymap");
        return 1;
    }
    struct zwp_virtual_keyboard_v1 *keyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(keyboards, seat);
    zwp_virtual_keyboard_v1_keymap(keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd, (uint32_t)size);
    struct zwlr_virtual_pointer_v1 *pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(pointers, seat);
    wl_display_roundtrip(display);
    printf("ready\n");
    fflush(stdout);

    char line[256];
    while (fgets(line, sizeof line, stdin)) {
        char verb[32] = "";
        int a = 0, b = 0;
        const int n = sscanf(line, "%31s %d %d", verb, &a, &b);
        if (n < 1)
            continue;
        const int down = strcmp(verb, "down") == 0, up = strcmp(verb, "up") == 0;
        if ((down || up || strcmp(verb, "key") == 0) && n >= 2) {
            for (int pass = down || up ? 1 : 0; pass < 2; ++pass) {
                const int pressed = up ? 0 : (down ? 1 : pass == 0);
                zwp_virtual_keyboard_v1_key(keyboard, now_ms(), (uint32_t)a,
                                            pressed ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED);
                xkb_state_update_key(state, (xkb_keycode_t)a + 8, pressed ? XKB_KEY_DOWN : XKB_KEY_UP);
                zwp_virtual_keyboard_v1_modifiers(keyboard, xkb_state_serialize_mods(state, XKB_STATE_MODS_DEPRESSED),
                                                  xkb_state_serialize_mods(state, XKB_STATE_MODS_LATCHED),
                                                  xkb_state_serialize_mods(state, XKB_STATE_MODS_LOCKED),
                                                  xkb_state_serialize_layout(state, XKB_STATE_LAYOUT_EFFECTIVE));
                if (down || up)
                    break;
            }
        } else if (strcmp(verb, "move") == 0 && n == 3) {
            zwlr_virtual_pointer_v1_motion_absolute(pointer, now_ms(), (uint32_t)a, (uint32_t)b, width, height);
            zwlr_virtual_pointer_v1_frame(pointer);
        } else if (strcmp(verb, "press") == 0 || strcmp(verb, "release") == 0) {
            zwlr_virtual_pointer_v1_button(pointer, now_ms(), BTN_LEFT,
                                           verb[0] == 'p' ? WL_POINTER_BUTTON_STATE_PRESSED
                                                          : WL_POINTER_BUTTON_STATE_RELEASED);
            zwlr_virtual_pointer_v1_frame(pointer);
        } else {
            printf("error %s", line);
            fflush(stdout);
            continue;
        }
        wl_display_roundtrip(display);
        printf("ok\n");
        fflush(stdout);
    }
    zwlr_virtual_pointer_v1_destroy(pointer);
    zwp_virtual_keyboard_v1_destroy(keyboard);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}

// Read-only questions that tests ask the X server: properties, windows, keyboard state.
#include "tests/support/XQueries.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <sstream>
#include <unistd.h>

namespace quorvane::test {
namespace {

bool hasTitle(Display *display, Window window, const std::string &title) {
    char *name = nullptr;
    bool match = XFetchName(display, window, &name) != 0 && name != nullptr && title == name;
    if (name != nullptr) {
        XFree(name);
    }
    return match;
}

// Depth first for a viewable window with _NET_WM_PID `pid`, or with WM_NAME `title` when `pid` is 0.
std::optional<Window> searchTree(Display *display, Window window, pid_t pid, const std::string &title, int depth) {
    auto pids = longProperty(display, window, "_NET_WM_PID");
    const bool match =
        pid != 0 ? !pids.empty() && static_cast<pid_t>(pids[0]) == pid : hasTitle(display, window, title);
    if (match && isViewable(display, window)) {
        return window;
    }
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (depth == 0 || XQueryTree(display, window, &root, &parent, &children, &count) == 0) {
        return std::nullopt;
    }
    std::optional<Window> found;
    for (unsigned i = 0; i < count && !found; ++i) {
        found = searchTree(display, children[i], pid, title, depth - 1);
    }
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

} // namespace

std::vector<unsigned long> longProperty(Display *display, Window window, const char *name) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    std::vector<unsigned long> result;
    if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 4096, False, AnyPropertyType, &type,
                           &format, &count, &after, &data) == Success &&
        data != nullptr && format == 32) {
        auto *items = reinterpret_cast<unsigned long *>(data);
        result.assign(items, items + count);
    }
    if (data != nullptr) {
        XFree(data);
    }
    return result;
}

bool isViewable(Display *display, Window window) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display, window, &attributes) != 0 && attributes.map_state == IsViewable;
}

std::optional<Window> findViewableClient(Display *display, pid_t pid, const std::string &title) {
    // By process first: two terminals may share a title.
    auto byPid = searchTree(display, DefaultRootWindow(display), pid, title, 3);
    return byPid || title.empty() ? byPid : searchTree(display, DefaultRootWindow(display), 0, title, 3);
}

KeyboardState keyboardState(Display *display) {
    KeyboardState state;
    int minKeycode = 0, maxKeycode = 0;
    XDisplayKeycodes(display, &minKeycode, &maxKeycode);
    KeySym *syms = XGetKeyboardMapping(display, static_cast<KeyCode>(minKeycode), maxKeycode - minKeycode + 1,
                                       &state.keysymsPerKeycode);
    if (syms != nullptr) {
        state.keymap.assign(syms, syms + (maxKeycode - minKeycode + 1) * state.keysymsPerKeycode);
        XFree(syms);
    }
    char keys[32] = {};
    XQueryKeymap(display, keys);
    for (int code = 0; code < 256; ++code) {
        if ((keys[code / 8] >> (code % 8)) & 1) {
            state.pressedKeycodes.push_back(code);
        }
    }
    XkbStateRec xkb{};
    XkbGetState(display, XkbUseCoreKbd, &xkb);
    state.baseModifiers = xkb.base_mods | xkb.latched_mods;
    state.lockedModifiers = xkb.locked_mods;
    state.group = xkb.group;
    return state;
}

std::string windowName(Display *display, Window window) {
    char *name = nullptr;
    std::string text;
    if (XFetchName(display, window, &name) != 0 && name != nullptr) {
        text = name;
    }
    if (name != nullptr) {
        XFree(name);
    }
    return text;
}

std::optional<std::string> primarySelection(Display *display) {
    const Window requestor = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    const Atom property = XInternAtom(display, "QUORVANE_TEST_SELECTION", False);
    XConvertSelection(display, XA_PRIMARY, XInternAtom(display, "UTF8_STRING", False), property, requestor,
                      CurrentTime);
    XFlush(display);
    std::optional<std::string> text;
    XEvent event;
    for (int tries = 0; tries < 100; ++tries) {
        if (XCheckTypedWindowEvent(display, requestor, SelectionNotify, &event)) {
            if (event.xselection.property == property) {
                Atom type = 0;
                int format = 0;
                unsigned long count = 0, after = 0;
                unsigned char *data = nullptr;
                if (XGetWindowProperty(display, requestor, property, 0, 65536, True, AnyPropertyType, &type, &format,
                                       &count, &after, &data) == Success &&
                    data != nullptr) {
                    text = std::string(reinterpret_cast<char *>(data), count);
                    XFree(data);
                }
            }
            break;
        }
        usleep(10000);
    }
    XDestroyWindow(display, requestor);
    return text;
}

std::string describeDifference(const KeyboardState &before, const KeyboardState &after) {
    std::ostringstream out;
    if (before.keymap != after.keymap || before.keysymsPerKeycode != after.keysymsPerKeycode) {
        out << "keymap changed;";
        std::size_t n = std::min(before.keymap.size(), after.keymap.size());
        for (std::size_t i = 0, shown = 0; i < n && shown < 5 && before.keysymsPerKeycode > 0; ++i) {
            if (before.keymap[i] != after.keymap[i]) {
                out << " entry " << i << ": " << before.keymap[i] << " -> " << after.keymap[i] << ";";
                ++shown;
            }
        }
    }
    if (!after.pressedKeycodes.empty()) {
        out << " keycodes down:";
        for (int code : after.pressedKeycodes) {
            out << ' ' << code;
        }
        out << ';';
    }
    if (before.baseModifiers != after.baseModifiers || before.lockedModifiers != after.lockedModifiers) {
        out << " modifiers " << before.baseModifiers << '/' << before.lockedModifiers << " -> " << after.baseModifiers
            << '/' << after.lockedModifiers << ';';
    }
    if (before.group != after.group) {
        out << " group " << before.group << " -> " << after.group << ';';
    }
    return out.str();
}

} // namespace quorvane::test

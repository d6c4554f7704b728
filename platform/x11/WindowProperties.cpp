// Property and tree look-ups on other clients' windows: titles, client windows, window-manager support.
#include "platform/x11/WindowProperties.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <algorithm>

namespace quorvane::platform::x11 {
namespace {

struct RawProperty {
    Atom type = 0;
    int format = 0;
    std::string bytes;
    unsigned long items = 0;
};

std::optional<RawProperty> readProperty(X11Session &session, Window window, Atom property) {
    RawProperty raw;
    unsigned long after = 0;
    unsigned char *data = nullptr;
    if (XGetWindowProperty(session.display(), window, property, 0, 65536, False, AnyPropertyType, &raw.type,
                           &raw.format, &raw.items, &after, &data) != Success) {
        return std::nullopt;
    }
    if (data == nullptr || raw.type == None) {
        if (data != nullptr) {
            XFree(data);
        }
        return std::nullopt;
    }
    // Format-32 items are longs in Xlib's client-side buffer, whatever their wire size.
    const std::size_t itemSize = raw.format == 32 ? sizeof(long) : static_cast<std::size_t>(raw.format / 8);
    raw.bytes.assign(reinterpret_cast<char *>(data), raw.items * itemSize);
    XFree(data);
    return raw;
}

std::string latin1ToUtf8(const std::string &text) {
    std::string out;
    for (unsigned char c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string compoundTextToUtf8(X11Session &session, const RawProperty &raw) {
    XTextProperty property{};
    property.value = reinterpret_cast<unsigned char *>(const_cast<char *>(raw.bytes.data()));
    property.encoding = raw.type;
    property.format = raw.format;
    property.nitems = raw.items;
    char **list = nullptr;
    int count = 0;
    std::string title;
    if (Xutf8TextPropertyToTextList(session.display(), &property, &list, &count) >= Success && list != nullptr) {
        if (count > 0) {
            title = list[0];
        }
        XFreeStringList(list);
    }
    return title;
}

} // namespace

std::vector<unsigned long> longProperty(X11Session &session, Window window, const char *name) {
    auto raw = readProperty(session, window, session.atom(name));
    if (!raw || raw->format != 32) {
        return {};
    }
    std::vector<unsigned long> items(raw->items);
    std::copy_n(reinterpret_cast<const unsigned long *>(raw->bytes.data()), raw->items, items.begin());
    return items;
}

bool hasProperty(X11Session &session, Window window, const char *name) {
    int count = 0;
    Atom *atoms = XListProperties(session.display(), window, &count);
    const Atom wanted = session.atom(name);
    const bool found = atoms != nullptr && std::find(atoms, atoms + count, wanted) != atoms + count;
    if (atoms != nullptr) {
        XFree(atoms);
    }
    return found;
}

std::string windowTitle(X11Session &session, Window window) {
    const Atom utf8 = session.atom("UTF8_STRING");
    if (auto name = readProperty(session, window, session.atom("_NET_WM_NAME")); name && name->type == utf8) {
        return name->bytes;
    }
    auto name = readProperty(session, window, XA_WM_NAME);
    if (!name || name->format != 8) {
        return {};
    }
    if (name->type == XA_STRING) {
        return latin1ToUtf8(name->bytes);
    }
    return name->type == utf8 ? name->bytes : compoundTextToUtf8(session, *name);
}

bool isViewable(Display *display, Window window) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display, window, &attributes) != 0 && attributes.map_state == IsViewable;
}

bool isIconic(X11Session &session, Window window) {
    const auto state = longProperty(session, window, "WM_STATE");
    return !state.empty() && state[0] == IconicState;
}

std::optional<Window> clientWindow(X11Session &session, Window window) {
    if (hasProperty(session, window, "WM_STATE") || !windowTitle(session, window).empty()) {
        return window;
    }
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (XQueryTree(session.display(), window, &root, &parent, &children, &count) == 0) {
        return std::nullopt;
    }
    std::optional<Window> found;
    for (unsigned i = 0; i < count && !found; ++i) {
        if (hasProperty(session, children[i], "WM_STATE")) {
            found = children[i];
        }
    }
    for (unsigned i = 0; i < count && !found; ++i) {
        Window grandRoot = 0, grandParent = 0, *grandChildren = nullptr;
        unsigned grandCount = 0;
        if (XQueryTree(session.display(), children[i], &grandRoot, &grandParent, &grandChildren, &grandCount)) {
            for (unsigned j = 0; j < grandCount && !found; ++j) {
                if (hasProperty(session, grandChildren[j], "WM_STATE")) {
                    found = grandChildren[j];
                }
            }
            if (grandChildren != nullptr) {
                XFree(grandChildren);
            }
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

std::optional<Window> containingClient(X11Session &session, Window window) {
    std::optional<Window> client;
    Window current = window;
    while (current != 0 && current != session.root()) {
        if (!client && hasProperty(session, current, "WM_STATE")) {
            client = current;
        }
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        if (XQueryTree(session.display(), current, &root, &parent, &children, &count) == 0) {
            return std::nullopt;
        }
        if (children != nullptr) {
            XFree(children);
        }
        if (parent == session.root()) {
            return client ? client : clientWindow(session, current);
        }
        current = parent;
    }
    return std::nullopt;
}

bool windowManagerActivates(X11Session &session) {
    auto check = longProperty(session, session.root(), "_NET_SUPPORTING_WM_CHECK");
    if (check.empty()) {
        return false;
    }
    // A window manager that has gone leaves the root's property behind; its check window then is gone too.
    auto own = longProperty(session, check[0], "_NET_SUPPORTING_WM_CHECK");
    if (own.empty() || own[0] != check[0]) {
        return false;
    }
    auto supported = longProperty(session, session.root(), "_NET_SUPPORTED");
    return std::find(supported.begin(), supported.end(), session.atom("_NET_ACTIVE_WINDOW")) != supported.end();
}

} // namespace quorvane::platform::x11

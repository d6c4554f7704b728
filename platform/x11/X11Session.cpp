// The one connection to the X server that the backend shares, and the state it keeps current from events.
#include "platform/x11/X11Session.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/extensions/XTest.h>
#include <cstdlib>
#include <mutex>

namespace quorvane::platform::x11 {
namespace {

// Xlib's default handler ends the process; a window that closes under us must only fail the request.
int ignoreXError(Display *, XErrorEvent *) { return 0; }

std::string noDisplayMessage() {
    const char *wayland = std::getenv("WAYLAND_DISPLAY");
    if (wayland != nullptr && *wayland != '\0') {
        return "No X display: this Wayland session has no XWayland (DISPLAY is not set), and Quorvane can only "
               "type into X11 windows.";
    }
    return "No X display: DISPLAY is not set. Quorvane needs an X11 desktop session.";
}

} // namespace

std::shared_ptr<X11Session> X11Session::open(std::string &error) {
    const char *name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0') {
        error = noDisplayMessage();
        return nullptr;
    }
    static std::once_flag handlerInstalled;
    std::call_once(handlerInstalled, [] { XSetErrorHandler(ignoreXError); });
    Display *display = XOpenDisplay(name);
    if (display == nullptr) {
        error = std::string("Cannot connect to the X display \"") + name + "\".";
        return nullptr;
    }
    std::shared_ptr<X11Session> session(new X11Session(display));
    if (!session->initKeyboard(error)) {
        return nullptr;
    }
    return session;
}

X11Session::X11Session(Display *display) : m_display(display), m_root(DefaultRootWindow(display)) {
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.event_mask = PropertyChangeMask;
    m_stampWindow = XCreateWindow(display, m_root, -10, -10, 1, 1, 0, CopyFromParent, InputOnly, CopyFromParent,
                                  CWOverrideRedirect | CWEventMask, &attributes);
    XSelectInput(display, m_root, PropertyChangeMask);
}

X11Session::~X11Session() {
    releaseServer();
    XDestroyWindow(m_display, m_stampWindow);
    XCloseDisplay(m_display);
}

bool X11Session::initKeyboard(std::string &error) {
    int opcode = 0, xkbError = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
    int testEvent = 0, testError = 0, testMajor = 0, testMinor = 0;
    if (!XkbQueryExtension(m_display, &opcode, &m_xkbEventBase, &xkbError, &major, &minor)) {
        error = "The X server has no XKB extension, which Quorvane needs to read the keyboard layout.";
        return false;
    }
    if (!XTestQueryExtension(m_display, &testEvent, &testError, &testMajor, &testMinor)) {
        error = "The X server has no XTEST extension, which Quorvane needs to type.";
        return false;
    }
    // Our keystrokes must also reach a window while another client grabs the server.
    XTestGrabControl(m_display, True);
    const unsigned long mapEvents = XkbMapNotifyMask | XkbNewKeyboardNotifyMask | XkbStateNotifyMask;
    XkbSelectEvents(m_display, XkbUseCoreKbd, mapEvents, mapEvents);
    // Only group and lock changes: the state of every pressed modifier would flood us while we type.
    XkbSelectEventDetails(m_display, XkbUseCoreKbd, XkbStateNotify, XkbAllStateComponentsMask,
                          XkbGroupStateMask | XkbModifierLockMask);
    XkbStateRec state{};
    XkbGetState(m_display, XkbUseCoreKbd, &state);
    m_group = state.group;
    m_capsLock = (state.locked_mods & LockMask) != 0;
    return true;
}

Atom X11Session::atom(const char *name) {
    auto found = m_atoms.find(name);
    if (found != m_atoms.end()) {
        return found->second;
    }
    Atom value = XInternAtom(m_display, name, False);
    m_atoms.emplace(name, value);
    return value;
}

void X11Session::processPendingEvents() {
    while (XPending(m_display) > 0) {
        XEvent event;
        XNextEvent(m_display, &event);
        handleEvent(event);
    }
}

void X11Session::handleEvent(XEvent &event) {
    if (event.type == m_xkbEventBase) {
        const auto &xkb = reinterpret_cast<XkbEvent &>(event);
        if (xkb.any.xkb_type == XkbStateNotify) {
            m_group = xkb.state.group;
            m_capsLock = (xkb.state.locked_mods & LockMask) != 0;
            m_lockChanges += (xkb.state.changed & XkbModifierLockMask) != 0 ? 1 : 0;
        } else {
            ++m_keymapGeneration;
        }
        return;
    }
    switch (event.type) {
    case MappingNotify:
        XRefreshKeyboardMapping(&event.xmapping);
        ++m_keymapGeneration;
        break;
    case PropertyNotify:
        if (event.xproperty.window == m_root && event.xproperty.atom == atom("_NET_ACTIVE_WINDOW")) {
            m_focusChanged = true;
        }
        break;
    case FocusIn:
    case FocusOut:
    case UnmapNotify:
    case DestroyNotify:
        m_focusChanged = true;
        break;
    default:
        break;
    }
}

void X11Session::watchWindow(Window window) { XSelectInput(m_display, window, FocusChangeMask | StructureNotifyMask); }

// A zero-length append to a property of our own window makes the server stamp a PropertyNotify with its time.
Time X11Session::serverTime() {
    Atom stamp = atom("_QUORVANE_TIME_STAMP");
    XChangeProperty(m_display, m_stampWindow, stamp, XA_STRING, 8, PropModeAppend, nullptr, 0);
    XEvent event;
    do {
        XWindowEvent(m_display, m_stampWindow, PropertyChangeMask, &event);
    } while (event.xproperty.atom != stamp);
    return event.xproperty.time;
}

void X11Session::grabServer() {
    if (!m_grabbed) {
        XGrabServer(m_display);
        m_grabbed = true;
        m_grabbedAt = std::chrono::steady_clock::now();
    }
}

void X11Session::releaseServer() {
    if (m_grabbed) {
        m_grabbed = false;
        XUngrabServer(m_display);
        XFlush(m_display);
    }
}

} // namespace quorvane::platform::x11

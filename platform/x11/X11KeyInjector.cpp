// Key records to XTest key events: named and layout keys by keycode, other characters through bound keys.
#include "platform/x11/X11KeyInjector.h"

#include "platform/x11/WindowProperties.h"
#include "platform/xkb/NamedKeysyms.h"

#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <chrono>
#include <thread>
#include <utility>
#include <vector>

namespace quorvane::platform::x11 {

using xkb::namedKeysym;

namespace {

constexpr std::chrono::milliseconds kLockReportDeadline{500};
// The longest the server grab covers a run of strings sent back to back: other clients (the terminal drawing
// what it received, the window manager) are held up no longer than this at a time.
constexpr std::chrono::milliseconds kLongestGrab{4};

// The key whose keysym a terminal turns into the control character when Ctrl is held (Xlib's rule:
// '@'..'~' masked to 5 bits, '2' is NUL, '3'..'7' are ESC..US, '8' is DEL).
KeySym controlBase(char32_t ch) {
    if (ch == 0) {
        return XK_2;
    }
    if (ch <= 26) {
        return XK_a + (ch - 1);
    }
    if (ch < 32) {
        return XK_3 + (ch - 27);
    }
    return XK_8;
}

} // namespace

// A wait for the terminal must not hold the grab: the terminal could not fetch the keymap meanwhile.
X11KeyInjector::X11KeyInjector(std::shared_ptr<X11Keyboard> keyboard) : m_keyboard(std::move(keyboard)) {
    m_keyboard->setBeforeWait([this] { pause(); });
}

X11KeyInjector::~X11KeyInjector() {
    finish();
    m_keyboard->setBeforeWait({});
}

void X11KeyInjector::restrictTo(std::optional<WindowId> window) {
    pause();
    m_restriction = window ? std::optional<Window>(static_cast<Window>(*window)) : std::nullopt;
}

void X11KeyInjector::pause() { m_keyboard->session().releaseServer(); }

// A window manager can move the focus between any check of ours and the server handling our keys; under
// the server grab nobody else's requests are handled, so the focus seen here holds until we release it. The
// grab outlives one string: strings sent back to back (no wait between them) share one grab and one check, up
// to a bound that keeps the rest of the desktop running.
bool X11KeyInjector::admitKeyDown() {
    X11Session &session = m_keyboard->session();
    if (!m_restriction) {
        return true;
    }
    if (session.serverGrabbed()) {
        if (session.grabAge() < kLongestGrab) {
            return true;
        }
        session.releaseServer();
    }
    session.grabServer();
    if (focusInRestriction()) {
        return true;
    }
    session.releaseServer();
    m_refusal = {InjectRefusal::Reason::FocusElsewhere, 0};
    return false;
}

bool X11KeyInjector::refuseNoKey(char32_t ch) {
    m_refusal = {InjectRefusal::Reason::NoKey, ch};
    return false;
}

bool X11KeyInjector::focusInRestriction() {
    Window focus = 0;
    int revert = 0;
    Display *display = m_keyboard->session().display();
    XGetInputFocus(display, &focus, &revert);
    const bool inside = focus == *m_restriction || (focus != None && focus != PointerRoot &&
                                                    containingClient(m_keyboard->session(), focus) == m_restriction);
    // The grab does not stop the server from destroying the window of a terminal whose process has died; the
    // focus would then revert to the pointer's window and take our keys there. Reverting to nothing drops them.
    if (inside && revert != RevertToNone) {
        XSetInputFocus(display, focus, RevertToNone, CurrentTime);
    }
    return inside;
}

std::size_t X11KeyInjector::inject(std::span<const KeyRecord> records) {
    std::size_t inserted = 0;
    m_capsLockTaps = 0;
    m_capsLockKeys = 0;
    m_lockChangesBefore = m_keyboard->session().lockChanges();
    // The first record that cannot be typed (a key this keyboard lacks) ends the block, so the caller knows
    // exactly which records went in and can release what they hold.
    for (const auto &record : records) {
        if (!(record.unicode() ? injectUnicode(record) : injectKey(record))) {
            break;
        }
        ++inserted;
    }
    noteSent();
    if (m_capsLockTaps > 0) {
        awaitLockChanges();
    } else {
        XFlush(m_keyboard->session().display());
    }
    return inserted;
}

// Later look-ups depend on Caps Lock: they must not see it half-way through our own taps (off between the
// two taps around a character, say), so the block ends once the server has reported every toggle.
void X11KeyInjector::awaitLockChanges() {
    X11Session &session = m_keyboard->session();
    const auto deadline = std::chrono::steady_clock::now() + kLockReportDeadline;
    XSync(session.display(), False);
    session.processPendingEvents();
    while (session.lockChanges() - m_lockChangesBefore < m_capsLockTaps &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        session.processPendingEvents();
    }
}

void X11KeyInjector::finish() {
    pause();
    while (!m_pressed.empty()) {
        fake(m_pressed.begin()->first, false);
    }
    noteSent();
    m_downForVk.clear();
    m_surrogates = {};
    m_keyboard->restoreBindings();
}

void X11KeyInjector::send(KeyCode keycode, bool down) {
    XTestFakeKeyEvent(m_keyboard->session().display(), keycode, down ? True : False, CurrentTime);
    ++m_unnoted;
}

void X11KeyInjector::noteSent() {
    m_keyboard->noteEvents(m_unnoted);
    m_unnoted = 0;
}

void X11KeyInjector::fake(KeyCode keycode, bool down) {
    send(keycode, down);
    if (!down) {
        m_pressed.erase(keycode);
    }
}

bool X11KeyInjector::injectKey(const KeyRecord &record) {
    if (record.keyUp()) {
        // The key that went down for this code, whatever flags its key-up carries.
        auto down = m_downForVk.find(record.vk);
        const KeyCode keycode =
            down != m_downForVk.end() ? down->second : m_keyboard->keycodeForVk(record.vk, record.extended());
        if (down != m_downForVk.end()) {
            m_downForVk.erase(down);
        }
        if (keycode == 0) {
            return refuseNoKey(0);
        }
        fake(keycode, false);
        return true;
    }
    const KeyCode keycode = m_keyboard->keycodeForVk(record.vk, record.extended());
    if (keycode == 0) {
        return refuseNoKey(0);
    }
    if (!admitKeyDown()) {
        return false;
    }
    fake(keycode, true);
    m_pressed[keycode] = record.vk;
    m_downForVk[record.vk] = keycode;
    if (record.vk == kVkCapsLock) {
        ++m_capsLockTaps;
        ++m_capsLockKeys;
    }
    return true;
}

// A Unicode press types its character at the key-down record; the key-up record completes it.
bool X11KeyInjector::injectUnicode(const KeyRecord &record) {
    if (record.keyUp()) {
        return true;
    }
    const std::optional<char32_t> ch = m_surrogates.take(record.scan);
    return !ch || typeCharacter(*ch);
}

bool X11KeyInjector::typeCharacter(char32_t ch) {
    if (ch < 32 || ch == 0x7F) {
        return typeControlCharacter(ch);
    }
    noteSent();
    const auto press = m_keyboard->keyForKeysym(keysymForCharacter(ch), capsLockNow());
    if (!press) {
        return refuseNoKey(ch);
    }
    if (!admitKeyDown()) {
        return false;
    }
    tap(*press, false);
    return true;
}

bool X11KeyInjector::typeControlCharacter(char32_t ch) {
    noteSent();
    const auto press = m_keyboard->keyForKeysym(controlBase(ch), capsLockNow());
    if (!press) {
        return refuseNoKey(ch);
    }
    if (!admitKeyDown()) {
        return false;
    }
    tap(*press, true);
    return true;
}

// Caps Lock as it will be when the server reaches the next event: a Caps Lock key earlier in this block has
// toggled it, though the server has not reported that yet.
bool X11KeyInjector::capsLockNow() const { return m_keyboard->capsLockOn() != (m_capsLockKeys % 2 == 1); }

bool X11KeyInjector::held(std::uint16_t vk, std::uint16_t left, std::uint16_t right) const {
    for (const auto &[keycode, pressedVk] : m_pressed) {
        if (pressedVk == vk || pressedVk == left || pressedVk == right) {
            return true;
        }
    }
    return false;
}

// One press and release of the key with Shift as asked (held Shift keys are let go and taken again), Ctrl
// when asked, and Caps Lock off when asked; whatever it changes is back as before afterwards.
void X11KeyInjector::tap(const TypingKey &key, bool control) {
    const KeyCode keycode = key.keycode;
    const std::optional<bool> shift = key.shift;
    std::vector<KeyCode> lifted;
    KeyCode addedShift = 0, addedControl = 0;
    const bool shiftHeld = held(kVkShift, kVkLeftShift, kVkRightShift);
    if (shift && *shift && !shiftHeld) {
        addedShift = m_keyboard->keycodeForVk(kVkShift, false);
    } else if (shift && !*shift && shiftHeld) {
        for (const auto &[code, vk] : m_pressed) {
            if (vk == kVkShift || vk == kVkLeftShift || vk == kVkRightShift) {
                lifted.push_back(code);
            }
        }
    }
    if (control && !held(kVkControl, kVkLeftControl, kVkRightControl)) {
        addedControl = m_keyboard->keycodeForVk(kVkControl, false);
    }
    if (key.capsLockOff) {
        tapCapsLock();
    }
    for (KeyCode code : lifted) {
        send(code, false);
    }
    for (KeyCode code : {addedShift, addedControl, keycode}) {
        if (code != 0) {
            send(code, true);
        }
    }
    for (KeyCode code : {keycode, addedControl, addedShift}) {
        if (code != 0) {
            send(code, false);
        }
    }
    for (KeyCode code : lifted) {
        send(code, true);
    }
    if (key.capsLockOff) {
        tapCapsLock();
    }
}

// Caps Lock goes through the same event stream as the keys, so the toggle is ordered with them.
void X11KeyInjector::tapCapsLock() {
    const KeyCode capsLock = m_keyboard->keycodeForVk(kVkCapsLock, false);
    if (capsLock != 0) {
        send(capsLock, true);
        send(capsLock, false);
        ++m_capsLockTaps;
    }
}

} // namespace quorvane::platform::x11

// The project's protocol descriptions against sway: each request that the compositor acts on, and each event it
// sends, checked by what arrives and in which order. A request or event at the wrong place in the description
// reaches the wrong handler here, or makes the compositor end the connection.
#include <gtest/gtest.h>

#include "foreign-toplevel-management-v3-client.h"
#include "platform/wayland/VirtualKeymap.h"
#include "tests/support/PollUntil.h"
#include "tests/support/SwaySession.h"
#include "virtual-keyboard-v1-client.h"

#include <cstring>
#include <functional>
#include <set>
#include <sys/mman.h>
#include <thread>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon-keysyms.h>

namespace quorvane::test {
namespace {

using namespace std::chrono_literals;

// One client of the compositor that writes down every foreign-toplevel event, as "event argument".
struct Recorder {
    wl_display *display = nullptr;
    wl_seat *seat = nullptr;
    std::vector<wl_output *> outputs; // in the order announced: output 1, output 2
    zwlr_foreign_toplevel_manager_v1 *manager = nullptr;
    zwp_virtual_keyboard_manager_v1 *keyboards = nullptr;
    std::vector<std::pair<zwlr_foreign_toplevel_handle_v1 *, std::string>> events;
    std::set<zwlr_foreign_toplevel_handle_v1 *> live;

    void note(zwlr_foreign_toplevel_handle_v1 *handle, std::string event) { events.emplace_back(handle, event); }
    std::string outputName(wl_output *output) const {
        const auto found = std::find(outputs.begin(), outputs.end(), output);
        return found == outputs.end() ? "unknown" : std::to_string(found - outputs.begin() + 1);
    }
    // The events of the window titled `title`, in order, from the first on.
    std::vector<std::string> of(const std::string &title) const {
        zwlr_foreign_toplevel_handle_v1 *handle = nullptr;
        for (const auto &[h, event] : events) {
            handle = event == "title " + title ? h : handle;
        }
        std::vector<std::string> result;
        for (const auto &[h, event] : events) {
            if (h == handle && handle != nullptr) {
                result.push_back(event);
            }
        }
        return result;
    }
    zwlr_foreign_toplevel_handle_v1 *handleOf(const std::string &title) const {
        for (const auto &[h, event] : events) {
            if (event == "title " + title) {
                return h;
            }
        }
        return nullptr;
    }
};

Recorder &recorderOf(void *data) { return *static_cast<Recorder *>(data); }

void onTitle(void *data, zwlr_foreign_toplevel_handle_v1 *handle, const char *title) {
    recorderOf(data).note(handle, std::string("title ") + title);
}
void onAppId(void *data, zwlr_foreign_toplevel_handle_v1 *handle, const char *appId) {
    recorderOf(data).note(handle, std::string("app_id ") + appId);
}
void onOutputEnter(void *data, zwlr_foreign_toplevel_handle_v1 *handle, wl_output *output) {
    recorderOf(data).note(handle, "output_enter " + recorderOf(data).outputName(output));
}
void onOutputLeave(void *data, zwlr_foreign_toplevel_handle_v1 *handle, wl_output *output) {
    recorderOf(data).note(handle, "output_leave " + recorderOf(data).outputName(output));
}
void onState(void *data, zwlr_foreign_toplevel_handle_v1 *handle, wl_array *states) {
    static const char *const kNames[] = {"maximized", "minimized", "activated", "fullscreen"};
    std::string text = "state";
    const auto *values = static_cast<const std::uint32_t *>(states->data);
    for (std::size_t i = 0; i < states->size / sizeof(std::uint32_t); ++i) {
        text += std::string(" ") + (values[i] < 4 ? kNames[values[i]] : "unknown");
    }
    recorderOf(data).note(handle, text);
}
void onDone(void *data, zwlr_foreign_toplevel_handle_v1 *handle) { recorderOf(data).note(handle, "done"); }
void onClosed(void *data, zwlr_foreign_toplevel_handle_v1 *handle) { recorderOf(data).note(handle, "closed"); }
void onParent(void *data, zwlr_foreign_toplevel_handle_v1 *handle, zwlr_foreign_toplevel_handle_v1 *parent) {
    recorderOf(data).note(handle, parent != nullptr ? "parent" : "parent none");
}

void onToplevel(void *data, zwlr_foreign_toplevel_manager_v1 *, zwlr_foreign_toplevel_handle_v1 *handle) {
    static const zwlr_foreign_toplevel_handle_v1_listener listener = {
        &onTitle, &onAppId, &onOutputEnter, &onOutputLeave, &onState, &onDone, &onClosed, &onParent};
    zwlr_foreign_toplevel_handle_v1_add_listener(handle, &listener, data);
    recorderOf(data).note(handle, "toplevel");
    recorderOf(data).live.insert(handle);
}
void onFinished(void *data, zwlr_foreign_toplevel_manager_v1 *) { recorderOf(data).note(nullptr, "finished"); }

void onGlobal(void *data, wl_registry *registry, std::uint32_t name, const char *interface, std::uint32_t version) {
    Recorder &recorder = recorderOf(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && recorder.seat == nullptr) {
        recorder.seat = static_cast<wl_seat *>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    } else if (std::strcmp(interface, wl_output_interface.name) == 0) {
        recorder.outputs.push_back(static_cast<wl_output *>(wl_registry_bind(registry, name, &wl_output_interface, 1)));
    } else if (std::strcmp(interface, zwlr_foreign_toplevel_manager_v1_interface.name) == 0) {
        static const zwlr_foreign_toplevel_manager_v1_listener listener = {&onToplevel, &onFinished};
        recorder.manager = static_cast<zwlr_foreign_toplevel_manager_v1 *>(
            wl_registry_bind(registry, name, &zwlr_foreign_toplevel_manager_v1_interface, std::min(version, 3u)));
        zwlr_foreign_toplevel_manager_v1_add_listener(recorder.manager, &listener, data);
    } else if (std::strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0) {
        recorder.keyboards = static_cast<zwp_virtual_keyboard_manager_v1 *>(
            wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1));
    }
}
void ignoreGlobalRemove(void *, wl_registry *, std::uint32_t) {}

class ProtocolOpcodeTest : public testing::Test {
protected:
    void SetUp() override {
        std::string error;
        m_session = SwaySession::start(error);
        ASSERT_TRUE(m_session) << error;
        m_session->enter();
        m_recorder.display = wl_display_connect(nullptr);
        ASSERT_NE(m_recorder.display, nullptr);
        static const wl_registry_listener listener = {&onGlobal, &ignoreGlobalRemove};
        m_registry = wl_display_get_registry(m_recorder.display);
        wl_registry_add_listener(m_registry, &listener, &m_recorder);
        ASSERT_TRUE(roundtrip() && roundtrip());
        ASSERT_TRUE(m_recorder.seat && m_recorder.manager && m_recorder.keyboards && m_recorder.outputs.size() == 1);
    }
    void TearDown() override {
        if (m_recorder.display == nullptr) {
            return;
        }
        for (zwlr_foreign_toplevel_handle_v1 *handle : m_recorder.live) {
            zwlr_foreign_toplevel_handle_v1_destroy(handle);
        }
        for (wl_output *output : m_recorder.outputs) {
            wl_output_destroy(output);
        }
        if (m_recorder.manager != nullptr) {
            zwlr_foreign_toplevel_manager_v1_destroy(m_recorder.manager);
        }
        if (m_recorder.keyboards != nullptr) {
            zwp_virtual_keyboard_manager_v1_destroy(m_recorder.keyboards);
        }
        if (m_recorder.seat != nullptr) {
            wl_seat_destroy(m_recorder.seat);
        }
        wl_registry_destroy(m_registry);
        wl_display_disconnect(m_recorder.display);
    }

    bool roundtrip() { return wl_display_roundtrip(m_recorder.display) >= 0; }
    // The window's events after the first `from`, once they number `count` (or the time is up).
    std::vector<std::string> awaitEvents(const std::string &title, std::size_t from, std::size_t count) {
        std::vector<std::string> after;
        pollUntil(
            [&] {
                roundtrip();
                const auto all = m_recorder.of(title);
                after.assign(all.begin() + static_cast<std::ptrdiff_t>(std::min(from, all.size())), all.end());
                return after.size() >= count;
            },
            10s);
        return after;
    }
    bool hasEvent(const std::string &title, const std::string &event) {
        const auto events = m_recorder.of(title);
        return std::find(events.begin(), events.end(), event) != events.end();
    }

    std::unique_ptr<SwaySession> m_session;
    Recorder m_recorder;
    wl_registry *m_registry = nullptr;
};

TEST_F(ProtocolOpcodeTest, EveryToplevelRequestAndEventArrivesInItsPlace) {
    const std::string title = "Opcode probe";
    std::string error;
    auto probe = FootCapture::start(*m_session, title, error);
    ASSERT_TRUE(probe) << error;
    // Announced: the title, the application id, the output once the window is placed, and active as it maps.
    for (const std::string &event :
         std::vector<std::string>{"title " + title, "app_id foot", "output_enter 1", "state activated"}) {
        EXPECT_TRUE(pollUntil(
            [&] {
                roundtrip();
                return hasEvent(title, event);
            },
            10s))
            << event;
    }
    EXPECT_FALSE(hasEvent(title, "parent")) << "a terminal has no parent window";
    auto other = FootCapture::start(*m_session, "Opcode other", error);
    ASSERT_TRUE(other) << error;
    zwlr_foreign_toplevel_handle_v1 *handle = m_recorder.handleOf(title);
    ASSERT_NE(handle, nullptr);
    awaitEvents(title, 0, m_recorder.of(title).size() + 2); // the other window took the focus: "state", "done"
    ASSERT_EQ(m_recorder.of(title).back(), "done");

    struct Step {
        const char *name;
        std::function<void()> request;
        std::vector<std::string> expected; // the window's events that follow, in order
    };
    const std::vector<Step> steps = {
        {"activate",
         [&] { zwlr_foreign_toplevel_handle_v1_activate(handle, m_recorder.seat); },
         {"state activated", "done"}},
        {"set_fullscreen",
         [&] { zwlr_foreign_toplevel_handle_v1_set_fullscreen(handle, nullptr); },
         {"state activated fullscreen", "done"}},
        {"unset_fullscreen",
         [&] { zwlr_foreign_toplevel_handle_v1_unset_fullscreen(handle); },
         {"state activated", "done"}},
        // The focus stays on the first output's workspace: the window is no longer active there.
        {"moved to a second output",
         [&] {
             EXPECT_EQ(m_session->swaymsg({"create_output"}), 0);
             roundtrip();
             EXPECT_EQ(
                 m_session->swaymsg({"[title=\"^" + title + "$\"]", "move", "container", "to", "output", "HEADLESS-2"}),
                 0);
         },
         {"state", "done", "output_leave 1", "output_enter 2", "done"}},
        {"close", [&] { zwlr_foreign_toplevel_handle_v1_close(handle); }, {"closed"}},
    };
    for (const Step &step : steps) {
        const std::size_t before = m_recorder.of(title).size();
        step.request();
        EXPECT_EQ(awaitEvents(title, before, step.expected.size()), step.expected) << step.name;
    }
    m_recorder.live.erase(handle);
    zwlr_foreign_toplevel_handle_v1_destroy(handle);

    zwlr_foreign_toplevel_manager_v1_stop(m_recorder.manager);
    EXPECT_TRUE(pollUntil(
        [&] {
            roundtrip();
            return !m_recorder.events.empty() && m_recorder.events.back().second == "finished";
        },
        5s));
}

// The keymap makes a key type its character, the key request presses it, and the modifiers request holds Ctrl.
TEST_F(ProtocolOpcodeTest, TheVirtualKeyboardsRequestsTypeWhatTheySay) {
    std::string error;
    auto terminal = FootCapture::start(*m_session, "Keyboard probe", error);
    ASSERT_TRUE(terminal) << error;
    zwp_virtual_keyboard_v1 *keyboard =
        zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(m_recorder.keyboards, m_recorder.seat);
    platform::wayland::VirtualKeymap keymap;
    const auto keycode = keymap.keycodeForKeysym(XKB_KEY_c);
    ASSERT_TRUE(keycode);
    const std::string text = keymap.text();
    const int fd = memfd_create("opcode-keymap", MFD_CLOEXEC);
    ASSERT_EQ(write(fd, text.c_str(), text.size() + 1), static_cast<ssize_t>(text.size() + 1));
    zwp_virtual_keyboard_v1_keymap(keyboard, 1, fd, static_cast<std::uint32_t>(text.size() + 1));
    close(fd);
    ASSERT_TRUE(roundtrip());
    std::this_thread::sleep_for(100ms); // a keyboard only moments old loses its first key

    const struct {
        std::uint32_t modifiers;
        const char *bytes;
    } cases[] = {{0, "c"}, {platform::wayland::VirtualKeymap::kControlMask, "\x03"}, {0, "c"}};
    for (const auto &c : cases) {
        zwp_virtual_keyboard_v1_modifiers(keyboard, c.modifiers, 0, 0, 0);
        zwp_virtual_keyboard_v1_key(keyboard, 0, *keycode - 8, 1);
        zwp_virtual_keyboard_v1_key(keyboard, 0, *keycode - 8, 0);
        ASSERT_TRUE(roundtrip());
        EXPECT_EQ(terminal->capture.take(1), c.bytes) << c.modifiers;
    }
    zwp_virtual_keyboard_v1_destroy(keyboard);
    EXPECT_TRUE(roundtrip()) << "the compositor ended the connection";
}

} // namespace
} // namespace quorvane::test

// The Wayland backend opened on a test compositor, with the synthesiser that drives it.
#include "tests/wayland/WaylandTestBackend.h"

#include "engine/CharacterKeys.h"
#include "platform/wayland/WaylandBackend.h"
#include "tests/support/PollUntil.h"

namespace quorvane::test {

WaylandTestBackend WaylandTestBackend::open(SwaySession &session, std::string &error) {
    session.enter();
    WaylandTestBackend result;
    auto connection = platform::wayland::WaylandSession::open(error);
    if (!connection) {
        return result;
    }
    if (!connection->offersProtocols()) {
        error = "sway offers neither foreign-toplevel management nor virtual keyboards";
        return result;
    }
    result.backend = platform::wayland::openWaylandBackend(connection, error);
    if (result.backend.layout && result.backend.injector) {
        result.sendKeys = std::make_unique<keys::KeySequenceTyper>(*result.backend.layout, *result.backend.injector);
    }
    return result;
}

std::optional<platform::WindowId> WaylandTestBackend::windowTitled(const std::string &title,
                                                                   std::chrono::milliseconds timeout) {
    std::optional<platform::WindowId> found;
    pollUntil(
        [&] {
            for (const auto &window : backend.desktop->topLevelWindows()) {
                if (window.title == title) {
                    found = window.id;
                }
            }
            return found.has_value();
        },
        timeout);
    return found;
}

void WaylandTestBackend::typeText(const std::string &text) {
    for (const auto &sequence : engine::keySequencesForUtf8(text)) {
        sendKeys->SendKeySequence(sequence);
    }
    backend.injector->finish();
}

} // namespace quorvane::test

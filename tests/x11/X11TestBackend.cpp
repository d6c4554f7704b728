// The X11 backend opened on a test session's display, with the synthesiser that drives it.
#include "tests/x11/X11TestBackend.h"

#include "engine/CharacterKeys.h"

#include <cstdlib>

namespace quorvane::test {

X11TestBackend X11TestBackend::open(XSession &session, std::string &error) {
    setenv("DISPLAY", session.displayName().c_str(), 1);
    X11TestBackend result;
    result.backend = platform::x11::openX11Backend(error);
    if (result.backend.layout && result.backend.injector) {
        result.sendKeys = std::make_unique<keys::KeySequenceTyper>(*result.backend.layout, *result.backend.injector);
    }
    return result;
}

void X11TestBackend::typeText(const std::string &text) {
    for (const auto &sequence : engine::keySequencesForUtf8(text)) {
        sendKeys->SendKeySequence(sequence);
    }
    backend.injector->finish();
}

} // namespace quorvane::test

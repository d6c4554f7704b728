// The whole fake platform in one bundle, as the engine reaches it, for every suite and benchmark on fakes.
#pragma once

#include "engine/SendDriver.h"
#include "platform/fake/CapturedDialogs.h"
#include "platform/fake/FakeDesktop.h"
#include "platform/fake/FakeEventPump.h"
#include "platform/fake/FakeKeyboardLayout.h"
#include "platform/fake/FakeTimer.h"
#include "platform/fake/ManualClock.h"
#include "platform/fake/RecordingInjector.h"
#include "platform/fake/Transcript.h"

#include <string>

namespace quorvane::test {

// With a transcript, the timer, the pump, the desktop, the injector and the dialogs record into it in order.
struct FakePlatform {
    explicit FakePlatform(platform::Transcript *transcript = nullptr)
        : timer(clock, transcript), pump(clock, timer, transcript), desktop(transcript), injector(transcript),
          dialogs(transcript) {}

    engine::EngineServices services() { return services(dialogs); }
    // The same with the messages going to `messages` instead of the captured dialogs.
    engine::EngineServices services(platform::Dialogs &messages) {
        return {desktop, layout, injector, pump, timer, clock, messages};
    }

    // The characters that the injected key presses type on the US layout: digits, letters (Shift for capitals),
    // space and carriage return; any other key reads as "?".
    std::string typedText() const;

    platform::ManualClock clock;
    platform::FakeTimer timer;
    platform::FakeEventPump pump;
    platform::FakeDesktop desktop;
    platform::FakeKeyboardLayout layout;
    platform::RecordingInjector injector;
    platform::CapturedDialogs dialogs;
};

} // namespace quorvane::test

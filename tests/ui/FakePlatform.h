// The fake platform in one place for the window and command-line tests, and a reading of what was typed.
#pragma once

#include "engine/SendDriver.h"
#include "platform/VirtualKeys.h"
#include "platform/fake/CapturedDialogs.h"
#include "platform/fake/FakeDesktop.h"
#include "platform/fake/FakeEventPump.h"
#include "platform/fake/FakeKeyboardLayout.h"
#include "platform/fake/FakeTimer.h"
#include "platform/fake/ManualClock.h"
#include "platform/fake/RecordingInjector.h"
#include "ui/SendCommand.h"

#include <string>

namespace quorvane::ui::test {

struct FakePlatform {
    platform::ManualClock clock;
    platform::FakeTimer timer{clock};
    platform::FakeEventPump pump{clock, timer};
    platform::FakeDesktop desktop;
    platform::FakeKeyboardLayout layout;
    platform::RecordingInjector injector;
    platform::CapturedDialogs dialogs;

    engine::EngineServices engineServices() { return engineServices(dialogs); }
    engine::EngineServices engineServices(platform::Dialogs &messages) {
        return {desktop, layout, injector, pump, timer, clock, messages};
    }

    // The characters that the injected key presses type on a US layout: digits, letters (Shift for capitals),
    // space and carriage return; any other key reads as "?".
    std::string typedText() const {
        std::string text;
        bool shift = false;
        for (const platform::KeyRecord &record : injector.records()) {
            if (record.vk == platform::kVkShift || record.vk == platform::kVkLeftShift ||
                record.vk == platform::kVkRightShift) {
                shift = !record.keyUp();
                continue;
            }
            if (record.keyUp()) {
                continue;
            }
            if (record.vk >= '0' && record.vk <= '9') {
                text += static_cast<char>(record.vk);
            } else if (record.vk >= 'A' && record.vk <= 'Z') {
                text += static_cast<char>(shift ? record.vk : record.vk - 'A' + 'a');
            } else if (record.vk == platform::kVkSpace) {
                text += ' ';
            } else if (record.vk == platform::kVkReturn) {
                text += '\r';
            } else {
                text += '?';
            }
        }
        return text;
    }
};

} // namespace quorvane::ui::test

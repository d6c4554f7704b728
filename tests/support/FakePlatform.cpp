// The whole fake platform in one bundle, and a reading of what its injector typed.
#include "tests/support/FakePlatform.h"

#include "platform/VirtualKeys.h"

namespace quorvane::test {

std::string FakePlatform::typedText() const {
    std::string text;
    bool shift = false;
    for (const platform::KeyRecord &record : injector.records()) {
        if (record.vk == platform::kVkShift || record.vk == platform::kVkLeftShift ||
            record.vk == platform::kVkRightShift) {
            shift = !record.keyUp();
        } else if (record.keyUp()) {
            continue;
        } else if (record.vk >= '0' && record.vk <= '9') {
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

} // namespace quorvane::test

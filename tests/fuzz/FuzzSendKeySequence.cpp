// libFuzzer target: any key-sequence string, Caps Lock state and injector refusal keeps the sequence rules.
#include "SequenceInvariants.h"
#include "keys/KeySequenceTyper.h"
#include "platform/fake/FakeKeyboardLayout.h"
#include "platform/fake/RecordingInjector.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace quorvane;

namespace {

// Byte 0: bit 0 Caps Lock, bit 1 the injector takes only the first (byte 1) records. Then one code unit per
// byte, except that 0xFF introduces an arbitrary code unit in the next two bytes (little-endian).
std::u16string decodeKeys(const std::uint8_t *data, std::size_t size) {
    std::u16string keys;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0xFF && i + 2 < size) {
            keys.push_back(static_cast<char16_t>(data[i + 1] | (data[i + 2] << 8)));
            i += 2;
        } else {
            keys.push_back(static_cast<char16_t>(data[i]));
        }
    }
    return keys;
}

void fail(const std::string &what) {
    std::fprintf(stderr, "sequence rule broken: %s\n", what.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    // One synthesiser for the whole run, as in the program, so state left over by one input shows in the next.
    static platform::FakeKeyboardLayout layout;
    static platform::RecordingInjector injector;
    static keys::KeySequenceTyper synthesiser(layout, injector);

    injector.clear();
    layout.setCapsLock((data[0] & 1) != 0);
    const bool refuses = (data[0] & 2) != 0;
    if (refuses) {
        injector.acceptOnlyNext(data[1]);
    }
    const std::u16string keys = decodeKeys(data + 2, size - 2);

    const bool complete = synthesiser.SendKeySequence(keys);

    if (synthesiser.ShiftHeld()) {
        fail("ShiftHeld is set after the call");
    }
    const auto &batches = injector.batches();
    if (batches.size() > 2 || (!refuses && batches.size() > 1)) {
        fail("more injection calls than one per string, plus one for releases");
    }
    if (!batches.empty() && batches.front().empty() && !refuses) {
        fail("an injection call with no record");
    }
    if (!refuses && !complete) {
        fail("a string taken whole reported as refused");
    }
    if (batches.size() == 2 && complete) {
        fail("a string cut short reported as typed whole");
    }
    const std::string fault = keys::findSequenceFault(injector.records(), keys, layout);
    if (!fault.empty()) {
        fail(fault);
    }
    return 0;
}

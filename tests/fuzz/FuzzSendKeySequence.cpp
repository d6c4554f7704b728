// libFuzzer target: any key-sequence string, Caps Lock state and injector refusal keeps the sequence rules.
#include "SequenceInvariants.h"
#include "keys/KeySequenceTyper.h"
#include "platform/KeyInjector.h"
#include "platform/fake/FakeKeyboardLayout.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

using namespace quorvane;

namespace {

// Byte 0: bit 0 Caps Lock, bit 1 the injector takes only the first (byte 1) records. Then one code unit per
// byte, except that 0xFF introduces an arbitrary code unit in the next two bytes (little-endian).
void decodeKeys(const std::uint8_t *data, std::size_t size, std::u16string &keys) {
    keys.clear();
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0xFF && i + 2 < size) {
            keys.push_back(static_cast<char16_t>(data[i + 1] | (data[i + 2] << 8)));
            i += 2;
        } else {
            keys.push_back(static_cast<char16_t>(data[i]));
        }
    }
}

// Takes records as the recording injector does (all, or the first few when told), checks them as they come and
// keeps none: braced repeat counts give 20,000 records in one string, which need not be copied to be checked.
class CheckingInjector final : public platform::KeyInjector {
public:
    explicit CheckingInjector(keys::SequenceChecker &checker) : m_checker(checker) {}

    void start(std::optional<std::size_t> acceptOnly) {
        m_acceptOnly = acceptOnly;
        m_batches = 0;
        m_firstBatchEmpty = false;
    }
    std::size_t inject(std::span<const platform::KeyRecord> records) override {
        const std::size_t taken = std::min(records.size(), m_acceptOnly.value_or(records.size()));
        m_acceptOnly.reset();
        m_firstBatchEmpty = m_firstBatchEmpty || (m_batches == 0 && taken == 0);
        ++m_batches;
        m_checker.check(records.first(taken));
        return taken;
    }
    void finish() override {}

    int batches() const { return m_batches; }
    bool firstBatchEmpty() const { return m_firstBatchEmpty; }

private:
    keys::SequenceChecker &m_checker;
    std::optional<std::size_t> m_acceptOnly;
    int m_batches = 0;
    bool m_firstBatchEmpty = false;
};

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
    static keys::SequenceChecker checker;
    static CheckingInjector injector(checker);
    static keys::KeySequenceTyper synthesiser(layout, injector);
    static std::u16string keys;

    layout.setCapsLock((data[0] & 1) != 0);
    const bool refuses = (data[0] & 2) != 0;
    injector.start(refuses ? std::optional<std::size_t>(data[1]) : std::nullopt);
    decodeKeys(data + 2, size - 2, keys);
    checker.begin(keys, layout);

    const bool complete = synthesiser.SendKeySequence(keys);

    if (synthesiser.ShiftHeld()) {
        fail("ShiftHeld is set after the call");
    }
    if (injector.batches() > 2 || (!refuses && injector.batches() > 1)) {
        fail("more injection calls than one per string, plus one for releases");
    }
    if (injector.firstBatchEmpty() && !refuses) {
        fail("an injection call with no record");
    }
    if (!refuses && !complete) {
        fail("a string taken whole reported as refused");
    }
    if (injector.batches() == 2 && complete) {
        fail("a string cut short reported as typed whole");
    }
    if (const std::string fault = checker.finish(); !fault.empty()) {
        fail(fault);
    }
    return 0;
}

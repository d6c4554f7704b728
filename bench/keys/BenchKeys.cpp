// Prints how many key-sequence strings per processor second the synthesiser handles, injecting into nothing.
#include "keys/KeySequenceTyper.h"
#include "platform/fake/FakeKeyboardLayout.h"
#include "platform/fake/RecordingInjector.h"

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

using namespace quorvane;

namespace {

// Processor time of this process: on a shared machine, wall time would measure the other processes too.
double cpuSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

// Calls SendKeySequence over `strings` round after round for about `seconds`; returns strings per second.
double stringsPerSecond(keys::KeySequenceTyper &synthesiser, const std::vector<std::u16string> &strings,
                        double seconds) {
    std::size_t calls = 0;
    const double start = cpuSeconds();
    double elapsed = 0;
    while (elapsed < seconds) {
        for (int round = 0; round < 1000; ++round) {
            for (const std::u16string &keys : strings) {
                synthesiser.SendKeySequence(keys);
            }
        }
        calls += 1000 * strings.size();
        elapsed = cpuSeconds() - start;
    }
    return static_cast<double>(calls) / elapsed;
}

// The least any synthesiser must do per one-character string: ask the layout and inject two records.
double baselinePerSecond(platform::KeyboardLayout &layout, platform::KeyInjector &injector,
                         const std::vector<std::u16string> &strings, double seconds) {
    std::size_t calls = 0;
    const double start = cpuSeconds();
    double elapsed = 0;
    while (elapsed < seconds) {
        for (int round = 0; round < 1000; ++round) {
            for (const std::u16string &keys : strings) {
                layout.refresh();
                const auto key = layout.keyForCharacter(keys[0]);
                const std::uint16_t vk = key ? key->vk : 0;
                const std::uint16_t scan = layout.scanCode(vk);
                const platform::KeyRecord press[2] = {{vk, scan, 0}, {vk, scan, platform::kKeyUp}};
                injector.inject(press);
            }
        }
        calls += 1000 * strings.size();
        elapsed = cpuSeconds() - start;
    }
    return static_cast<double>(calls) / elapsed;
}

} // namespace

int main() {
    platform::FakeKeyboardLayout layout;
    platform::DiscardingInjector injector;
    keys::KeySequenceTyper synthesiser(layout, injector);

    // What a hex dump or text transfer sends: one character per call, letters, digits, space, CR.
    std::vector<std::u16string> oneCharacter;
    for (char16_t c : std::u16string_view(u"0123456789ABCDEFabcdef \r")) {
        oneCharacter.emplace_back(1, c);
    }
    const std::vector<std::u16string> memoryCommand{u"IM "};

    stringsPerSecond(synthesiser, oneCharacter, 0.2); // warm up caches and clocks
    const double single = stringsPerSecond(synthesiser, oneCharacter, 1.0);
    const double command = stringsPerSecond(synthesiser, memoryCommand, 1.0);
    // Reached through a pointer the compiler cannot see through, so the calls stay virtual as in the synthesiser.
    platform::KeyboardLayout *volatile opaqueLayout = &layout;
    platform::KeyInjector *volatile opaqueInjector = &injector;
    const double baseline = baselinePerSecond(*opaqueLayout, *opaqueInjector, oneCharacter, 1.0);
    std::printf("one-character strings: %.2f million/s (target 5)\n", single / 1e6);
    std::printf("look-up and inject only: %.2f million/s (one-character strings at %.0f%% of it)\n", baseline / 1e6,
                100 * single / baseline);
    std::printf("\"IM \" strings:         %.2f million/s\n", command / 1e6);
    std::printf("records discarded:     %zu\n", injector.recordCount());
    return single > 0 && command > 0 ? 0 : 1;
}

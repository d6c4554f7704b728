// Prints how many key-sequence strings per second the synthesiser handles with an injector that discards.
#include "keys/SendKeys_Replacement.h"
#include "platform/fake/FakeKeyboardLayout.h"
#include "platform/fake/RecordingInjector.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

using namespace quorvane;

namespace {

using Clock = std::chrono::steady_clock;

// Calls SendKeySequence over `strings` round after round for about `seconds`; returns strings per second.
double stringsPerSecond(keys::SendKeys_Replacement &synthesiser, const std::vector<std::u16string> &strings,
                        double seconds) {
    std::size_t calls = 0;
    const Clock::time_point start = Clock::now();
    double elapsed = 0;
    while (elapsed < seconds) {
        for (int round = 0; round < 1000; ++round) {
            for (const std::u16string &keys : strings)
                synthesiser.SendKeySequence(keys);
        }
        calls += 1000 * strings.size();
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    }
    return static_cast<double>(calls) / elapsed;
}

} // namespace

int main() {
    platform::FakeKeyboardLayout layout;
    platform::DiscardingInjector injector;
    keys::SendKeys_Replacement synthesiser(layout, injector);

    // What a hex dump or text transfer sends: one character per call, letters, digits, space, CR.
    std::vector<std::u16string> oneCharacter;
    for (char16_t c : std::u16string_view(u"0123456789ABCDEFabcdef \r"))
        oneCharacter.emplace_back(1, c);
    const std::vector<std::u16string> memoryCommand{u"IM "};

    stringsPerSecond(synthesiser, oneCharacter, 0.2); // warm up caches and clocks
    const double single = stringsPerSecond(synthesiser, oneCharacter, 2.0);
    const double command = stringsPerSecond(synthesiser, memoryCommand, 2.0);
    std::printf("one-character strings: %.2f million/s (target 5)\n", single / 1e6);
    std::printf("\"IM \" strings:         %.2f million/s\n", command / 1e6);
    std::printf("records discarded:     %zu\n", injector.recordCount());
    return single > 0 && command > 0 ? 0 : 1;
}

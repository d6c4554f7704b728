// Takes the simulator's own control bytes out of the received stream: the quit sequence and the dump key.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quorvane::boardsim {

class InputFilter {
public:
    struct Result {
        std::string release; // bytes that go on to the board
        bool quit = false;
        bool dump = false;
    };

    InputFilter(std::string quitSequence, std::optional<std::uint8_t> dumpKey);

    // Bytes that could begin the quit sequence are held back until they match or cannot.
    Result feed(std::uint8_t byte);

private:
    std::string m_quitSequence;
    std::optional<std::uint8_t> m_dumpKey;
    std::string m_held;
};

} // namespace quorvane::boardsim

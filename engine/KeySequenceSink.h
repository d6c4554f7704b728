// Where the engine's key-sequence strings go: the keystroke synthesiser, or a recorder in tests.
#pragma once

#include <string_view>

namespace quorvane::engine {

class KeySequenceSink {
public:
    virtual ~KeySequenceSink() = default;
    // True when every keystroke of `keys` went in; false when the injector refused part of them.
    virtual bool SendKeySequence(std::u16string_view keys) = 0;
};

} // namespace quorvane::engine

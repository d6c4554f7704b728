// The window's controls as plain values, for engine, ui and Win32 tests and the benchmarks.
#include "tests/support/FakeHost.h"

namespace quorvane::test {

void FakeHost::setStopVisible(bool visible) {
    stopShown = visible;
    note(visible ? "STOP! shown" : "STOP! hidden");
}

void FakeHost::endProgram() {
    ended = true;
    note("end program");
}

void FakeHost::clickStop() {
    stopShown = false;
    note("STOP! clicked");
}

void FakeHost::select(const std::filesystem::path &file) {
    folder = file.parent_path().string();
    selected = file.filename().string();
}

void FakeHost::note(std::string entry) {
    if (m_transcript != nullptr) {
        m_transcript->add(std::move(entry));
    }
}

} // namespace quorvane::test

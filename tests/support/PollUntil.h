// Waiting for a condition in tests without fixed sleeps: poll it until it holds or a deadline passes.
#pragma once

#include <chrono>
#include <thread>

namespace quorvane::test {

template <typename Predicate> bool pollUntil(Predicate ready, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!ready()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

} // namespace quorvane::test

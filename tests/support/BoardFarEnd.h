// The simulated board (tools/boardsim's Board) on the far end of the fake serial line, on the manual clock;
// users link quorvane_boardsim.
#pragma once

#include "Board.h"
#include "platform/fake/FakeSerialLine.h"

namespace quorvane::test {

class BoardFarEnd : public platform::FakeSerialLine::FarEnd {
public:
    using TimePoint = platform::Clock::TimePoint;

    // A `silent` far end takes every byte and never answers, as a board that is switched off.
    BoardFarEnd(const boardsim::BoardConfig &config, bool silent = false) : m_board(config), m_silent(silent) {
        m_board.start();
    }

    void receive(std::uint8_t byte, TimePoint at) override {
        if (!m_silent) {
            m_board.receive(byte, micros(at));
        }
    }
    std::string output(TimePoint now) override {
        m_board.advanceTo(micros(now));
        return m_silent ? std::string() : m_board.takeOutput();
    }
    std::optional<TimePoint> nextEvent() override {
        const auto next = m_board.nextDeadline();
        if (!next || m_silent) {
            return std::nullopt;
        }
        return TimePoint{} + std::chrono::microseconds(*next);
    }
    boardsim::Board &board() { return m_board; }

    // The board's timing at 9600 baud as --realistic sets it.
    static boardsim::BoardConfig realistic(boardsim::MonitorKind kind, boardsim::StartMode start) {
        boardsim::BoardConfig config;
        config.monitor.kind = kind;
        config.monitor.start = start;
        config.busyTime = kind == boardsim::MonitorKind::Tibug ? 200'000 : 100'000;
        config.baud = 9600;
        config.charTime = 1041;
        config.pacedOutput = true;
        return config;
    }

private:
    static boardsim::Micros micros(TimePoint at) {
        return std::chrono::duration_cast<std::chrono::microseconds>(at - TimePoint{}).count();
    }

    boardsim::Board m_board;
    bool m_silent;
};

} // namespace quorvane::test

// The figures of a running transfer and the line that says how it ended, as every face shows them.
#include "ui/TransferProgress.h"
#include "ui/TransferEnding.h"
#include "ui/WindowProgress.h"

#include "platform/fake/ManualClock.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>

namespace quorvane::ui {
namespace {

using engine::SendResult;
using std::chrono::seconds;

TEST(TransferProgress, FiguresGroupThousandsAndGiveTheTimeLeftOnceKnown) {
    const struct {
        std::uint64_t done, total;
        std::optional<seconds> left;
        std::string expected;
    } cases[] = {
        {0, 120, std::nullopt, "0 of 120 characters typed"},
        {60, 120, seconds(5), "60 of 120 characters typed, 0:05 left"},
        {1, 5000, seconds(754), "1 of 5,000 characters typed, 12:34 left"},
        {1234567, 1234567, seconds(0), "1,234,567 of 1,234,567 characters typed, 0:00 left"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(TransferProgress::figures(c.done, c.total, c.left), c.expected);
    }
}

TEST(TransferProgress, PercentIsRoundedDownSoThatOnlyTheWholeFileIsAHundred) {
    platform::ManualClock clock;
    TransferProgress progress(clock);
    const struct {
        std::uint64_t done, total;
        int percent;
    } cases[] = {{0, 0, 0}, {0, 40, 0}, {39, 40, 97}, {40, 40, 100}, {999, 1000, 99}, {42, 100, 42}};
    for (const auto &c : cases) {
        progress.update(c.done, c.total);
        EXPECT_EQ(progress.percent(), c.percent) << c.done << " of " << c.total;
    }
}

TEST(TransferEnding, EachWayATransferEndsHasItsLine) {
    using Unit = TransferPosition::Unit;
    const struct {
        TransferOutcome outcome;
        std::optional<std::string> expected;
    } cases[] = {
        {{SendResult::Completed, "demo.obj", 1204, 1204, seconds(151), {}},
         "Sent demo.obj: 1,204 characters in 2 min 31 s"},
        {{SendResult::Completed, "a.txt", 9, 9, seconds(7), {}}, "Sent a.txt: 9 characters in 7 s"},
        {{SendResult::Stopped, "a.txt", 300, 1000, seconds(9), {Unit::Line, 12, 40}}, "Stopped after line 12 of 40"},
        {{SendResult::Stopped, "a.bin", 24, 80, seconds(9), {Unit::Word, 12, 40}}, "Stopped after word 12 of 40"},
        {{SendResult::Stopped, "a.txt", 0, 80, seconds(1), {Unit::Line, 0, 4}}, "Stopped before line 1 of 4"},
        {{SendResult::TerminalLost, "demo.obj", 830, 1204, seconds(60), {}},
         "Terminal window lost after 830 of 1,204 characters"},
        {{SendResult::Untypable, "a.txt", 7, 20, seconds(2), {}},
         "Ended at a character the keyboard cannot type, after 7 of 20 characters"},
        {{SendResult::TerminalNotFound, "demo.obj", 0, 1204, seconds(0), {}},
         "Terminal window not found: nothing was typed"},
        {{SendResult::FileError, "gone.txt", 0, 0, seconds(0), {}}, "gone.txt could not be read"},
        {{SendResult::MalformedFile, "bad.obj", 40, 90, seconds(3), {Unit::Line, 2, 5}},
         "Ended at an error in line 2 of 5 of bad.obj"},
        {{SendResult::NothingSelected, "", 0, 0, seconds(0), {}}, std::nullopt},
        {{SendResult::AlreadyRunning, "a.txt", 0, 0, seconds(0), {}}, std::nullopt},
        {{SendResult::Abandoned, "a.txt", 10, 20, seconds(1), {}}, std::nullopt},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(transferEndLine(c.outcome), c.expected);
    }
}

TEST(TransferEnding, PositionCountsTheLinesAsTheTransferReportsThem) {
    const test::TempFolder folder("quorvane-position-");
    // Four lines under the three line ends the transfers know; each report counts the line with its end.
    const auto path = folder.path() / "lines.txt";
    test::writeFile(path.string(), "a\r\nbb\rccc\nd");
    const struct {
        std::uint64_t done, current;
    } cases[] = {{0, 0}, {3, 1}, {6, 2}, {10, 3}, {11, 4}};
    for (const auto &c : cases) {
        const TransferPosition position = transferPosition(path, false, c.done, 11);
        EXPECT_EQ(position.current, c.current) << c.done;
        EXPECT_EQ(position.total, 4u);
    }
    const TransferPosition words = transferPosition(path, true, 24, 81);
    EXPECT_EQ(words.unit, TransferPosition::Unit::Word);
    EXPECT_EQ(words.current, 12u);
    EXPECT_EQ(words.total, 41u) << "an odd last byte is a word of its own";
}

TEST(WindowProgress, TitleCarriesThePercentOnlyWhileATransferRuns) {
    platform::ManualClock clock;
    WindowProgress progress(clock);
    EXPECT_EQ(progress.title(), "Quorvane");
    progress.prepare("/files", "demo.obj", engine::FileType::Loader);
    EXPECT_EQ(progress.title(), "Quorvane") << "before the first report no transfer has begun";
    progress.update(0, 1000);
    EXPECT_EQ(progress.title(), "Quorvane - 0 %");
    clock.advance(seconds(151));
    progress.update(420, 1000);
    EXPECT_EQ(progress.title(), "Quorvane - 42 %");
    progress.update(1000, 1000);
    EXPECT_EQ(progress.finish(SendResult::Completed), "Sent demo.obj: 1,000 characters in 2 min 31 s");
    EXPECT_EQ(progress.title(), "Quorvane");
}

// A hold (the user works in the window) names itself in the title; once it ends, the percentage is back at once,
// not only at the next line's report.
TEST(WindowProgress, AHoldTakesTheTitleAndGivesThePercentBack) {
    platform::ManualClock clock;
    WindowProgress progress(clock);
    progress.prepare("/files", "demo.obj", engine::FileType::Loader);
    progress.update(420, 1000);
    const struct {
        const char *step;
        std::function<void()> act;
        std::string title;
    } steps[] = {
        {"hold", [&] { progress.setHolding(true); }, kHoldingTitle},
        {"report while held", [&] { progress.update(430, 1000); }, kHoldingTitle},
        {"go on", [&] { progress.setHolding(false); }, "Quorvane - 43 %"},
        {"hold again", [&] { progress.setHolding(true); }, kHoldingTitle},
        {"stopped while held", [&] { progress.finish(SendResult::Stopped); }, "Quorvane"},
        {"next transfer", [&] { progress.prepare("/files", "demo.obj", engine::FileType::Loader); }, "Quorvane"},
        {"its first report", [&] { progress.update(0, 1000); }, "Quorvane - 0 %"},
    };
    for (const auto &step : steps) {
        step.act();
        EXPECT_EQ(progress.title(), step.title) << step.step;
    }
}

TEST(WindowProgress, ASendThatStartedNoTransferLeavesNoLine) {
    platform::ManualClock clock;
    WindowProgress progress(clock);
    progress.prepare("/files", "", engine::FileType::Text);
    EXPECT_EQ(progress.finish(SendResult::NothingSelected), std::nullopt);
    progress.prepare("/files", "gone.txt", engine::FileType::Text);
    EXPECT_EQ(progress.finish(SendResult::FileError), "gone.txt could not be read");
}

} // namespace
} // namespace quorvane::ui

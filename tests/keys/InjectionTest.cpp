// The injection around the parser: one call per string, refused records, buffer growth, bounded counts.
#include "SequenceInvariants.h"
#include "keys/EventBuffer.h"
#include "keys/HeldKeys.h"
#include "keys/KeySequenceTyper.h"
#include "keys/RepeatCount.h"
#include "platform/VirtualKeys.h"
#include "platform/fake/FakeKeyboardLayout.h"
#include "platform/fake/RecordingInjector.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace quorvane::keys {
namespace {

using platform::kExtendedKey;
using platform::KeyRecord;
using platform::kKeyUp;
using platform::kUnicode;

class InjectionTest : public ::testing::Test {
protected:
    platform::FakeKeyboardLayout m_layout;
    platform::RecordingInjector m_injector;
    KeySequenceTyper m_keys{m_layout, m_injector};
};

TEST_F(InjectionTest, OneInjectionPerStringAndAFreshLayoutEachCall) {
    const struct {
        std::u16string_view keys;
        std::size_t batches;
    } cases[] = {{u"", 0}, {u"{", 0}, {u"(", 0}, {u"+", 0}, {u"%(", 0}, {u"a", 1}, {u"IM ", 1}, {u"{a 300}", 1}};
    std::size_t calls = 0;
    for (const auto &c : cases) {
        m_injector.clear();
        EXPECT_TRUE(m_keys.SendKeySequence(c.keys)) << std::string(c.keys.begin(), c.keys.end());
        ++calls;
        EXPECT_EQ(m_injector.batches().size(), c.batches) << std::string(c.keys.begin(), c.keys.end());
        EXPECT_EQ(m_layout.refreshCount(), calls);
    }
}

// When the injector takes only a prefix, the keys that prefix left down are released in one more call, and
// the call reports that the string did not go in whole.
TEST_F(InjectionTest, RefusedRecordsLeaveNoKeyDown) {
    const struct {
        std::u16string_view keys;
        std::size_t accepted;
        const char *expected;
    } cases[] = {
        {u"+^a", 3, "Shift↓ Ctrl↓ A↓ | A↑ Ctrl↑ Shift↑"},
        {u"+^a", 5, "Shift↓ Ctrl↓ A↓ A↑ Ctrl↑ | Shift↑"},
        {u"+^a", 0, ""},
        {u"A", 2, "Shift↓ A↓ | A↑ Shift↑"},
        {u"{DOWN}", 1, "Down↓ext | Down↑ext"},
        {u"\u20AC", 1, "U+20AC↓ | U+20AC↑"},
        {u"ab", 2, "A↓ A↑"},
        {u"%(ab)", 4, "Alt↓ A↓ A↑ B↓ | B↑ Alt↑"},
        {u"%(ab)", 3, "Alt↓ A↓ A↑ | Alt↑"},
        // releasing Alt straight after its press would tap it: a Ctrl press goes between
        {u"%(ab)", 1, "Alt↓ | Ctrl↓ Ctrl↑ Alt↑"},
        {u"^%a", 2, "Ctrl↓ Alt↓ | Ctrl↓ Ctrl↑ Alt↑ Ctrl↑"},
        {u"%a", 2, "Alt↓ A↓ | A↑ Alt↑"},
    };
    for (const auto &c : cases) {
        m_injector.clear();
        m_injector.acceptOnlyNext(c.accepted);
        m_keys.SendKeySequence(c.keys);
        const std::string shown(c.keys.begin(), c.keys.end());
        EXPECT_EQ(m_injector.transcript(), c.expected) << shown << " accepting " << c.accepted;
        EXPECT_EQ(findSequenceFault(m_injector.records(), c.keys, m_layout), "") << shown;
        EXPECT_FALSE(m_keys.ShiftHeld());
    }
}

// The caller retries a string that did not go in whole, so only a complete injection may count as typed.
TEST_F(InjectionTest, ReportsWhetherTheWholeStringWentIn) {
    const struct {
        std::u16string_view keys;
        std::optional<std::size_t> accepted; // nothing: every record
        std::size_t refusedBatches;
        bool complete;
        const char *expected;
    } cases[] = {
        {u"+^a", std::nullopt, 0, true, "Shift↓ Ctrl↓ A↓ A↑ Ctrl↑ Shift↑"},
        {u"+^a", 6, 0, true, "Shift↓ Ctrl↓ A↓ A↑ Ctrl↑ Shift↑"},
        {u"+^a", 5, 0, false, "Shift↓ Ctrl↓ A↓ A↑ Ctrl↑ | Shift↑"},
        {u"a", std::nullopt, 1, false, ""},
        {u"+a", std::nullopt, 1, false, ""},
        {u"", std::nullopt, 1, true, ""},
        {u"+", std::nullopt, 1, true, ""},
    };
    for (const auto &c : cases) {
        m_injector.clear();
        if (c.accepted) {
            m_injector.acceptOnlyNext(*c.accepted);
        }
        m_injector.refuseNextBatches(c.refusedBatches);
        const std::string shown(c.keys.begin(), c.keys.end());
        EXPECT_EQ(m_keys.SendKeySequence(c.keys), c.complete) << shown;
        EXPECT_EQ(m_injector.transcript(), c.expected) << shown;
        EXPECT_FALSE(m_keys.ShiftHeld()) << shown;
    }
}

TEST(HeldKeys, ReleasesWhatIsStillDownInReverseOrder) {
    const KeyRecord shiftDown{platform::kVkShift, 0x2A, 0}, aDown{'A', 0x1E, 0},
        downArrow{platform::kVkDown, 0x50, kExtendedKey};
    const KeyRecord aUp{'A', 0x1E, kKeyUp}, unicodeDown{0, 0x20AC, kUnicode};
    const struct {
        std::vector<KeyRecord> records;
        const char *expected;
    } cases[] = {
        {{}, ""},
        {{aDown, aUp}, ""},
        {{shiftDown, aDown}, "A↑ Shift↑"},
        {{shiftDown, aDown, aUp}, "Shift↑"},
        {{downArrow}, "Down↑ext"},
        {{unicodeDown}, "U+20AC↑"},
        {{aDown, aDown, aUp}, "A↑"},
        {{aUp}, ""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(platform::formatKeyRecords(releasesOfHeldKeys(c.records)), c.expected)
            << platform::formatKeyRecords(c.records);
    }
}

TEST(EventBufferGrowth, GrowsByAStepWhenTwentyFiveOrFewerAreFree) {
    const struct {
        std::size_t records;
        std::size_t capacityAfterCheck;
    } cases[] = {{0, 512}, {486, 512}, {487, 1023}, {511, 1023}, {600, 1023}};
    for (const auto &c : cases) {
        EventBuffer buffer;
        buffer.begin();
        for (std::size_t i = 0; i < c.records; ++i) {
            buffer.append(KeyRecord{'A', 0x1E, 0});
        }
        buffer.ensureRoom();
        EXPECT_EQ(buffer.capacity(), c.capacityAfterCheck) << c.records << " records";
        EXPECT_EQ(buffer.size(), c.records);
    }
}

TEST(EventBufferGrowth, EachSequenceStartsAgainAtTheInitialCapacity) {
    EventBuffer buffer;
    buffer.begin();
    for (std::size_t i = 0; i < 998; ++i) {
        buffer.append(KeyRecord{'A', 0x1E, 0});
    }
    buffer.ensureRoom();
    buffer.ensureRoom();
    EXPECT_EQ(buffer.capacity(), 1534U);
    buffer.release();
    buffer.begin();
    EXPECT_EQ(buffer.capacity(), 512U);
    EXPECT_EQ(buffer.size(), 0U);
}

// 243 presses leave 486 records: the next item starts with 26 free, the one after it needs growth, and
// the item that follows needs more than the room it starts with. Nothing may be lost.
TEST_F(InjectionTest, LongSequencesKeepEveryRecord) {
    const std::u16string_view keys = u"{a 243}b{c 300}A";
    m_keys.SendKeySequence(keys);
    ASSERT_EQ(m_injector.batches().size(), 1U);
    const std::vector<KeyRecord> &records = m_injector.batches().front();
    ASSERT_EQ(records.size(), 486U + 2U + 600U + 4U);
    EXPECT_EQ(platform::formatKeyRecords(std::span(records).subspan(484, 4)), "A↓ A↑ B↓ B↑");
    EXPECT_EQ(platform::formatKeyRecords(std::span(records).subspan(1086)), "C↓ C↑ Shift↓ A↓ A↑ Shift↑");
    EXPECT_EQ(findSequenceFault(records, keys, m_layout), "");
}

TEST_F(InjectionTest, RepeatCountsAreCapped) {
    const std::u16string_view cases[] = {u"{a 99999999999}", u"{a 1e308}", u"{a 1e99999}", u"{a &HFFFFFFFFFFFFFFFFFF}",
                                         u"{DOWN 4294967296}"};
    for (std::u16string_view keys : cases) {
        m_injector.clear();
        m_keys.SendKeySequence(keys);
        ASSERT_EQ(m_injector.batches().size(), 1U);
        EXPECT_EQ(m_injector.batches().front().size(), 2U * kMaxRepeatCount) << std::string(keys.begin(), keys.end());
    }
}

// A long run of modifiers must not exhaust the stack.
TEST_F(InjectionTest, LongModifierRunsAreNestedWithoutRecursion) {
    constexpr std::size_t kRun = 200000;
    std::u16string keys(kRun, u'+');
    const std::u16string runThenA = keys + u"a";
    m_keys.SendKeySequence(runThenA);
    ASSERT_EQ(m_injector.batches().size(), 1U);
    const std::vector<KeyRecord> &records = m_injector.batches().front();
    ASSERT_EQ(records.size(), 2 * kRun + 2);
    EXPECT_EQ(platform::formatKeyRecords(std::span(records).subspan(kRun - 1, 4)), "Shift↓ A↓ A↑ Shift↑");
    EXPECT_EQ(findSequenceFault(records, runThenA, m_layout), "");
    EXPECT_FALSE(m_keys.ShiftHeld());

    m_injector.clear();
    m_keys.SendKeySequence(keys);
    EXPECT_TRUE(m_injector.batches().empty());
}

// The fuzz target checks records as the injector takes them, batch by batch: every broken rule is found, at the
// same record, wherever the records are split between two batches.
TEST_F(InjectionTest, TheRuleCheckerFindsEachBrokenRuleWhereverTheBatchesSplit) {
    using namespace platform;
    const auto key = [this](std::uint16_t vk, std::uint32_t flags = 0) {
        return KeyRecord{vk, m_layout.scanCode(vk), flags};
    };
    const KeyRecord shiftDown = key(kVkShift), shiftUp = key(kVkShift, kKeyUp);
    const KeyRecord aDown = key('A'), aUp = key('A', kKeyUp);
    const struct {
        std::u16string_view keys;
        std::vector<KeyRecord> records;
        std::string fault; // "" or the broken rule, after "record <index> (...): "
        std::size_t index;
    } cases[] = {
        {u"A", {shiftDown, aDown, aUp, shiftUp}, "", 0},
        {u"a", {aUp}, "key-up without a key down", 0},
        {u"a", {aDown, aUp, aDown}, "never released", 2},
        {u"A", {shiftDown, aDown, shiftUp, aUp}, "releases another key than the innermost pressed one", 2},
        {u"%(a)", {aDown, aUp, key(kVkAlt), key(kVkAlt, kKeyUp)}, "lone Alt tap", 3},
        {u"a", {aDown, aUp, {0, 0x20AC, kUnicode}}, "Unicode record for a code unit not in the string", 2},
        {u"\u20AC", {{'A', 0x20AC, kUnicode}}, "Unicode record with a key code or the extended flag", 0},
        {u"a", {aDown, aUp, key('B')}, "a key that nothing in the string presses", 2},
        {u"a", {{'A', 0, 0}}, "scan code is not the layout's", 0},
        {u"{DOWN}", {key(kVkDown), key(kVkDown, kKeyUp)}, "extended flag wrong for the key", 0},
        {u"a", {aDown, {'A', aUp.scan, kKeyUp | 8}}, "unknown flag", 1},
    };
    SequenceChecker checker;
    for (const auto &c : cases) {
        const std::string shown(c.keys.begin(), c.keys.end());
        const std::string whole = findSequenceFault(c.records, c.keys, m_layout);
        if (c.fault.empty()) {
            EXPECT_EQ(whole, "") << shown;
        } else {
            EXPECT_TRUE(whole.starts_with("record " + std::to_string(c.index) + " (")) << shown << ": " << whole;
            EXPECT_TRUE(whole.ends_with("): " + c.fault)) << shown << ": " << whole;
        }
        for (std::size_t cut = 0; cut <= c.records.size(); ++cut) {
            checker.begin(c.keys, m_layout);
            checker.check(std::span(c.records).first(cut));
            checker.check(std::span(c.records).subspan(cut));
            EXPECT_EQ(checker.finish(), whole) << shown << " cut after " << cut;
        }
    }
}

TEST_F(InjectionTest, CapsLockIsReadWhileParsing) {
    m_layout.setCapsLock(true);
    m_keys.SendKeySequence(u"a");
    m_layout.setCapsLock(false);
    m_keys.SendKeySequence(u"a");
    EXPECT_EQ(m_injector.transcript(), "Shift↓ A↓ A↑ Shift↑ | A↓ A↑");
}

} // namespace
} // namespace quorvane::keys

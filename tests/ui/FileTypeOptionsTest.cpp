// The option captions with their runs of spaces, the enabled-state table, the extension rule and the patterns.
#include "ui/FileTypeOptions.h"

#include <gtest/gtest.h>

namespace quorvane::ui {
namespace {

std::string spaces(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

TEST(FileTypeCaptions, ExactTextsForEachMonitorAndAtStart) {
    const struct {
        int index;
        Monitor monitor;
        std::string expected;
    } cases[] = {
        {0, Monitor::Evmbug, "Tagged Object Code -" + spaces(2) + "Send To Loader"},
        {0, Monitor::Tibug, "Tagged Object Code -" + spaces(2) + "Send To Loader"},
        {1, Monitor::Evmbug, "Tagged Object Code -" + spaces(14) + "Send To EVMBUG IM Command"},
        {1, Monitor::Tibug, "Tagged Object Code -" + spaces(14) + "Send To TIBUG M Command"},
        {2, Monitor::Evmbug, "Hex Dump -" + spaces(26) + "Send To EVMBUG IM Command"},
        {2, Monitor::Tibug, "Hex Dump -" + spaces(26) + "Send To TIBUG M Command"},
        {3, Monitor::Evmbug, "Text File"},
        {3, Monitor::Tibug, "Text File"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(fileTypeCaption(c.index, c.monitor), c.expected) << "index " << c.index;
    EXPECT_EQ(initialFileTypeCaption(2), "Hex Dump -" + spaces(27) + "Send To EVMBUG IM Command");
    for (int index : {0, 1, 3})
        EXPECT_EQ(initialFileTypeCaption(index), fileTypeCaption(index, Monitor::Evmbug));
}

TEST(FileTypeEnabledStates, FollowTheTransferThatReadsThem) {
    const struct {
        int index;
        bool factors;
        bool ignoreTags;
    } cases[] = {{0, false, false}, {1, true, true}, {2, true, false}, {3, true, false}, {7, true, false}};
    for (const auto &c : cases) {
        const EnabledState state = enabledStateFor(c.index);
        EXPECT_EQ(state.delayFactors, c.factors) << "index " << c.index;
        EXPECT_EQ(state.ignoreAddressTags, c.ignoreTags) << "index " << c.index;
    }
}

TEST(FileTypeForName, LastExtensionDecidesWithoutRegardToCase) {
    const struct {
        const char *name;
        int expected;
    } cases[] = {
        {"LOADER.obj", kFileTypeLoader}, {"LOADER.OBJ", kFileTypeLoader}, {"prog.Obj", kFileTypeLoader},
        {"mem.cas", kFileTypeHexDump},   {"mem.hex", kFileTypeHexDump},   {"image.bin", kFileTypeHexDump},
        {"IMAGE.BIN", kFileTypeHexDump}, {"MEM.CAS", kFileTypeHexDump},   {"listing.bas", kFileTypeText},
        {"notes.txt", kFileTypeText},    {"x.obj.txt", kFileTypeText},    {"x.txt.obj", kFileTypeLoader},
        {"a.b.hex", kFileTypeHexDump},   {"noextension", kFileTypeText},  {"obj", kFileTypeText},
        {"archive.objx", kFileTypeText}, {".hex", kFileTypeHexDump},      {"trailing.", kFileTypeText},
    };
    for (const auto &c : cases)
        EXPECT_EQ(fileTypeForName(c.name), c.expected) << c.name;
}

TEST(FileTypeForName, NeverChoosesTheTaggedObjectType) {
    for (const char *name : {"a.obj", "a.OBJ", "a.tag", "a.o", "a.cas", "a"})
        EXPECT_NE(fileTypeForName(name), kFileTypeTaggedObject) << name;
}

TEST(FilePattern, SixExtensionsInAnyCase) {
    const struct {
        const char *name;
        bool listed;
    } cases[] = {
        {"a.txt", true},   {"a.obj", true},      {"a.bas", true},      {"a.cas", true},     {"a.hex", true},
        {"a.bin", true},   {"LOADER.OBJ", true}, {"Image.Bin", true},  {"x.obj.txt", true}, {"a.o", false},
        {"a.text", false}, {"abin", false},      {"a.bin.bak", false}, {"obj", false},      {"a.tx", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(matchesFilePattern(c.name), c.listed) << c.name;
}

} // namespace
} // namespace quorvane::ui

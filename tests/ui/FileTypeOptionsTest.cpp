// The extension rule that chooses the file type, and the file list's patterns, both without regard to case.
#include "ui/FileTypeOptions.h"

#include <gtest/gtest.h>

namespace quorvane::ui {
namespace {

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
    for (const auto &c : cases) {
        EXPECT_EQ(fileTypeForName(c.name), c.expected) << c.name;
    }
}

TEST(FileTypeForName, NeverChoosesTheTaggedObjectType) {
    for (const char *name : {"a.obj", "a.OBJ", "a.tag", "a.o", "a.cas", "a"}) {
        EXPECT_NE(fileTypeForName(name), kFileTypeTaggedObject) << name;
    }
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
    for (const auto &c : cases) {
        EXPECT_EQ(matchesFilePattern(c.name), c.listed) << c.name;
    }
}

} // namespace
} // namespace quorvane::ui

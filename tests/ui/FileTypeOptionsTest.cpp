// The extension rule that chooses the file type, and the file list's patterns, both without regard to case.
#include "ui/FileTypeOptions.h"

#include <gtest/gtest.h>

namespace quorvane::ui {
namespace {

TEST(FileTypeForName, LastExtensionDecidesWithoutRegardToCase) {
    const struct {
        const char *name;
        FileType expected;
    } cases[] = {
        {"LOADER.obj", FileType::Loader}, {"LOADER.OBJ", FileType::Loader}, {"prog.Obj", FileType::Loader},
        {"mem.cas", FileType::HexDump},   {"mem.hex", FileType::HexDump},   {"image.bin", FileType::HexDump},
        {"IMAGE.BIN", FileType::HexDump}, {"MEM.CAS", FileType::HexDump},   {"listing.bas", FileType::Text},
        {"notes.txt", FileType::Text},    {"x.obj.txt", FileType::Text},    {"x.txt.obj", FileType::Loader},
        {"a.b.hex", FileType::HexDump},   {"noextension", FileType::Text},  {"obj", FileType::Text},
        {"archive.objx", FileType::Text}, {".hex", FileType::HexDump},      {"trailing.", FileType::Text},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(fileTypeForName(c.name), c.expected) << c.name;
    }
}

TEST(FileTypeForName, NeverChoosesTheTaggedObjectType) {
    for (const char *name : {"a.obj", "a.OBJ", "a.tag", "a.o", "a.cas", "a"}) {
        EXPECT_NE(fileTypeForName(name), FileType::TaggedObject) << name;
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

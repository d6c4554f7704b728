// The four help pages, word for word, for each monitor.
#include "ui/HelpPages.h"

#include <gtest/gtest.h>

namespace quorvane::ui {
namespace {

const std::string kBreak = "\r\n\r\n";

const std::string kPage1 =
    "(Page 1 of 4)" + kBreak +
    "The [Tagged Object Code - Send To Loader] file type is for sending a 990-format tagged object code file." +
    kBreak + "An object code loader must be running on the receiving computer before starting to send the file." +
    kBreak + "The file is sent verbatim. A <CR> is sent at the end of each line.";

const std::string kPage4 =
    "(Page 4 of 4)" + kBreak +
    "The [Text File] file type is for sending a text file (for example a BASIC program listing)." + kBreak +
    "The file is sent verbatim. The delay between characters and after each line can be adjusted using the "
    "controls. A <CR> is sent at the end of each line.";

const std::vector<std::string> kTibugPages = {
    kPage1,
    "(Page 2 of 4)" + kBreak +
        "The [Tagged Object Code - Send To TIBUG M Command] file type is also for sending a 990-format tagged object "
        "code file, but instead loads words using the TIBUG M command." +
        kBreak +
        "If the [Ignore Address Tags] checkbox is clear, the receiving computer must be waiting at the TIBUG prompt "
        "and the program will issue the M commands as necessary to load the data at the addresses specified by the "
        "address tags in the object code file." +
        kBreak +
        "If the [Ignore Address Tags] checkbox is checked, the receiving computer must be waiting with the TIBUG M "
        "command waiting to receive the data at the address at which the user wishes to load it, and address tags in "
        "the object code file are ignored." +
        kBreak +
        "A <space> is sent after each word to increment the M command to the next word. The delay between characters "
        "and after each line can be adjusted using the controls.",
    "(Page 3 of 4)" + kBreak +
        "The [Hex Dump - Send To TIBUG M Command] file type is for sending a hex dump file. Words are loaded using the "
        "TIBUG M command." +
        kBreak +
        "The receiving computer must be waiting with the TIBUG M command waiting to receive the data at the address "
        "at which the user wishes to load it." +
        kBreak +
        "A <space> is sent after each word to increment the M command to the next word. The delay between characters "
        "and after each line can be adjusted using the controls.",
    kPage4,
};

const std::vector<std::string> kEvmbugPages = {
    kPage1,
    "(Page 2 of 4)" + kBreak +
        "The [Tagged Object Code - Send To EVMBUG IM Command] file type is also for sending a 990-format tagged "
        "object code file, but instead loads words using the EVMBUG IM command." +
        kBreak +
        "If the [Ignore Address Tags] checkbox is clear, the receiving computer must be waiting at the EVMBUG prompt "
        "and the program will issue the IM commands as necessary to load the data at the addresses specified by the "
        "address tags in the object code file." +
        kBreak +
        "If the [Ignore Address Tags] checkbox is checked, the receiving computer must be waiting with the EVMBUG IM "
        "command waiting to receive the data at the address at which the user wishes to load it, and address tags in "
        "the object code file are ignored." +
        kBreak +
        "A <space> is sent after each word to increment the IM command to the next word. The delay between "
        "characters and after each line can be adjusted using the controls.",
    "(Page 3 of 4)" + kBreak +
        "The [Hex Dump - Send To EVMBUG IM Command] file type is for sending a hex dump file. Words are loaded using "
        "the EVMBUG IM command." +
        kBreak +
        "The receiving computer must be waiting with the EVMBUG IM command waiting to receive the data at the address "
        "at which the user wishes to load it." +
        kBreak +
        "A <space> is sent after each word to increment the IM command to the next word. The delay between "
        "characters and after each line can be adjusted using the controls.",
    kPage4,
};

TEST(HelpPages, WordForWordForEachMonitor) {
    const struct {
        Monitor monitor;
        const std::vector<std::string> &expected;
    } cases[] = {{Monitor::Tibug, kTibugPages}, {Monitor::Evmbug, kEvmbugPages}};
    for (const auto &c : cases) {
        const std::vector<std::string> pages = helpPages(c.monitor);
        ASSERT_EQ(pages.size(), c.expected.size());
        for (std::size_t i = 0; i < pages.size(); ++i) {
            EXPECT_EQ(pages[i], c.expected[i]) << "page " << i + 1;
        }
    }
}

} // namespace
} // namespace quorvane::ui

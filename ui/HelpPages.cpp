// The texts of the four help pages.
#include "ui/HelpPages.h"

#include <initializer_list>

namespace quorvane::ui {
namespace {

struct MonitorWords {
    std::string name;    // TIBUG or EVMBUG
    std::string command; // M or IM
};

std::string page(std::string_view heading, std::initializer_list<std::string> paragraphs) {
    std::string text(heading);
    for (const std::string &paragraph : paragraphs) {
        text += "\r\n\r\n" + paragraph;
    }
    return text;
}

std::string spaceAfterEachWord(const MonitorWords &m) {
    return "A <space> is sent after each word to increment the " + m.command +
           " command to the next word. The delay between characters and after each line can be adjusted using the "
           "controls.";
}

std::string taggedObjectPage(const MonitorWords &m) {
    const std::string command = m.name + " " + m.command;
    return page("(Page 2 of 4)",
                {"The [Tagged Object Code - Send To " + command +
                     " Command] file type is also for sending a 990-format tagged object code file, but instead "
                     "loads words using the " +
                     command + " command.",
                 "If the [Ignore Address Tags] checkbox is clear, the receiving computer must be waiting at the " +
                     m.name + " prompt and the program will issue the " + m.command +
                     " commands as necessary to load the data at the addresses specified by the address tags in the "
                     "object code file.",
                 "If the [Ignore Address Tags] checkbox is checked, the receiving computer must be waiting with the " +
                     command +
                     " command waiting to receive the data at the address at which the user wishes to load it, and "
                     "address tags in the object code file are ignored.",
                 spaceAfterEachWord(m)});
}

std::string hexDumpPage(const MonitorWords &m) {
    const std::string command = m.name + " " + m.command;
    return page("(Page 3 of 4)",
                {"The [Hex Dump - Send To " + command +
                     " Command] file type is for sending a hex dump file. Words are loaded using the " + command +
                     " command.",
                 "The receiving computer must be waiting with the " + command +
                     " command waiting to receive the data at the address at which the user wishes to load it.",
                 spaceAfterEachWord(m)});
}

} // namespace

std::vector<std::string> helpPages(Monitor monitor) {
    const MonitorWords words = monitor == Monitor::Tibug ? MonitorWords{"TIBUG", "M"} : MonitorWords{"EVMBUG", "IM"};
    return {
        page("(Page 1 of 4)",
             {"The [Tagged Object Code - Send To Loader] file type is for sending a 990-format tagged object code "
              "file.",
              "An object code loader must be running on the receiving computer before starting to send the file.",
              "The file is sent verbatim. A <CR> is sent at the end of each line."}),
        taggedObjectPage(words),
        hexDumpPage(words),
        page("(Page 4 of 4)",
             {"The [Text File] file type is for sending a text file (for example a BASIC program listing).",
              "The file is sent verbatim. The delay between characters and after each line can be adjusted using "
              "the controls. A <CR> is sent at the end of each line."}),
    };
}

} // namespace quorvane::ui

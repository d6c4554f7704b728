// Messages of the command line's transfer: each one a line on a stream instead of a message box.
#include "ui/StreamDialogs.h"

#include <string>

namespace quorvane::ui {

void StreamDialogs::showMessage(std::string_view, std::string_view text, platform::MessageIcon icon) {
    // Message boxes separate paragraphs with CR LF; a terminal needs only the LF.
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
            line += text[i];
        }
    }
    const char *kind = icon == platform::MessageIcon::Error     ? "error: "
                       : icon == platform::MessageIcon::Warning ? "warning: "
                                                                : "";
    m_out << "quorvane: " << kind << line << '\n' << std::flush;
}

} // namespace quorvane::ui

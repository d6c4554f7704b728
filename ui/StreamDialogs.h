// Messages of the command line's transfer: each one a line on a stream instead of a message box.
#pragma once

#include "platform/Dialogs.h"

#include <ostream>

namespace quorvane::ui {

class StreamDialogs : public platform::Dialogs {
public:
    explicit StreamDialogs(std::ostream &out) : m_out(out) {}

    // "quorvane: error: <text>" ("warning: " for a warning, nothing for a plain message).
    void showMessage(std::string_view title, std::string_view text, platform::MessageIcon icon) override;

private:
    std::ostream &m_out;
};

} // namespace quorvane::ui

// Modal message boxes.
#pragma once

#include <string_view>

namespace quorvane::platform {

enum class MessageIcon { None, Warning, Error };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Shows a modal box with one OK button; returns when the user has closed it.
    virtual void showMessage(std::string_view title, std::string_view text, MessageIcon icon) = 0;
};

} // namespace quorvane::platform

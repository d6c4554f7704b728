// The recording message boxes.
#include "platform/fake/CapturedDialogs.h"

namespace quorvane::platform {

namespace {

const char *iconName(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Warning:
        return "warning";
    case MessageIcon::Error:
        return "error";
    case MessageIcon::None:
        break;
    }
    return "plain";
}

} // namespace

void CapturedDialogs::showMessage(std::string_view title, std::string_view text, MessageIcon icon) {
    m_messages.push_back({std::string(title), std::string(text), icon});
    if (m_transcript != nullptr) {
        m_transcript->add("message " + std::string(iconName(icon)) + ": " + std::string(text));
    }
    if (m_hook) {
        m_hook();
    }
}

} // namespace quorvane::platform

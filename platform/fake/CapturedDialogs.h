// Message boxes that are recorded instead of shown.
#pragma once

#include "platform/Dialogs.h"
#include "platform/fake/Transcript.h"

#include <functional>
#include <string>
#include <vector>

namespace quorvane::platform {

struct CapturedMessage {
    std::string title;
    std::string text;
    MessageIcon icon = MessageIcon::None;
};

class CapturedDialogs : public Dialogs {
public:
    explicit CapturedDialogs(Transcript *transcript = nullptr) : m_transcript(transcript) {}

    // Records "message <warning|error|plain>: <text>" and runs the hook, standing for what the user does
    // while the box is open.
    void showMessage(std::string_view title, std::string_view text, MessageIcon icon) override;
    void whileShown(std::function<void()> hook) { m_hook = std::move(hook); }

    const std::vector<CapturedMessage> &messages() const { return m_messages; }

private:
    Transcript *m_transcript;
    std::vector<CapturedMessage> m_messages;
    std::function<void()> m_hook;
};

} // namespace quorvane::platform

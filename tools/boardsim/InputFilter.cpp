// Matching of the quit sequence and the dump key in the received stream.
#include "InputFilter.h"

namespace quorvane::boardsim {

InputFilter::InputFilter(std::string quitSequence, std::optional<std::uint8_t> dumpKey)
    : m_quitSequence(std::move(quitSequence)), m_dumpKey(dumpKey) {}

InputFilter::Result InputFilter::feed(std::uint8_t byte) {
    Result result;
    if (m_dumpKey && byte == *m_dumpKey) {
        result.dump = true;
        return result;
    }
    if (m_quitSequence.empty()) {
        result.release += static_cast<char>(byte);
        return result;
    }
    m_held += static_cast<char>(byte);
    while (!m_held.empty() && m_quitSequence.compare(0, m_held.size(), m_held) != 0) {
        result.release += m_held.front();
        m_held.erase(0, 1);
    }
    if (m_held.size() == m_quitSequence.size()) {
        m_held.clear();
        result.quit = true;
    }
    return result;
}

} // namespace quorvane::boardsim

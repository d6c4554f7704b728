// The board's memory: word access and the text form written to the image file.
#include "MemoryImage.h"

namespace quorvane::boardsim {

namespace {
constexpr std::uint16_t kEvenMask = 0xFFFE;
}

std::uint16_t MemoryImage::read(std::uint16_t address) const {
    auto it = m_words.find(static_cast<std::uint16_t>(address & kEvenMask));
    return it == m_words.end() ? 0 : it->second;
}

void MemoryImage::write(std::uint16_t address, std::uint16_t value) {
    m_words[static_cast<std::uint16_t>(address & kEvenMask)] = value;
}

std::string MemoryImage::toText() const {
    std::string text;
    text.reserve(m_words.size() * 10);
    for (const auto &[address, value] : m_words) {
        text += hex4(address);
        text += '=';
        text += hex4(value);
        text += '\n';
    }
    return text;
}

std::string hex4(std::uint16_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text(4, '0');
    for (int i = 3; i >= 0; --i) {
        text[static_cast<std::size_t>(i)] = kDigits[value & 0xF];
        value = static_cast<std::uint16_t>(value >> 4);
    }
    return text;
}

} // namespace quorvane::boardsim

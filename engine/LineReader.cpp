// Line reading with the three line ends, the character-set choice, and the byte-order and end-of-file marks.
#include "engine/LineReader.h"

#include "engine/InputFile.h"
#include "engine/TextDecoding.h"

#include <algorithm>
#include <cstring>
#include <span>

namespace quorvane::engine {

namespace {

constexpr std::size_t kChunkSize = 64 * 1024;
constexpr std::size_t kLongestCharacter = 4;
constexpr std::uint8_t kCtrlZ = 0x1A;
constexpr std::uint8_t kByteOrderMark[] = {0xEF, 0xBB, 0xBF};

} // namespace

bool LineReader::open(const std::filesystem::path &path, std::string &reason) {
    if (!openInputFile(path, m_file, reason)) {
        return false;
    }
    m_buffer.resize(kChunkSize);
    if (!checkWholeFile()) {
        reason = std::string(kReadErrorReason);
        return false;
    }
    ensure(kLongestCharacter);
    if (m_len >= 3 && std::memcmp(m_buffer.data(), kByteOrderMark, 3) == 0) {
        m_pos = 3;
        m_consumed = 3;
    }
    return !m_failed;
}

// One pass over the file before anything is typed: a file is UTF-8 only if all of it is.
bool LineReader::checkWholeFile() {
    Utf8Validator validator;
    std::uint8_t last = 0;
    auto *data = reinterpret_cast<char *>(m_buffer.data());
    while (m_file.read(data, static_cast<std::streamsize>(m_buffer.size())) || m_file.gcount() > 0) {
        const auto count = static_cast<std::size_t>(m_file.gcount());
        validator.feed(std::span(m_buffer.data(), count));
        last = m_buffer[count - 1];
        m_size += count;
    }
    if (m_file.bad()) {
        return false;
    }
    m_utf8 = validator.valid();
    m_contentEnd = m_size > 0 && last == kCtrlZ ? m_size - 1 : m_size;
    m_file.clear();
    m_file.seekg(0);
    return static_cast<bool>(m_file);
}

void LineReader::ensure(std::size_t count) {
    if (m_len - m_pos >= count || m_exhausted) {
        return;
    }
    std::memmove(m_buffer.data(), m_buffer.data() + m_pos, m_len - m_pos);
    m_len -= m_pos;
    m_pos = 0;
    const std::uint64_t wanted = std::min<std::uint64_t>(m_buffer.size() - m_len, m_contentEnd - m_fetched);
    m_file.read(reinterpret_cast<char *>(m_buffer.data() + m_len), static_cast<std::streamsize>(wanted));
    const auto got = static_cast<std::size_t>(m_file.gcount());
    m_len += got;
    m_fetched += got;
    m_failed = m_failed || m_file.bad();
    m_exhausted = m_fetched >= m_contentEnd || got < wanted;
}

bool LineReader::readCharacter(char32_t &ch) {
    ensure(kLongestCharacter);
    if (m_pos == m_len) {
        return false;
    }
    const std::span<const std::uint8_t> rest(m_buffer.data() + m_pos, m_len - m_pos);
    const DecodedCharacter decoded = m_utf8 ? decodeUtf8(rest) : DecodedCharacter{windows1252ToUnicode(rest[0]), 1};
    ch = decoded.ch;
    m_pos += decoded.length;
    m_consumed += decoded.length;
    return true;
}

bool LineReader::nextByteIs(std::uint8_t byte) {
    ensure(1);
    return m_pos < m_len && m_buffer[m_pos] == byte;
}

bool LineReader::readLine(std::u32string &line) {
    line.clear();
    if (atEnd() || m_failed) {
        return false;
    }
    char32_t ch = 0;
    while (readCharacter(ch)) {
        if (ch == U'\n') {
            break;
        }
        if (ch == U'\r') {
            if (nextByteIs('\n')) {
                ++m_pos;
                ++m_consumed;
            }
            break;
        }
        line.push_back(ch);
    }
    return !m_failed;
}

bool LineReader::atEnd() const { return m_exhausted && m_pos == m_len; }

std::uint64_t LineReader::consumed() const { return atEnd() ? m_size : m_consumed; }

} // namespace quorvane::engine

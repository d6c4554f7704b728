// Line reading with the three line ends, the character-set check, and the byte-order and end-of-file marks.
#include "engine/LineReader.h"

#include "engine/InputFile.h"

#include <algorithm>
#include <cstring>
#include <span>

namespace quorvane::engine {

namespace {

constexpr std::size_t kChunkSize = 64 * 1024;
// One check step reads this much: about a millisecond from the page cache, so the event pump between steps
// keeps the window live.
constexpr std::size_t kCheckChunkSize = 1024 * 1024;
constexpr std::size_t kLongestCharacter = 4;
constexpr std::uint8_t kCtrlZ = 0x1A;
constexpr std::uint8_t kByteOrderMark[] = {0xEF, 0xBB, 0xBF};

} // namespace

bool LineReader::open(const std::filesystem::path &path, std::string &reason) {
    if (!openInputFile(path, m_file, reason) || !openInputFile(path, m_checkFile, reason)) {
        return false;
    }
    m_file.seekg(0, std::ios::end);
    const std::streamoff size = m_file.tellg();
    char last = 0;
    if (size > 0) {
        m_file.seekg(size - 1);
        m_file.get(last);
    }
    m_file.clear();
    m_file.seekg(0);
    if (size < 0 || !m_file) {
        reason = std::string(kReadErrorReason);
        return false;
    }
    m_size = static_cast<std::uint64_t>(size);
    m_contentEnd = m_size > 0 && static_cast<std::uint8_t>(last) == kCtrlZ ? m_size - 1 : m_size;
    m_buffer.resize(static_cast<std::size_t>(std::min<std::uint64_t>(kChunkSize, m_size + kLongestCharacter)));
    ensure(kLongestCharacter);
    if (m_len >= 3 && std::memcmp(m_buffer.data(), kByteOrderMark, 3) == 0) {
        m_pos = 3;
        m_consumed = 3;
    }
    if (m_failed) {
        reason = std::string(kReadErrorReason);
    }
    return !m_failed;
}

bool LineReader::checkStep() {
    if (m_checkDone) {
        return false;
    }
    // One byte more than the size said, so that a file that grew meanwhile is noticed as not done.
    const auto piece = static_cast<std::size_t>(std::min<std::uint64_t>(kCheckChunkSize, m_size - m_checked + 1));
    m_checkBuffer.resize(piece);
    m_checkFile.read(reinterpret_cast<char *>(m_checkBuffer.data()), static_cast<std::streamsize>(piece));
    const auto count = static_cast<std::size_t>(m_checkFile.gcount());
    m_validator.feed(std::span(m_checkBuffer.data(), count));
    m_checked += count;
    m_failed = m_failed || m_checkFile.bad();
    // A file that fails UTF-8 needs no more checking: it is Windows-1252 whatever follows.
    m_checkDone = count < piece || !m_validator.valid() || m_failed;
    if (m_checkDone) {
        m_checkBuffer = {};
        m_checkFile.close();
    }
    return !m_checkDone;
}

std::optional<bool> LineReader::utf8() const {
    if (!m_checkDone) {
        return std::nullopt;
    }
    return m_validator.valid();
}

// Runs the check to its end, handing control back between its pieces. False when it was given up.
bool LineReader::decide() {
    while (checkStep()) {
        if (m_betweenChecks && !m_betweenChecks()) {
            return false;
        }
    }
    return true;
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
    if (m_pos == m_len || m_failed) {
        return false;
    }
    const std::span<const std::uint8_t> rest(m_buffer.data() + m_pos, m_len - m_pos);
    if (rest[0] >= 0x80 && !decide()) {
        // Given up: the transfer is ending, so the rest of the file counts as read.
        m_pos = m_len;
        m_exhausted = true;
        return false;
    }
    const DecodedCharacter decoded =
        m_validator.valid() ? decodeUtf8(rest) : DecodedCharacter{windows1252ToUnicode(rest[0]), 1};
    ch = decoded.ch;
    m_pos += decoded.length;
    m_consumed += decoded.length;
    return true;
}

bool LineReader::nextByteIs(std::uint8_t byte) {
    ensure(1);
    return m_pos < m_len && m_buffer[m_pos] == byte;
}

bool LineReader::readInLine(char32_t &ch) {
    if (!readCharacter(ch) || ch == U'\n') {
        return false;
    }
    if (ch == U'\r') {
        if (nextByteIs('\n')) {
            ++m_pos;
            ++m_consumed;
        }
        return false;
    }
    return true;
}

bool LineReader::readLine(std::u32string &line) {
    line.clear();
    if (atEnd() || m_failed) {
        return false;
    }
    char32_t ch = 0;
    while (readInLine(ch)) {
        line.push_back(ch);
    }
    return !m_failed;
}

bool LineReader::atEnd() const { return m_exhausted && m_pos == m_len; }

std::uint64_t LineReader::consumed() const { return atEnd() ? m_size : m_consumed; }

} // namespace quorvane::engine

// Reads a text file line by line, or character by character within a line, as Unicode characters.
#pragma once

#include "engine/TextDecoding.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::engine {

// A line ends at CR LF, at CR or at a lone LF; the end is not part of the line. The file is read as UTF-8
// when all of it is well-formed UTF-8, else as Windows-1252. A leading UTF-8 byte-order mark and a final
// Ctrl-Z (the DOS end-of-file mark) are not characters of the text.
//
// Memory stays the same whatever the length of the file or of a line: the text is read in pieces, and the
// character set is checked by a second pass in pieces (checkStep) that runs ahead of the reading. Up to the
// first byte outside ASCII both character sets read alike, so only that byte has to wait for the check.
class LineReader {
public:
    // Opens the file; on failure `reason` says why.
    bool open(const std::filesystem::path &path, std::string &reason);

    // Checks one more piece of the character set; false once the whole file has been checked.
    bool checkStep();
    // Called between the pieces of a check that a byte outside ASCII has to wait for; answering false gives
    // up the check and ends the reading there, as at the end of the file.
    void setBetweenChecks(std::function<bool()> betweenChecks) { m_betweenChecks = std::move(betweenChecks); }

    // Reads the next character of the current line; false at the line's end (its line end consumed), at the
    // end of the file or when reading failed. The next call reads the next line.
    bool readInLine(char32_t &ch);
    // Reads the next line whole into `line`; false once the end has been reached or reading failed.
    bool readLine(std::u32string &line);

    // True once the last character has been consumed, so already right after the last line was read.
    bool atEnd() const;
    bool failed() const { return m_failed; }
    // Known once the whole file has been checked.
    std::optional<bool> utf8() const;
    // Where the file stopped being UTF-8, when it is not.
    std::optional<std::uint64_t> firstInvalidOffset() const { return m_validator.firstInvalidOffset(); }
    std::uint64_t consumed() const;
    std::uint64_t size() const { return m_size; }

private:
    void ensure(std::size_t count);
    bool decide();
    bool readCharacter(char32_t &ch);
    bool nextByteIs(std::uint8_t byte);

    std::ifstream m_file;
    std::vector<std::uint8_t> m_buffer;
    std::size_t m_pos = 0;
    std::size_t m_len = 0;
    std::uint64_t m_size = 0;
    std::uint64_t m_contentEnd = 0; // the size without a final Ctrl-Z
    std::uint64_t m_fetched = 0;    // bytes read from the file so far
    std::uint64_t m_consumed = 0;
    bool m_failed = false;
    bool m_exhausted = false;

    std::ifstream m_checkFile;
    std::vector<std::uint8_t> m_checkBuffer;
    std::uint64_t m_checked = 0;
    bool m_checkDone = false;
    Utf8Validator m_validator;
    std::function<bool()> m_betweenChecks;
};

} // namespace quorvane::engine

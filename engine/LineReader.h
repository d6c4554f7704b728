// Reads a text file line by line, in pieces, as Unicode characters.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace quorvane::engine {

// A line ends at CR LF, at CR or at a lone LF; the end is not part of the line. The file is read as UTF-8
// when all of it is well-formed UTF-8, else as Windows-1252. A leading UTF-8 byte-order mark and a final
// Ctrl-Z (the DOS end-of-file mark) are not characters of the text.
class LineReader {
public:
    // Opens the file and checks its character set; on failure `reason` says why.
    bool open(const std::filesystem::path &path, std::string &reason);

    // Reads the next line into `line`; false once the end has been reached or reading failed.
    bool readLine(std::u32string &line);

    // True once the last character has been consumed, so already right after the last line was read.
    bool atEnd() const;
    bool failed() const { return m_failed; }
    bool utf8() const { return m_utf8; }
    std::uint64_t consumed() const;
    std::uint64_t size() const { return m_size; }

private:
    bool checkWholeFile();
    void ensure(std::size_t count);
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
    bool m_utf8 = false;
    bool m_failed = false;
    bool m_exhausted = false;
};

} // namespace quorvane::engine

// The hex dump transfer: a binary image typed word by word, four hexadecimal digits and a space each.
#include "engine/TransferContext.h"

#include <array>
#include <optional>
#include <vector>

namespace quorvane::engine {

namespace {

constexpr std::size_t kChunkSize = 64 * 1024;
constexpr std::u16string_view kHexDigits = u"0123456789ABCDEF";

bool typeByte(TransferContext &context, std::uint8_t byte) {
    for (const unsigned nibble : {unsigned{byte} >> 4u, unsigned{byte} & 0x0Fu}) {
        if (!context.type(kHexDigits.substr(nibble, 1))) {
            return false;
        }
        context.hexCharWait();
    }
    return true;
}

// The stop check comes before each word, so a word once begun is typed whole with its space and wait.
std::optional<TransferEnd> sendWord(TransferContext &context, std::uint8_t high, std::uint8_t low) {
    if (context.stopRequested()) {
        return TransferEnd::Stopped;
    }
    if (!typeByte(context, high) || !typeByte(context, low) || !context.type(u" ")) {
        return context.interruption();
    }
    context.lineWait();
    return std::nullopt;
}

} // namespace

// Read in pieces so that an image larger than memory streams like a small one. An odd last byte gets "00"
// as its low byte, so that it lands at its own address.
SenderResult SendHexDumpFile(TransferContext &context, std::istream &file, std::uint64_t size) {
    std::vector<char> chunk(kChunkSize);
    int high = -1; // the first byte of a word whose second has not been read yet
    std::uint64_t done = 0;
    while (file.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || file.gcount() > 0) {
        const auto count = static_cast<std::size_t>(file.gcount());
        for (std::size_t i = 0; i < count; ++i) {
            const auto byte = static_cast<std::uint8_t>(chunk[i]);
            if (high < 0) {
                high = byte;
                continue;
            }
            if (const auto end = sendWord(context, static_cast<std::uint8_t>(high), byte)) {
                return {*end, {}};
            }
            high = -1;
            done += 2;
            context.host().progress(done, size);
        }
    }
    if (file.bad()) {
        return {TransferEnd::ReadFailed, {}};
    }
    if (high >= 0) {
        if (const auto end = sendWord(context, static_cast<std::uint8_t>(high), 0)) {
            return {*end, {}};
        }
        context.host().progress(done + 1, size);
    }
    if (!context.type(kCarriageReturn)) {
        return {context.interruption(), {}};
    }
    return {TransferEnd::Completed, {}};
}

} // namespace quorvane::engine

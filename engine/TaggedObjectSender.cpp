// The tagged object transfer: each record's load addresses and data words typed into the monitor's memory command.
#include "engine/LineReader.h"
#include "engine/TransferContext.h"

#include <optional>

namespace quorvane::engine {

namespace {

constexpr std::size_t kHeaderFieldLength = 13;
constexpr std::size_t kWordFieldLength = 5;

bool isHexDigit(char32_t ch) {
    return (ch >= U'0' && ch <= U'9') || (ch >= U'A' && ch <= U'F') || (ch >= U'a' && ch <= U'f');
}

// The four characters after the tag at `position`, when they are all hexadecimal digits. Anything else typed
// at the monitor would do harm: "~" is Enter and closes the memory command, "+" a modifier.
std::optional<std::u16string> wordDigits(const std::u32string &record, std::size_t position) {
    if (record.size() < position + kWordFieldLength) {
        return std::nullopt;
    }
    std::u16string digits;
    for (std::size_t i = 1; i < kWordFieldLength; ++i) {
        const char32_t ch = record[position + i];
        if (!isHexDigit(ch)) {
            return std::nullopt;
        }
        digits.push_back(static_cast<char16_t>(ch));
    }
    return digits;
}

SenderResult badField(std::size_t lineNumber, char32_t tag) {
    const char tagText = tag == U'9' ? '9' : 'B';
    return {TransferEnd::Malformed,
            "Line " + std::to_string(lineNumber) + " of the object code file has a \"" + tagText +
                "\" field that does not hold four hexadecimal digits. The transfer has ended before that field."};
}

// Each string of the memory command sequence is followed by a line wait: the monitor runs a delay loop after
// the carriage return that ends a command and loses what arrives meanwhile.
bool typeMemoryCommand(TransferContext &context, std::u16string_view address) {
    const std::u16string_view command = context.host().tibugSelected() ? u"M" : u"IM ";
    const std::u16string_view strings[] = {
        kCarriageReturn,      command,        address.substr(0, 1), address.substr(1, 1), address.substr(2, 1),
        address.substr(3, 1), kCarriageReturn};
    for (const std::u16string_view keys : strings) {
        if (!context.type(keys)) {
            return false;
        }
        context.lineWait();
    }
    return true;
}

bool typeDataWord(TransferContext &context, std::u16string_view word) {
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (!context.type(word.substr(i, 1))) {
            return false;
        }
        context.hexCharWait();
    }
    if (!context.type(u" ")) {
        return false;
    }
    context.lineWait();
    return true;
}

// Runs the fields of one record; a result means the transfer ends with it.
std::optional<SenderResult> sendRecord(TransferContext &context, const std::u32string &record, std::size_t lineNumber,
                                       std::uint64_t consumed, std::uint64_t size) {
    std::size_t position = 0;
    for (;;) {
        if (context.stopRequested()) {
            return SenderResult{TransferEnd::Stopped, {}};
        }
        const char32_t tag = position < record.size() ? record[position] : U'\0';
        if (tag == U'0') {
            position += kHeaderFieldLength;
            continue;
        }
        if (tag == U'7') {
            return std::nullopt;
        }
        if (tag == U':') {
            if (!context.type(kCarriageReturn)) {
                return SenderResult{context.interruption(), {}};
            }
            return SenderResult{TransferEnd::Completed, {}};
        }
        if (tag != U'9' && tag != U'B') {
            return SenderResult{TransferEnd::UnrecognisedTag, {}};
        }
        const auto digits = wordDigits(record, position);
        if (!digits) {
            return badField(lineNumber, tag);
        }
        const bool typed = tag == U'B' ? typeDataWord(context, *digits)
                                       : context.host().ignoreAddressTags() || typeMemoryCommand(context, *digits);
        if (!typed) {
            return SenderResult{context.interruption(), {}};
        }
        position += kWordFieldLength;
        context.host().progress(consumed, size);
    }
}

} // namespace

SenderResult SendTaggedObjectFile(TransferContext &context, LineReader &file) {
    std::u32string record;
    for (std::size_t lineNumber = 1;; ++lineNumber) {
        if (context.stopRequested()) {
            return {TransferEnd::Stopped, {}};
        }
        if (!file.readLine(record)) {
            if (file.failed()) {
                return {TransferEnd::ReadFailed, {}};
            }
            return {TransferEnd::Malformed, "The object code file ends without an end-of-module record (a line "
                                            "beginning with \":\"). What was typed before stays typed."};
        }
        context.host().progress(file.consumed(), file.size());
        if (auto end = sendRecord(context, record, lineNumber, file.consumed(), file.size())) {
            return *end;
        }
    }
}

} // namespace quorvane::engine

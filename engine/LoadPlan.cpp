// Reading an object file or a binary image into the runs of words a monitor transfer stores.
#include "engine/LoadPlan.h"

#include "engine/InputFile.h"
#include "engine/LineReader.h"

#include <iterator>

namespace quorvane::engine {

namespace {

constexpr std::size_t kHeaderFieldLength = 13;
constexpr std::size_t kWordFieldLength = 5;

std::optional<std::uint16_t> wordField(const std::u32string &record, std::size_t position) {
    if (record.size() < position + kWordFieldLength) {
        return std::nullopt;
    }
    unsigned value = 0;
    for (std::size_t i = 1; i < kWordFieldLength; ++i) {
        const char32_t ch = record[position + i];
        const int digit = ch >= U'0' && ch <= U'9'   ? static_cast<int>(ch - U'0')
                          : ch >= U'A' && ch <= U'F' ? static_cast<int>(ch - U'A' + 10)
                          : ch >= U'a' && ch <= U'f' ? static_cast<int>(ch - U'a' + 10)
                                                     : -1;
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * 16 + static_cast<unsigned>(digit);
    }
    return static_cast<std::uint16_t>(value);
}

SenderResult badField(std::size_t lineNumber, char32_t tag) {
    return {TransferEnd::Malformed, "Line " + std::to_string(lineNumber) + " of the object code file has a \"" +
                                        (tag == U'9' ? "9" : "B") +
                                        "\" field that does not hold four hexadecimal digits. Nothing was sent."};
}

// A run that starts where the last one ends continues it, so a load address that changes nothing costs no
// memory command.
void startRun(LoadPlan &plan, std::uint16_t address) {
    if (!plan.runs.empty()) {
        const LoadRun &last = plan.runs.back();
        if (static_cast<std::uint16_t>(last.address + 2 * last.words.size()) == address) {
            return;
        }
        if (last.words.empty()) {
            plan.runs.pop_back();
        }
    }
    plan.runs.push_back({address, {}, {}});
}

// Runs the fields of one record; a result means the file ends there.
std::optional<SenderResult> readRecord(const std::u32string &record, std::size_t lineNumber, bool ignoreTags,
                                       LoadPlan &plan) {
    for (std::size_t position = 0;;) {
        const char32_t tag = position < record.size() ? record[position] : U'\0';
        if (tag == U'0') {
            position += kHeaderFieldLength;
            continue;
        }
        if (tag == U'7') {
            return std::nullopt;
        }
        if (tag == U':') {
            return SenderResult{TransferEnd::Completed, {}};
        }
        if (tag != U'9' && tag != U'B') {
            return SenderResult{TransferEnd::UnrecognisedTag, {}};
        }
        const auto field = wordField(record, position);
        if (!field) {
            return badField(lineNumber, tag);
        }
        if (tag == U'9' && !ignoreTags) {
            startRun(plan, static_cast<std::uint16_t>(*field & 0xFFFEu));
        } else if (tag == U'B') {
            if (plan.runs.empty()) {
                return SenderResult{TransferEnd::Malformed,
                                    "Line " + std::to_string(lineNumber) +
                                        " of the object code file holds a data word before any load address. Give "
                                        "the load address (--address). Nothing was sent."};
            }
            plan.runs.back().words.push_back(*field);
            plan.runs.back().lines.push_back(lineNumber);
        }
        position += kWordFieldLength;
    }
}

} // namespace

std::size_t LoadPlan::wordCount() const {
    std::size_t count = 0;
    for (const LoadRun &run : runs) {
        count += run.words.size();
    }
    return count;
}

SenderResult readObjectPlan(const std::filesystem::path &path, bool ignoreAddressTags,
                            std::optional<std::uint16_t> startAddress, LoadPlan &plan) {
    LineReader file;
    std::string reason;
    if (!file.open(path, reason)) {
        return {TransferEnd::ReadFailed, reason};
    }
    if (startAddress) {
        plan.runs.push_back({static_cast<std::uint16_t>(*startAddress & 0xFFFEu), {}, {}});
    }
    std::u32string record;
    for (std::size_t lineNumber = 1;; ++lineNumber) {
        if (!file.readLine(record)) {
            if (file.failed()) {
                return {TransferEnd::ReadFailed, std::string(kReadErrorReason)};
            }
            return {TransferEnd::Malformed, "The object code file ends without an end-of-module record (a line "
                                            "beginning with \":\"). Nothing was sent."};
        }
        if (auto end = readRecord(record, lineNumber, ignoreAddressTags, plan)) {
            if (!plan.runs.empty() && plan.runs.back().words.empty()) {
                plan.runs.pop_back();
            }
            return *end;
        }
    }
}

SenderResult readHexDumpPlan(const std::filesystem::path &path, std::uint16_t startAddress, LoadPlan &plan) {
    std::ifstream file;
    std::string reason;
    if (!openInputFile(path, file, reason)) {
        return {TransferEnd::ReadFailed, reason};
    }
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad()) {
        return {TransferEnd::ReadFailed, std::string(kReadErrorReason)};
    }
    LoadRun run{static_cast<std::uint16_t>(startAddress & 0xFFFEu), {}, {}};
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const auto high = static_cast<std::uint8_t>(bytes[i]);
        const auto low = i + 1 < bytes.size() ? static_cast<std::uint8_t>(bytes[i + 1]) : std::uint8_t{0};
        run.words.push_back(static_cast<std::uint16_t>(high << 8 | low));
    }
    if (!run.words.empty()) {
        plan.runs.push_back(std::move(run));
    }
    return {TransferEnd::Completed, {}};
}

} // namespace quorvane::engine

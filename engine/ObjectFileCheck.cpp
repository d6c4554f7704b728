// The whole-file check before an object code transfer types anything, and the messages for each problem.
#include "engine/ObjectFileCheck.h"

#include "engine/InputFile.h"
#include "engine/LineReader.h"
#include "engine/SendOperation.h"

#include <cstdio>

namespace quorvane::engine {

namespace {

// Compressed object code starts with this byte; the rest is binary.
constexpr char32_t kCompressedMark = U'\x01';

std::string hex4(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(value));
    return text;
}

std::string tagText(char32_t tag) {
    if (tag > U' ' && tag < 0x7F) {
        return std::string("\"") + static_cast<char>(tag) + "\"";
    }
    return tag == U' ' ? "a blank" : "U+" + hex4(tag);
}

std::string outcome(bool typedBefore) {
    return typedBefore ? " The transfer has ended before it; what was typed before stays typed."
                       : " Nothing was typed.";
}

std::string at(const RecordPlace &place, std::size_t column) {
    return describePlace(place) + " of the object code file, at character " + std::to_string(column) + ",";
}

SenderResult malformed(std::string text) { return {TransferEnd::Malformed, std::move(text)}; }

std::optional<SenderResult> relocatableRefusal(const ObjectRecord &record, const RecordPlace &place) {
    for (const ObjectField &field : record.fields) {
        if (field.kind == FieldKind::RelocatableLoadAddress || field.kind == FieldKind::RelocatableData) {
            const char *what =
                field.kind == FieldKind::RelocatableData ? "a relocatable data word" : "a relocatable load address";
            return malformed(at(place, field.column) + " holds " + what + " (tag " + tagText(field.tag) +
                             "): a memory command cannot place relocatable code, which needs a load bias. Nothing "
                             "was typed. Send the file to a loader running on the board instead (the file type "
                             "[Tagged Object Code - Send To Loader], or --type loader).");
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<SenderResult> recordRefusal(const ObjectRecord &record, const RecordPlace &place, bool typedBefore) {
    const std::size_t column = record.problemColumn;
    switch (record.problem) {
    case RecordProblem::None:
        return relocatableRefusal(record, place);
    case RecordProblem::UnrecognisedTag:
        return SenderResult{TransferEnd::UnrecognisedTag,
                            std::string(kUnrecognisedTagText) + "\r\n\r\n" + at(place, column) + " holds " +
                                tagText(record.problemTag) + ", which is not a tag." + outcome(typedBefore)};
    case RecordProblem::NoRecordEnd:
        return SenderResult{TransferEnd::UnrecognisedTag,
                            std::string(kUnrecognisedTagText) + "\r\n\r\n" + describePlace(place) +
                                (column == 1 ? " is empty where a record should be."
                                             : " ends after character " + std::to_string(column - 1) +
                                                   " without a \"7\" checksum field.") +
                                outcome(typedBefore)};
    case RecordProblem::BadDigits:
        return malformed(at(place, column) + " has a " + tagText(record.problemTag) +
                         " field that does not hold four hexadecimal digits." + outcome(typedBefore));
    case RecordProblem::BadChecksum:
        return malformed(at(place, column) + " has the checksum " + hex4(record.checksum) +
                         ", but its characters need " + hex4(record.expectedChecksum) +
                         "; the board's loader would refuse the record too." + outcome(typedBefore));
    }
    return std::nullopt;
}

SenderResult missingModuleEnd(bool typedBefore) {
    return malformed("The object code file ends without an end-of-module record (a line beginning with \":\")." +
                     std::string(typedBefore ? " What was typed before stays typed." : " Nothing was typed."));
}

std::string entryNotice(const ObjectField &entry) {
    const std::string address(entry.digits.begin(), entry.digits.end());
    if (entry.kind == FieldKind::RelocatableEntry) {
        return "The program's entry is at " + address + " from the start of its relocatable part.";
    }
    return "The program's entry is at " + address + ".";
}

SenderResult checkObjectFile(const std::filesystem::path &path, ObjectTransfer transfer) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (!error && size > kLargestObjectFile) {
        return malformed("The file is " + std::to_string(size) +
                         " bytes long, too long for 990 tagged object code: at most 4 MB is sent, and a board's "
                         "whole 64 KB memory takes about 200 KB. Nothing was typed.");
    }
    LineReader file;
    std::string reason;
    if (!file.open(path, reason)) {
        return {TransferEnd::ReadFailed, reason};
    }
    ObjectRecordReader records(file);
    std::u32string record;
    for (bool first = true; records.next(record); first = false) {
        if (first && !record.empty() && record.front() == kCompressedMark) {
            return malformed("The file holds compressed (binary) 990 object code (its first byte is 01), which is "
                             "not text and cannot be typed. Nothing was typed; have the assembler write "
                             "uncompressed object code.");
        }
        if (transfer == ObjectTransfer::Loader) {
            return {};
        }
        const ObjectRecord parsed = parseObjectRecord(record);
        if (auto refusal = recordRefusal(parsed, records.place(), false)) {
            return *refusal;
        }
        if (parsed.fields.back().kind == FieldKind::ModuleEnd) {
            return {};
        }
    }
    if (records.failed()) {
        return {TransferEnd::ReadFailed, std::string(kReadErrorReason)};
    }
    return transfer == ObjectTransfer::Loader ? SenderResult{} : missingModuleEnd(false);
}

} // namespace quorvane::engine

// The tag rules of 990 tagged object code: each tag's field length and what its field carries.
#include "engine/ObjectFields.h"

#include <optional>

namespace quorvane::engine {

namespace {

constexpr std::size_t kDigitCount = 4;

struct TagRule {
    char32_t tag;
    FieldKind kind;
    std::size_t length; // tag included
    bool hexDigits;     // the four characters after the tag are read as a number
};

// Field lengths as assemblers write them: a 4-digit value, with a 6-character symbol for references and
// definitions and an 8-character name for the module header.
constexpr TagRule kTagRules[] = {
    {U'0', FieldKind::Skipped, 13, false},
    {U'1', FieldKind::Entry, 5, true},
    {U'2', FieldKind::RelocatableEntry, 5, true},
    {U'3', FieldKind::Skipped, 11, false},
    {U'4', FieldKind::Skipped, 11, false},
    {U'5', FieldKind::Skipped, 11, false},
    {U'6', FieldKind::Skipped, 11, false},
    {U'7', FieldKind::Checksum, 5, true},
    {U'8', FieldKind::Skipped, 5, false},
    {U'9', FieldKind::LoadAddress, 5, true},
    {U'A', FieldKind::RelocatableLoadAddress, 5, true},
    {U'B', FieldKind::Data, 5, true},
    {U'C', FieldKind::RelocatableData, 5, true},
    {U'F', FieldKind::RecordEnd, 1, false},
    {U':', FieldKind::ModuleEnd, 1, false},
};

const TagRule *ruleFor(char32_t tag) {
    for (const TagRule &rule : kTagRules) {
        if (rule.tag == tag) {
            return &rule;
        }
    }
    return nullptr;
}

std::optional<std::uint16_t> hexValue(char32_t ch) {
    if (ch >= U'0' && ch <= U'9') {
        return static_cast<std::uint16_t>(ch - U'0');
    }
    if (ch >= U'A' && ch <= U'F') {
        return static_cast<std::uint16_t>(ch - U'A' + 10);
    }
    if (ch >= U'a' && ch <= U'f') {
        return static_cast<std::uint16_t>(ch - U'a' + 10);
    }
    return std::nullopt;
}

// The original monitors take upper-case digits only, so the digits are kept in upper case whatever the file
// holds.
bool readDigits(std::u32string_view record, std::size_t position, ObjectField &field, std::uint16_t &value) {
    if (record.size() < position + 1 + kDigitCount) {
        return false;
    }
    value = 0;
    for (std::size_t i = 1; i <= kDigitCount; ++i) {
        const auto digit = hexValue(record[position + i]);
        if (!digit) {
            return false;
        }
        value = static_cast<std::uint16_t>(value << 4 | *digit);
        field.digits.push_back(static_cast<char16_t>(u"0123456789ABCDEF"[*digit]));
    }
    return true;
}

// The two's complement of the sum of the character codes from the record's start through the "7" tag.
std::uint16_t checksumThrough(std::u32string_view record, std::size_t sevenPosition) {
    std::uint16_t sum = 0;
    for (std::size_t i = 0; i <= sevenPosition; ++i) {
        sum = static_cast<std::uint16_t>(sum + record[i]);
    }
    return static_cast<std::uint16_t>(-sum);
}

ObjectRecord withProblem(ObjectRecord parsed, RecordProblem problem, std::size_t position, char32_t tag) {
    parsed.problem = problem;
    parsed.problemColumn = position + 1;
    parsed.problemTag = tag;
    return parsed;
}

} // namespace

ObjectRecord parseObjectRecord(std::u32string_view record) {
    ObjectRecord parsed;
    std::size_t position = 0;
    for (;;) {
        if (position >= record.size()) {
            return withProblem(std::move(parsed), RecordProblem::NoRecordEnd, position, 0);
        }
        const char32_t tag = record[position];
        const TagRule *rule = ruleFor(tag);
        if (!rule) {
            return withProblem(std::move(parsed), RecordProblem::UnrecognisedTag, position, tag);
        }
        ObjectField field{tag, rule->kind, position + 1, {}};
        std::uint16_t value = 0;
        if (rule->hexDigits && !readDigits(record, position, field, value)) {
            return withProblem(std::move(parsed), RecordProblem::BadDigits, position, tag);
        }
        if (rule->kind == FieldKind::Checksum) {
            parsed.checksum = value;
            parsed.expectedChecksum = checksumThrough(record, position);
            if (value != parsed.expectedChecksum) {
                return withProblem(std::move(parsed), RecordProblem::BadChecksum, position, tag);
            }
        }
        parsed.fields.push_back(std::move(field));
        if (rule->kind == FieldKind::Checksum || rule->kind == FieldKind::RecordEnd ||
            rule->kind == FieldKind::ModuleEnd) {
            return parsed;
        }
        position += rule->length;
    }
}

} // namespace quorvane::engine

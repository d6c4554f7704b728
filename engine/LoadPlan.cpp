// Reading an object file or a binary image into the runs of words a monitor transfer stores.
#include "engine/LoadPlan.h"

#include "engine/InputFile.h"
#include "engine/LineReader.h"
#include "engine/ObjectFileCheck.h"
#include "engine/ObjectRecordReader.h"

#include <iterator>

namespace quorvane::engine {

namespace {

std::uint16_t wordValue(std::u16string_view digits) {
    unsigned value = 0;
    for (const char16_t digit : digits) {
        value = value * 16 + static_cast<unsigned>(digit <= u'9' ? digit - u'0' : digit - u'A' + 10);
    }
    return static_cast<std::uint16_t>(value);
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

// Takes the fields of one record into the plan; a result means the file ends there.
std::optional<SenderResult> readFields(const ObjectRecord &record, const RecordPlace &place, bool ignoreTags,
                                       LoadPlan &plan) {
    for (const ObjectField &field : record.fields) {
        if (field.kind == FieldKind::LoadAddress && !ignoreTags) {
            startRun(plan, static_cast<std::uint16_t>(wordValue(field.digits) & 0xFFFEu));
        } else if (field.kind == FieldKind::Data) {
            if (plan.runs.empty()) {
                return SenderResult{TransferEnd::Malformed,
                                    describePlace(place) +
                                        " of the object code file holds a data word before any load address. Give "
                                        "the load address (--address). Nothing was sent."};
            }
            plan.runs.back().words.push_back(wordValue(field.digits));
            plan.runs.back().lines.push_back(place.line);
        } else if (field.kind == FieldKind::Entry || field.kind == FieldKind::RelocatableEntry) {
            plan.entryNotice = entryNotice(field);
        } else if (field.kind == FieldKind::ModuleEnd) {
            if (!plan.runs.empty() && plan.runs.back().words.empty()) {
                plan.runs.pop_back();
            }
            return SenderResult{TransferEnd::Completed, {}};
        }
    }
    return std::nullopt;
}

} // namespace

std::size_t LoadPlan::wordCount() const {
    std::size_t count = 0;
    for (const LoadRun &run : runs) {
        count += run.words.size();
    }
    return count;
}

// The same whole-file check as the typed transfer, so a file that would not be typed is not sent either.
SenderResult readObjectPlan(const std::filesystem::path &path, bool ignoreAddressTags,
                            std::optional<std::uint16_t> startAddress, LoadPlan &plan) {
    if (SenderResult checked = checkObjectFile(path, ObjectTransfer::Monitor); checked.end != TransferEnd::Completed) {
        return checked;
    }
    LineReader file;
    std::string reason;
    if (!file.open(path, reason)) {
        return {TransferEnd::ReadFailed, reason};
    }
    if (startAddress) {
        plan.runs.push_back({static_cast<std::uint16_t>(*startAddress & 0xFFFEu), {}, {}});
    }
    ObjectRecordReader records(file);
    std::u32string record;
    while (records.next(record)) {
        const ObjectRecord parsed = parseObjectRecord(record);
        if (auto refusal = recordRefusal(parsed, records.place(), false)) {
            return *refusal;
        }
        if (auto end = readFields(parsed, records.place(), ignoreAddressTags, plan)) {
            return *end;
        }
    }
    if (records.failed()) {
        return {TransferEnd::ReadFailed, std::string(kReadErrorReason)};
    }
    return missingModuleEnd(false);
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

// The tagged object transfer: each record's load addresses and data words typed into the monitor's memory command.
#include "engine/LineReader.h"
#include "engine/ObjectFileCheck.h"
#include "engine/ObjectRecordReader.h"
#include "engine/TransferContext.h"

#include <optional>

namespace quorvane::engine {

namespace {

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

struct TransferState {
    std::optional<ObjectField> entry;
    bool typed = false;
};

bool typeField(TransferContext &context, const ObjectField &field, TransferState &state) {
    switch (field.kind) {
    case FieldKind::LoadAddress:
        if (context.host().ignoreAddressTags()) {
            return true;
        }
        state.typed = true;
        return typeMemoryCommand(context, field.digits);
    case FieldKind::Data:
        state.typed = true;
        return typeDataWord(context, field.digits);
    case FieldKind::Entry:
    case FieldKind::RelocatableEntry:
        state.entry = field;
        return true;
    default:
        return true;
    }
}

// Runs the fields of one record; a result means the transfer ends with it. The file passed its check before
// the transfer began, so a refusal here means that it changed since.
std::optional<SenderResult> sendRecord(TransferContext &context, const ObjectRecordReader &records,
                                       std::u32string_view record, TransferState &state, std::uint64_t consumed,
                                       std::uint64_t size) {
    const ObjectRecord parsed = parseObjectRecord(record);
    if (auto refusal = recordRefusal(parsed, records.place(), state.typed)) {
        return refusal;
    }
    for (const ObjectField &field : parsed.fields) {
        if (context.stopRequested()) {
            return SenderResult{TransferEnd::Stopped, {}};
        }
        if (field.kind == FieldKind::ModuleEnd) {
            if (!context.type(kCarriageReturn)) {
                return SenderResult{context.interruption(), {}};
            }
            return SenderResult{TransferEnd::Completed, state.entry ? entryNotice(*state.entry) : std::string()};
        }
        if (!typeField(context, field, state)) {
            return SenderResult{context.interruption(), {}};
        }
        if (field.kind == FieldKind::LoadAddress || field.kind == FieldKind::Data) {
            context.host().progress(consumed, size);
        }
    }
    return std::nullopt;
}

} // namespace

SenderResult SendTaggedObjectFile(TransferContext &context, LineReader &file) {
    ObjectRecordReader records(file);
    TransferState state;
    std::u32string record;
    for (;;) {
        if (context.stopRequested()) {
            return {TransferEnd::Stopped, {}};
        }
        if (!records.next(record)) {
            return records.failed() ? SenderResult{TransferEnd::ReadFailed, {}} : missingModuleEnd(state.typed);
        }
        context.host().progress(file.consumed(), file.size());
        if (auto end = sendRecord(context, records, record, state, file.consumed(), file.size())) {
            return *end;
        }
    }
}

} // namespace quorvane::engine

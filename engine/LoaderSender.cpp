// The loader transfer: every record of the object code file typed as it stands, a carriage return between them.
#include "engine/CharacterKeys.h"
#include "engine/LineReader.h"
#include "engine/ObjectRecordReader.h"
#include "engine/TransferContext.h"

namespace quorvane::engine {

// The board's loader checks each record, so nothing is checked here. The pacing is fixed: the factor boxes
// are disabled while the loader is the chosen type. The stop check comes before each record, so a record once
// begun is typed to its end with its carriage return and its wait; none follows the last record.
SenderResult SendLoaderFile(TransferContext &context, LineReader &file) {
    ObjectRecordReader records(file);
    std::u32string record;
    while (!records.atEnd()) {
        if (context.stopRequested()) {
            return {TransferEnd::Stopped, {}};
        }
        if (!records.next(record)) {
            break;
        }
        context.host().progress(file.consumed(), file.size());
        for (const char32_t ch : record) {
            if (!context.type(keySequenceFor(ch))) {
                return {context.interruption(), {}};
            }
            context.pacer().CharDelay(1000.0f, 1.0f);
        }
        if (!records.atEnd() && !context.type(kCarriageReturn)) {
            return {context.interruption(), {}};
        }
        context.pacer().Delay(0.1f, 0.5f);
    }
    return {records.failed() ? TransferEnd::ReadFailed : TransferEnd::Completed, {}};
}

} // namespace quorvane::engine

// The text transfer: every character of every line typed as itself, a carriage return between lines.
#include "engine/CharacterKeys.h"
#include "engine/LineReader.h"
#include "engine/TransferContext.h"

namespace quorvane::engine {

namespace {

struct LineWaits {
    void (*afterCharacter)(TransferContext &);
    void (*afterLine)(TransferContext &);
};

// The stop check comes before each line is read, so a line once begun is typed to its end with its carriage
// return and its wait. No carriage return follows the last line.
SenderResult sendLines(TransferContext &context, LineReader &file, LineWaits waits) {
    std::u32string line;
    while (!file.atEnd()) {
        if (context.stopRequested()) {
            return {TransferEnd::Stopped, {}};
        }
        if (!file.readLine(line)) {
            break;
        }
        context.host().progress(file.consumed(), file.size());
        for (const char32_t ch : line) {
            if (!context.type(keySequenceFor(ch))) {
                return {context.interruption(), {}};
            }
            waits.afterCharacter(context);
        }
        if (!file.atEnd() && !context.type(kCarriageReturn)) {
            return {context.interruption(), {}};
        }
        waits.afterLine(context);
    }
    return {file.failed() ? TransferEnd::ReadFailed : TransferEnd::Completed, {}};
}

void textCharacterWait(TransferContext &context) { context.textCharWait(); }

void textLineWait(TransferContext &context) { context.lineWait(); }

} // namespace

SenderResult SendTextFile(TransferContext &context, LineReader &file) {
    return sendLines(context, file, {textCharacterWait, textLineWait});
}

} // namespace quorvane::engine

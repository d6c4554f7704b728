// The text transfer: every character of every line typed as itself, a carriage return between lines.
#include "engine/CharacterKeys.h"
#include "engine/LineReader.h"
#include "engine/TextDecoding.h"
#include "engine/TransferContext.h"

namespace quorvane::engine {

namespace {

struct LineWaits {
    void (*afterCharacter)(TransferContext &);
    void (*afterLine)(TransferContext &);
};

// Types the rest of the current line, character by character as it is read, so that no line is ever held
// whole. Nothing when the line was typed to its end.
std::optional<TransferEnd> sendLine(TransferContext &context, LineReader &file, LineWaits waits, LeftOut &leftOut,
                                    std::uint64_t lineNumber) {
    char32_t ch = 0;
    for (std::uint64_t column = 1; file.readInLine(ch); ++column) {
        if (!typeable(ch)) {
            if (leftOut.count++ == 0) {
                leftOut.line = lineNumber;
                leftOut.column = column;
            }
            continue;
        }
        if (!context.type(keySequenceFor(ch))) {
            return context.interruption();
        }
        context.host().progress(file.consumed(), file.size());
        waits.afterCharacter(context);
    }
    return std::nullopt;
}

// The stop check comes before each line is read, so a line once begun is typed to its end with its carriage
// return and its wait. No carriage return follows the last line.
SenderResult sendLines(TransferContext &context, LineReader &file, LineWaits waits) {
    LeftOut leftOut;
    for (std::uint64_t lineNumber = 1; !file.atEnd(); ++lineNumber) {
        if (context.stopRequested()) {
            return {TransferEnd::Stopped, {}, leftOut};
        }
        if (const auto end = sendLine(context, file, waits, leftOut, lineNumber)) {
            return {*end, {}, leftOut};
        }
        if (file.failed()) {
            break;
        }
        context.host().progress(file.consumed(), file.size());
        if (!file.atEnd() && !context.type(kCarriageReturn)) {
            return {context.interruption(), {}, leftOut};
        }
        waits.afterLine(context);
    }
    return {file.failed() ? TransferEnd::ReadFailed : TransferEnd::Completed, {}, leftOut};
}

void textCharacterWait(TransferContext &context) { context.textCharWait(); }

void textLineWait(TransferContext &context) { context.lineWait(); }

} // namespace

SenderResult SendTextFile(TransferContext &context, LineReader &file) {
    return sendLines(context, file, {textCharacterWait, textLineWait});
}

} // namespace quorvane::engine

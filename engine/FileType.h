// The four transfers, one for each kind of file the board's monitors take.
#pragma once

namespace quorvane::engine {

enum class FileType {
    Loader,       // tagged object code, typed line by line for a loader running on the board
    TaggedObject, // tagged object code, stored word by word through the monitor's memory command
    HexDump,      // any file's bytes, stored word by word through the monitor's memory command
    Text,         // text, typed line by line
};

} // namespace quorvane::engine

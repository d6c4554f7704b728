// What the upload engine reads from its host (the main window, or the command line) at the moment of use,
// and what it tells the host. The engine copies none of these values: each is read when it is needed.
#pragma once

#include "engine/FileType.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane::engine {

class EngineHost {
public:
    virtual ~EngineHost() = default;

    // FileListBox: the selected entry (bare file name), or nothing when no entry is selected.
    virtual std::optional<std::string> selectedFile() = 0;
    // DirectoryListBox: the path of the folder shown (UTF-8).
    virtual std::string folderPath() = 0;
    // optFileType: which of the four transfers.
    virtual FileType fileType() = 0;
    // optTIBUG selected; false means EVMBUG.
    virtual bool tibugSelected() = 0;
    // The text that the chosen terminal's title contains: "Tera Term" (optTeraTerm) or "HyperTerminal"
    // (optHyperTerminal); the command line may name any other.
    virtual std::string terminalTitleTerm() = 0;
    virtual bool ignoreAddressTags() = 0;     // chkIgnoreAddressTags
    virtual std::string charFactorText() = 0; // txtMultFactorChar
    virtual std::string lineFactorText() = 0; // txtMultFactorLine

    // btnStop: visible while a transfer may go on; the STOP! click hides it.
    virtual bool stopVisible() = 0;
    virtual void setStopVisible(bool visible) = 0;

    // The host window's own caption, which the window walk skips; empty when there is no window.
    virtual std::string windowCaption() = 0;

    // Bytes of the file consumed so far, of how many. Through the Send driver the latest figures come at the next
    // pass of the event loop, never while the injector holds the desktop's input.
    virtual void progress(std::uint64_t done, std::uint64_t total) = 0;

    // True while the transfer holds because the user works in this program's own window; false when it goes on.
    virtual void holding(bool held) { (void)held; }

    // Something the user should know that needs no answer (which of two matching terminals was chosen, say).
    virtual void notice(std::string_view text) { (void)text; }

    // Ends the whole program at once (after the message for an unrecognised tag).
    virtual void endProgram() = 0;
};

} // namespace quorvane::engine

// The Send operation: finds the terminal window, opens the selected file and runs its transfer to the end.
#pragma once

#include "engine/EngineHost.h"
#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/Dialogs.h"
#include "platform/EventPump.h"
#include "platform/KeyInjector.h"
#include "platform/KeyboardLayout.h"
#include "platform/Timer.h"

#include <memory>

namespace quorvane::engine {

// The desktop and the event loop as the engine reaches them; all outlive the driver.
struct EngineServices {
    platform::Desktop &desktop;
    platform::KeyboardLayout &layout;
    platform::KeyInjector &injector;
    platform::EventPump &pump;
    platform::Timer &delayTimer;
    platform::Clock &clock;
    platform::Dialogs &dialogs;
};

// How one Send ended; only Completed counts as success.
enum class SendResult {
    Completed,         // the whole file was typed
    Stopped,           // STOP! was clicked
    NothingSelected,   // no file selected: the warning was shown
    AlreadyRunning,    // a transfer was under way: this Send was ignored
    TerminalNotFound,  // the chosen terminal's window could not be activated
    FileError,         // the file could not be opened or read
    MalformedFile,     // a tagged object file without its end record, a bad field or an unrecognised tag
    TerminalLost,      // the terminal window lost the focus and could not be activated again
    Untypable,         // the keyboard cannot type a character of the file: the transfer ended before it
    Abandoned,         // abandon() was called: the program is ending
    CharactersLeftOut, // typed to the end, but characters that no key produces were left out (and reported)
};

class SendDriver {
public:
    SendDriver(EngineHost &host, EngineServices services);
    ~SendDriver();
    SendDriver(const SendDriver &) = delete;
    SendDriver &operator=(const SendDriver &) = delete;

    // btnSend's click and the file list's double-click. Runs the transfer to its end, handling events
    // inside its waits; a Send that arrives from one of those events while a transfer runs is ignored.
    SendResult Send();

    // True from the moment the selection has been taken until the common end has run.
    bool running() const;

    // Ends a hold of the transfer (the user confirmed a factor box): the terminal is brought back and typing
    // goes on. Harmless when nothing holds.
    void resume();

    // For the program ending during a transfer: every wait returns at once and nothing more is typed;
    // the running Send goes through its common end and returns Abandoned. Harmless when idle.
    void abandon();

private:
    class Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace quorvane::engine

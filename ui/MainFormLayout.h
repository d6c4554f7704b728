// The main window's controls as data, for every face: name, kind, container, place in twips, text, font and
// state at start. The order is the keyboard's tab order, followed by the controls that take no focus, front
// to back.
#pragma once

#include <string>
#include <vector>

namespace quorvane::ui {

enum class ControlKind {
    Label,
    TitleBox,
    Frame,
    OptionButton,
    CheckBox,
    TextBox,
    PushButton,
    DriveList,
    FolderList,
    FileList,
    ComboBox, // a list to drop down whose box also takes typed text
    TextArea  // several lines, read-only
};
enum class ControlFont { Dialog, Presenter, Contact, Title, Version };
enum class TextAlign { Left, Centre, Right };

struct ControlLayout {
    std::string name; // btnSend, optFileType0 ... optFileType3, ...
    ControlKind kind;
    std::string container;        // the frame that holds it; empty: the window
    int left, top, width, height; // twips, relative to the container
    std::string text;
    ControlFont font = ControlFont::Dialog;
    TextAlign align = TextAlign::Left;
    bool enabled = true;
    bool visible = true;
    bool selected = false; // option buttons and the check box
};

const std::vector<ControlLayout> &mainFormLayout();

inline constexpr int kClientWidthTwips = 10785;
inline constexpr int kClientHeightTwips = 8430;
// With "Serial port" chosen the window grows downwards to show the serial line's frame under everything else.
inline constexpr int kSerialFrameTop = 8430;
inline constexpr int kSerialFrameHeight = 2310;
inline constexpr int kSerialClientHeightTwips = kSerialFrameTop + kSerialFrameHeight + 95;

struct Rgb {
    unsigned char red, green, blue;
};
inline constexpr Rgb kWindowColour{254, 253, 220};
inline constexpr Rgb kTitleBoxColour{255, 255, 192};
inline constexpr Rgb kPresenterColour{255, 0, 0};

// The factor controls that follow the file type, in the order the option handler sets them, and the check box.
inline constexpr const char *kDelayFactorControls[] = {"lblMultFactorChar", "lblMultFactorCharx", "txtMultFactorChar",
                                                       "lblMultFactorLine", "lblMultFactorLinex", "txtMultFactorLine"};

// "V1.8": the program's version as the title band shows it.
std::string versionCaption();

} // namespace quorvane::ui

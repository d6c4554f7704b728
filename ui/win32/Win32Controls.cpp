// Creation, placement, fonts and colours of the main window's controls.
#include "ui/win32/Win32Controls.h"

#include "platform/win32/Win32Text.h"

#include <commctrl.h>

#include <cmath>

namespace quorvane::ui::win32 {
namespace {

using platform::win32::toWide;

constexpr int kDropDownTwips = 2400; // the drive list's open list, below its box
constexpr UINT_PTR kSubclassId = 1;

int pixels(int twips, UINT dpi) { return static_cast<int>(std::lround(twips * static_cast<double>(dpi) / 1440.0)); }

int textWidth(HDC dc, HFONT font, std::wstring_view text) {
    const HGDIOBJ previous = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    SelectObject(dc, previous);
    return size.cx;
}

COLORREF rgb(Rgb colour) { return RGB(colour.red, colour.green, colour.blue); }

struct WindowKind {
    const wchar_t *windowClass;
    DWORD style;
    DWORD exStyle;
};

WindowKind kindOf(const ControlLayout &control) {
    const DWORD align = control.align == TextAlign::Centre  ? SS_CENTER
                        : control.align == TextAlign::Right ? SS_RIGHT
                                                            : SS_LEFT;
    switch (control.kind) {
    case ControlKind::Label:
        // Single-line labels are centred vertically in their box; the two-line factor labels wrap from the top.
        return {L"STATIC", align | SS_NOPREFIX | (control.height < 375 ? SS_CENTERIMAGE : 0), 0};
    case ControlKind::TitleBox:
        return {L"STATIC", SS_LEFT | WS_BORDER, 0};
    case ControlKind::Frame:
        return {L"BUTTON", BS_GROUPBOX, WS_EX_CONTROLPARENT};
    case ControlKind::OptionButton:
        return {L"BUTTON", BS_RADIOBUTTON | BS_MULTILINE | WS_TABSTOP, 0};
    case ControlKind::CheckBox:
        return {L"BUTTON", BS_AUTOCHECKBOX | BS_MULTILINE | WS_TABSTOP | WS_GROUP, 0};
    case ControlKind::TextBox:
        return {L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, WS_EX_CLIENTEDGE};
    case ControlKind::PushButton:
        return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 0};
    case ControlKind::DriveList:
        return {L"COMBOBOX", CBS_DROPDOWNLIST | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP | WS_GROUP, 0};
    case ControlKind::FolderList:
    case ControlKind::FileList:
        return {L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP | WS_GROUP,
                WS_EX_CLIENTEDGE};
    case ControlKind::ComboBox:
        return {L"COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP | WS_GROUP, 0};
    case ControlKind::TextArea:
        return {L"EDIT",
                ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP |
                    WS_GROUP,
                WS_EX_CLIENTEDGE};
    }
    return {L"STATIC", 0, 0};
}

// A frame is a container: its controls' notifications and colour requests go on to the main window, and it
// paints its inside in the window's colour.
LRESULT CALLBACK frameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    switch (message) {
    case WM_COMMAND:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        return SendMessageW(GetAncestor(frame, GA_ROOT), message, wParam, lParam);
    case WM_ERASEBKGND: {
        RECT inside;
        GetClientRect(frame, &inside);
        FillRect(reinterpret_cast<HDC>(wParam), &inside, reinterpret_cast<HBRUSH>(data));
        return 1;
    }
    default:
        return DefSubclassProc(frame, message, wParam, lParam);
    }
}

// Enter on the folder list opens the highlighted folder, as a double-click does.
LRESULT CALLBACK folderListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_GETDLGCODE && lParam != 0) {
        const MSG *pending = reinterpret_cast<const MSG *>(lParam);
        if (pending->message == WM_KEYDOWN && pending->wParam == VK_RETURN) {
            return DLGC_WANTMESSAGE | DefSubclassProc(list, message, wParam, lParam);
        }
    }
    if (message == WM_KEYDOWN && wParam == VK_RETURN) {
        SendMessageW(GetAncestor(list, GA_ROOT), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_DBLCLK),
                     reinterpret_cast<LPARAM>(list));
        return 0;
    }
    return DefSubclassProc(list, message, wParam, lParam);
}

} // namespace

Win32Controls::~Win32Controls() {
    for (ATOM name : m_names) {
        GlobalDeleteAtom(name);
    }
    deleteFonts();
    if (m_windowBrush != nullptr) {
        DeleteObject(m_windowBrush);
    }
    if (m_titleBrush != nullptr) {
        DeleteObject(m_titleBrush);
    }
}

void Win32Controls::create(HWND window, UINT dpi) {
    m_window = window;
    m_windowBrush = CreateSolidBrush(rgb(kWindowColour));
    m_titleBrush = CreateSolidBrush(rgb(kTitleBoxColour));
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const std::vector<ControlLayout> &layout = mainFormLayout();
    std::string frameOfGroup;
    for (std::size_t row = 0; row < layout.size(); ++row) {
        const ControlLayout &control = layout[row];
        const WindowKind kind = kindOf(control);
        HWND parent = control.container.empty() ? window : (*this)[control.container];
        DWORD style = WS_CHILD | WS_CLIPSIBLINGS | kind.style;
        // Each frame's first option button starts the group that the arrow keys move through.
        if (control.kind == ControlKind::OptionButton && control.container != frameOfGroup) {
            style |= WS_GROUP;
            frameOfGroup = control.container;
        }
        style |= control.visible ? WS_VISIBLE : 0;
        style |= control.enabled ? 0 : WS_DISABLED;
        const HWND hwnd =
            CreateWindowExW(kind.exStyle, kind.windowClass, toWide(control.text).c_str(), style, 0, 0, 0, 0, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + row)), instance, nullptr);
        m_controls.push_back(hwnd);
        attachName(hwnd, control.name);
        if (control.selected) {
            SendMessageW(hwnd, BM_SETCHECK, BST_CHECKED, 0);
        }
        if (control.kind == ControlKind::Frame) {
            SetWindowSubclass(hwnd, frameProc, kSubclassId, reinterpret_cast<DWORD_PTR>(m_windowBrush));
        }
        if (control.kind == ControlKind::FolderList) {
            SetWindowSubclass(hwnd, folderListProc, kSubclassId, 0);
        }
    }
    layOut(dpi);
}

HWND Win32Controls::addControl(const wchar_t *windowClass, DWORD style, std::string_view name, int left, int top,
                               int width, int height) {
    const int id = kFirstControlId + static_cast<int>(m_controls.size() + m_added.size());
    const HWND hwnd =
        CreateWindowExW(0, windowClass, L"", WS_CHILD | WS_CLIPSIBLINGS | style, 0, 0, 0, 0, m_window,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    attachName(hwnd, name);
    m_added.push_back({hwnd, std::string(name), left, top, width, height});
    place(hwnd, left, top, width, height, fontFor(ControlFont::Dialog));
    return hwnd;
}

void Win32Controls::attachName(HWND control, std::string_view name) {
    const ATOM atom = GlobalAddAtomW(toWide(name).c_str());
    m_names.push_back(atom);
    SetPropW(control, kNameProperty, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(atom)));
}

void Win32Controls::place(HWND control, int left, int top, int width, int height, HFONT font) const {
    MoveWindow(control, pixels(left, m_dpi), pixels(top, m_dpi), pixels(width, m_dpi), pixels(height, m_dpi), FALSE);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void Win32Controls::layOut(UINT dpi) {
    m_dpi = dpi;
    deleteFonts();
    createFonts(dpi);
    const std::vector<ControlLayout> &layout = mainFormLayout();
    for (std::size_t row = 0; row < layout.size(); ++row) {
        const ControlLayout &c = layout[row];
        const int extra = c.kind == ControlKind::DriveList || c.kind == ControlKind::ComboBox ? kDropDownTwips : 0;
        place(m_controls[row], c.left, c.top, c.width, c.height + extra, fontFor(c.font));
    }
    for (const AddedControl &c : m_added) {
        place(c.window, c.left, c.top, c.width, c.height, fontFor(ControlFont::Dialog));
    }
    sizeWindow();
}

void Win32Controls::showSerialFrame(bool shown) {
    m_serialFrame = shown;
    ShowWindow((*this)["frmSerialPort"], shown ? SW_SHOW : SW_HIDE);
    sizeWindow();
}

void Win32Controls::sizeWindow() {
    const UINT dpi = m_dpi;
    RECT frame{0, 0, pixels(kClientWidthTwips, dpi),
               pixels(m_serialFrame ? kSerialClientHeightTwips : kClientHeightTwips, dpi)};
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(m_window, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(m_window, GWL_EXSTYLE));
    using AdjustForDpi = BOOL(WINAPI *)(LPRECT, DWORD, BOOL, DWORD, UINT);
    const auto adjustForDpi = reinterpret_cast<AdjustForDpi>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
    if (adjustForDpi != nullptr) {
        adjustForDpi(&frame, style, FALSE, exStyle, dpi);
    } else {
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    }
    SetWindowPos(m_window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(m_window, nullptr, TRUE);
}

HWND Win32Controls::operator[](std::string_view name) const {
    const std::vector<ControlLayout> &layout = mainFormLayout();
    for (std::size_t row = 0; row < m_controls.size(); ++row) {
        if (layout[row].name == name) {
            return m_controls[row];
        }
    }
    for (const AddedControl &added : m_added) {
        if (added.name == name) {
            return added.window;
        }
    }
    return nullptr;
}

int Win32Controls::rowForId(int id) {
    const int row = id - kFirstControlId;
    return row >= 0 && row < static_cast<int>(mainFormLayout().size()) ? row : -1;
}

HBRUSH Win32Controls::colour(HWND control, HDC dc) const {
    const int row = rowForId(GetDlgCtrlID(control));
    if (row < 0) {
        // The added controls stand on the window: its colour.
        for (const AddedControl &added : m_added) {
            if (added.window == control) {
                SetBkColor(dc, rgb(kWindowColour));
                return m_windowBrush;
            }
        }
        return nullptr;
    }
    const ControlLayout &c = layoutOf(row);
    switch (c.kind) {
    case ControlKind::TextBox:
    case ControlKind::PushButton:
    case ControlKind::DriveList:
    case ControlKind::FolderList:
    case ControlKind::FileList:
    case ControlKind::ComboBox:
    case ControlKind::TextArea:
        return nullptr;
    default:
        break;
    }
    // The title text and the version lie on the title box and take its colour.
    const bool onTitleBox =
        c.kind == ControlKind::TitleBox || c.font == ControlFont::Title || c.font == ControlFont::Version;
    SetBkColor(dc, rgb(onTitleBox ? kTitleBoxColour : kWindowColour));
    if (c.font == ControlFont::Presenter) {
        SetTextColor(dc, rgb(kPresenterColour));
    }
    return onTitleBox ? m_titleBrush : m_windowBrush;
}

HFONT Win32Controls::fontFor(ControlFont font) const { return m_fonts[static_cast<int>(font)]; }

void Win32Controls::createFonts(UINT dpi) {
    struct Face {
        const wchar_t *name;
        double points;
        int weight;
    };
    const Face faces[] = {{L"MS Sans Serif", 8, FW_NORMAL},
                          {L"Comic Sans MS", 12, FW_NORMAL},
                          {L"Arial", 6.75, FW_NORMAL},
                          {L"Arial", 14.25, FW_BOLD},
                          {L"Arial", 6, FW_NORMAL}};
    const auto create = [dpi](const Face &face, double points) {
        return CreateFontW(-static_cast<int>(std::lround(points * dpi / 72.0)), 0, 0, 0, face.weight, FALSE, FALSE,
                           FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_DONTCARE, face.name);
    };
    for (int i = 0; i < 5; ++i) {
        m_fonts[i] = create(faces[i], faces[i].points);
    }
    // The layout was drawn for the classic 8 pt dialog font. Where a stand-in with wider letters is used, it is
    // made smaller until the longest line of an option caption fits beside the option's circle.
    const int room = pixels(2625 - 330, dpi);
    const HDC dc = GetDC(m_window);
    for (double points = faces[0].points;
         points > 6.5 && textWidth(dc, m_fonts[0], L"Send To EVMBUG IM Command") > room;) {
        points -= 0.25;
        DeleteObject(m_fonts[0]);
        m_fonts[0] = create(faces[0], points);
    }
    ReleaseDC(m_window, dc);
}

void Win32Controls::deleteFonts() {
    for (HFONT &font : m_fonts) {
        if (font != nullptr) {
            DeleteObject(font);
        }
        font = nullptr;
    }
}

} // namespace quorvane::ui::win32

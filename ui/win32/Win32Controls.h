// The main window's controls on Win32, created from the shared layout table: one child window per control, the
// frames as containers of their controls, every control named for tests and accessibility tools.
#pragma once

#include "ui/MainFormLayout.h"

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace quorvane::ui::win32 {

// Each control carries its name in this window property, as a global atom that any process can read back with
// GlobalGetAtomNameW; its control ID is kFirstControlId plus its row in mainFormLayout().
inline constexpr wchar_t kNameProperty[] = L"QuorvaneName";
inline constexpr int kFirstControlId = 1001;
inline constexpr wchar_t kWindowClass[] = L"QuorvaneMainForm";

class Win32Controls {
public:
    Win32Controls() = default;
    ~Win32Controls();
    Win32Controls(const Win32Controls &) = delete;
    Win32Controls &operator=(const Win32Controls &) = delete;

    // Creates every control on `window` in its state at start, placed for `dpi`.
    void create(HWND window, UINT dpi);
    // Places the controls and sizes the window's client area for another dpi, with fonts to match.
    void layOut(UINT dpi);
    // The serial line's frame under everything else, and the window's height to match.
    void showSerialFrame(bool shown);

    // A control that the table does not hold (the progress display's), created hidden on the window with the next
    // free control ID, named like the others, in the dialog font and placed with them at every dpi.
    HWND addControl(const wchar_t *windowClass, DWORD style, std::string_view name, int left, int top, int width,
                    int height);

    HWND operator[](std::string_view name) const;
    // The row in the layout table of a control ID; -1 for anything else.
    static int rowForId(int id);
    const ControlLayout &layoutOf(int row) const { return mainFormLayout()[row]; }

    // The brush and colours that paint a control of the given row (WM_CTLCOLOR*); null for the system's own.
    HBRUSH colour(HWND control, HDC dc) const;
    HBRUSH windowBrush() const { return m_windowBrush; }

private:
    HFONT fontFor(ControlFont font) const;
    void createFonts(UINT dpi);
    void deleteFonts();
    void sizeWindow();

    struct AddedControl {
        HWND window;
        std::string name;
        int left, top, width, height;
    };
    void attachName(HWND control, std::string_view name);
    void place(HWND control, int left, int top, int width, int height, HFONT font) const;

    HWND m_window = nullptr;
    UINT m_dpi = 96;
    bool m_serialFrame = false;
    std::vector<HWND> m_controls;
    std::vector<AddedControl> m_added;
    std::vector<ATOM> m_names;
    HFONT m_fonts[5] = {};
    HBRUSH m_windowBrush = nullptr;
    HBRUSH m_titleBrush = nullptr;
};

} // namespace quorvane::ui::win32

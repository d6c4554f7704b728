// The yardstick for the start-up figure: a dialog with one button from an in-memory template, nothing else.
#include <windows.h>

#include <cstring>

namespace {

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_CLOSE || (message == WM_COMMAND && LOWORD(wParam) == IDOK)) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

} // namespace

int main() {
    // DLGTEMPLATE, menu, class, title; then one DLGITEMTEMPLATE (a button), each DWORD aligned.
    alignas(4) WORD buffer[128] = {};
    auto *dialog = reinterpret_cast<DLGTEMPLATE *>(buffer);
    dialog->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_CENTER | DS_SETFONT | WS_VISIBLE;
    dialog->cdit = 1;
    dialog->cx = 200;
    dialog->cy = 100;
    WORD *at = reinterpret_cast<WORD *>(dialog + 1);
    *at++ = 0; // no menu
    *at++ = 0; // the dialog class
    for (const wchar_t *c = L"Bare dialog"; (*at++ = static_cast<WORD>(*c)) != 0; ++c) {
    }
    *at++ = 8; // point size, then the face name
    for (const wchar_t *c = L"MS Shell Dlg"; (*at++ = static_cast<WORD>(*c)) != 0; ++c) {
    }
    at = reinterpret_cast<WORD *>((reinterpret_cast<ULONG_PTR>(at) + 3) & ~ULONG_PTR(3));
    auto *button = reinterpret_cast<DLGITEMTEMPLATE *>(at);
    button->style = WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON;
    button->x = 75;
    button->y = 40;
    button->cx = 50;
    button->cy = 14;
    button->id = IDOK;
    at = reinterpret_cast<WORD *>(button + 1);
    *at++ = 0xFFFF;
    *at++ = 0x0080; // BUTTON
    for (const wchar_t *c = L"OK"; (*at++ = static_cast<WORD>(*c)) != 0; ++c) {
    }
    *at++ = 0; // no creation data
    return static_cast<int>(DialogBoxIndirectW(GetModuleHandleW(nullptr), dialog, nullptr, dialogProc));
}

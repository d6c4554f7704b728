// ITaskbarList3 on the window's taskbar button: SetProgressValue and SetProgressState, each call only on a change.
#include "platform/win32/Win32TaskbarButton.h"

#include <shobjidl.h>

namespace quorvane::platform::win32 {

Win32TaskbarButton::Win32TaskbarButton(HWND window)
    : m_window(window), m_createdMessage(RegisterWindowMessageW(L"TaskbarButtonCreated")) {
    // A program run as administrator would not receive the shell's message from the ordinary-rights Explorer.
    if (m_createdMessage != 0) {
        ChangeWindowMessageFilterEx(window, m_createdMessage, MSGFLT_ALLOW, nullptr);
    }
    // S_FALSE (already started on this thread) also needs its CoUninitialize; a thread in the other apartment
    // model still reaches the interface.
    const HRESULT started = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    m_comStarted = SUCCEEDED(started);
}

Win32TaskbarButton::~Win32TaskbarButton() {
    release();
    if (m_comStarted) {
        CoUninitialize();
    }
}

bool Win32TaskbarButton::buttonCreated(UINT message) {
    if (m_createdMessage == 0 || message != m_createdMessage) {
        return false;
    }
    release();
    ITaskbarList3 *taskbar = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                   reinterpret_cast<void **>(&taskbar)))) {
        if (SUCCEEDED(taskbar->HrInit())) {
            m_taskbar = taskbar;
        } else {
            taskbar->Release();
        }
    }
    return true;
}

void Win32TaskbarButton::showProgress(int percent, bool paused) {
    if (m_taskbar == nullptr || (percent == m_percent && paused == m_paused)) {
        return;
    }
    // A new button starts without progress: the state goes first, or the value alone would not show.
    if (m_percent < 0 || paused != m_paused) {
        m_taskbar->SetProgressState(m_window, paused ? TBPF_PAUSED : TBPF_NORMAL);
    }
    m_taskbar->SetProgressValue(m_window, static_cast<ULONGLONG>(percent), 100);
    m_percent = percent;
    m_paused = paused;
}

void Win32TaskbarButton::clear() {
    if (m_taskbar != nullptr && m_percent >= 0) {
        m_taskbar->SetProgressState(m_window, TBPF_NOPROGRESS);
    }
    m_percent = -1;
    m_paused = false;
}

void Win32TaskbarButton::release() {
    if (m_taskbar != nullptr) {
        m_taskbar->Release();
        m_taskbar = nullptr;
    }
    m_percent = -1;
    m_paused = false;
}

} // namespace quorvane::platform::win32

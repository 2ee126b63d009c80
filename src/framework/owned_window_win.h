#pragma once
// The window procedure of a window class each of whose windows belongs to an object, passed as
// the creation parameter of CreateWindowExW: the object learns its window at WM_NCCREATE, and
// every message after goes to its OnMessage(message, wParam, result), which says whether it
// handled it. Before WM_NCCREATE, and once the object let its window go (GWLP_USERDATA set to 0),
// the system's default handling applies.

#include <windows.h>

template <class Owner>
LRESULT CALLBACK OwnedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* created = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        created->m_hWnd = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!owner)
        return DefWindowProcW(window, message, wParam, lParam);
    LRESULT result = 0;
    // No exception may unwind through the system's window procedure. A handler that frees its
    // object touches nothing of it afterwards, and neither does this.
    try {
        if (owner->OnMessage(message, wParam, result))
            return result;
    } catch (...) {
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Registers the window class of such windows; true also when it was registered before.
template <class Owner>
bool RegisterOwnedWindowClass(const wchar_t* className, HBRUSH background = nullptr)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = OwnedWindowProc<Owner>;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = className;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

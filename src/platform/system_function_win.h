#pragma once
#include <windows.h>

#include <cwchar>

// A function of a system DLL that only some commands need, or that older systems lack, loaded
// from the system folder on first use (never from the program's folder, where a planted DLL of
// the same name would be found first) and kept loaded; null when the DLL or the function is missing.
template <typename Function> Function SystemFunction(const wchar_t* dll, const char* name)
{
    HMODULE module = GetModuleHandleW(dll);
    if (!module) {
        wchar_t path[MAX_PATH];
        const UINT folderLength = GetSystemDirectoryW(path, MAX_PATH);
        if (folderLength == 0 || folderLength + 1 + std::wcslen(dll) >= MAX_PATH)
            return nullptr;
        path[folderLength] = L'\\';
        std::wcscpy(path + folderLength + 1, dll);
        module = LoadLibraryW(path);
    }
    return module ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name))) : nullptr;
}

#include "platform/platform_win.h"

#include "platform/text_win.h"

#include <commdlg.h>
#include <mmsystem.h>

#include <cstdio>
#include <ctime>
#include <vector>

std::int64_t Win32Platform::Now()
{
    return static_cast<std::int64_t>(std::time(nullptr));
}

std::uint32_t Win32Platform::TickCount()
{
    return GetTickCount();
}

std::optional<std::uint32_t> Win32Platform::LastInputTick()
{
    LASTINPUTINFO info{};
    info.cbSize = sizeof info;
    if (!GetLastInputInfo(&info))
        return std::nullopt;
    return info.dwTime;
}

int Win32Platform::ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags)
{
    return MessageBoxW(owner, Widen(text).c_str(), Widen(caption).c_str(), flags);
}

void Win32Platform::PlaySoundFile(const std::string& fileName)
{
    PlaySoundW(Widen(fileName).c_str(), nullptr, SND_ASYNC | SND_FILENAME);
}

std::optional<std::string> Win32Platform::ChooseFileToOpen(HWND owner, const std::string& filterLabel,
                                                           const std::string& filterPattern)
{
    // The filter is a list of zero-terminated strings ended by an empty one.
    std::wstring filter = Widen(filterLabel);
    filter.push_back(L'\0');
    filter += Widen(filterPattern);
    filter.push_back(L'\0');
    std::vector<wchar_t> path(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
    // The data files are opened relative to the current directory, which the open-file dialog
    // may move to the chosen file's folder despite OFN_NOCHANGEDIR.
    std::vector<wchar_t> currentDirectory(GetCurrentDirectoryW(0, nullptr) + 1, L'\0');
    GetCurrentDirectoryW(static_cast<DWORD>(currentDirectory.size()), currentDirectory.data());
    const BOOL chosen = GetOpenFileNameW(&dialog);
    SetCurrentDirectoryW(currentDirectory.data());
    if (!chosen)
        return std::nullopt;
    return Narrow(path.data());
}

std::string Win32Platform::EnvironmentVariable(const std::string& name)
{
    const std::wstring wideName = Widen(name);
    const DWORD needed = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (needed == 0)
        return {};
    std::wstring value(needed, L'\0');
    const DWORD length = GetEnvironmentVariableW(wideName.c_str(), value.data(), needed);
    value.resize(length);
    return Narrow(value);
}

void Win32Platform::WriteDiagnostic(const std::string& text)
{
    std::fputs(text.c_str(), stdout);
    std::fflush(stdout);
}

std::optional<std::string> Win32Platform::ReadWholeFile(const std::string& name)
{
    // Shared for writing and deleting so that a reader never blocks a writer.
    HANDLE file = CreateFileW(Widen(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string content;
    char buffer[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr) != FALSE) && got > 0)
        content.append(buffer, got);
    CloseHandle(file);
    if (!ok)
        return std::nullopt;
    return content;
}

bool Win32Platform::ReplaceWholeFile(const std::string& name, const std::string& bytes)
{
    // Write a temporary file beside the target, flush it to disk, then rename it over the
    // target, so a crash or power cut leaves either the old file or the new one, never half.
    const std::wstring target = Widen(name);
    const std::wstring temporary = target + L".tmp" + std::to_wstring(GetCurrentProcessId());
    HANDLE file =
        CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool wroteAll = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                          written == bytes.size() && FlushFileBuffers(file);
    CloseHandle(file);
    if (!wroteAll ||
        !MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}

void Win32Platform::SetWindowTimer(HWND window, UINT_PTR id, UINT periodMs)
{
    SetTimer(window, id, periodMs, nullptr);
}

void Win32Platform::KillWindowTimer(HWND window, UINT_PTR id)
{
    KillTimer(window, id);
}

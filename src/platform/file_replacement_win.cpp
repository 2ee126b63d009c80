#include "platform/file_replacement_win.h"

#include <windows.h>

#include <optional>

namespace {

// The temporary file has a fixed name beside its target, so a save interrupted by a crash is
// overwritten and renamed away by the next one instead of leaving a stray file for ever.
constexpr wchar_t kTemporarySuffix[] = L".kelvaro-new";

// Access denied also means a folder in the file's place or a read-only file, which no wait mends;
// only where the file's own rights were checked first does it mean a file held against replacing.
bool IsBusyFailure(DWORD error, AccessDenied accessDenied)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           (error == ERROR_ACCESS_DENIED && accessDenied == AccessDenied::MayPass);
}

// The file that a name finally stands for, through symbolic links and junctions, so that a
// replacement updates the linked file and leaves the link a link. A name without a file
// stands for itself; nothing for a folder or a read-only file, which must not be replaced.
std::optional<std::wstring> ReplaceableTarget(const std::wstring& name)
{
    // No access rights asked for: only the attributes and the name are read.
    HANDLE file = CreateFileW(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return name;
    std::optional<std::wstring> target;
    BY_HANDLE_FILE_INFORMATION information{};
    if (GetFileInformationByHandle(file, &information) &&
        (information.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) == 0) {
        std::wstring path(MAX_PATH, L'\0');
        DWORD length = GetFinalPathNameByHandleW(file, path.data(), static_cast<DWORD>(path.size()), 0);
        if (length >= path.size()) {
            path.resize(length);
            length = GetFinalPathNameByHandleW(file, path.data(), static_cast<DWORD>(path.size()), 0);
        }
        if (length > 0 && length < path.size()) {
            path.resize(length);
            target = std::move(path);
        }
    }
    CloseHandle(file);
    return target;
}

class Win32FileReplacement final : public FileReplacementSteps {
public:
    explicit Win32FileReplacement(std::wstring target)
        : m_target(std::move(target)), m_temporary(m_target + kTemporarySuffix)
    {
    }
    FileStepResult CreateTemporary() override
    {
        // Not shared: another program saving the same file at this moment waits for this one.
        m_file =
            CreateFileW(m_temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        return FileStepResultOf(m_file != INVALID_HANDLE_VALUE);
    }
    FileStepResult WriteTemporary(std::string_view bytes) override
    {
        DWORD written = 0;
        const bool ok = WriteFile(m_file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != FALSE;
        return ok && written == bytes.size() ? FileStepResult::Done : FileStepResult::Failed;
    }
    FileStepResult FlushTemporary() override { return FileStepResultOf(FlushFileBuffers(m_file) != FALSE); }
    FileStepResult CloseTemporary() override
    {
        const bool closed = CloseHandle(m_file) != FALSE;
        m_file = INVALID_HANDLE_VALUE;
        return FileStepResultOf(closed);
    }
    // The target was found to be neither a folder nor read-only, and the temporary file is this
    // replacement's own: here access denied is a scanner holding the file open.
    FileStepResult RenameOverTarget() override
    {
        return FileStepResultOf(MoveFileExW(m_temporary.c_str(), m_target.c_str(),
                                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE,
                                AccessDenied::MayPass);
    }
    FileStepResult DeleteTemporary() override
    {
        return FileStepResultOf(DeleteFileW(m_temporary.c_str()) != FALSE, AccessDenied::MayPass);
    }
    void WaitBeforeRetry(unsigned ms) override { Sleep(ms); }

private:
    std::wstring m_target;
    std::wstring m_temporary;
    HANDLE m_file = INVALID_HANDLE_VALUE;
};

} // namespace

FileStepResult FileStepResultOf(bool succeeded, AccessDenied accessDenied)
{
    if (succeeded)
        return FileStepResult::Done;
    return IsBusyFailure(GetLastError(), accessDenied) ? FileStepResult::Busy : FileStepResult::Failed;
}

bool ReplaceFileOnDisk(const std::wstring& name, std::string_view bytes)
{
    const std::optional<std::wstring> target = ReplaceableTarget(name);
    if (!target)
        return false;
    Win32FileReplacement steps(*target);
    return ReplaceFileContents(steps, bytes);
}

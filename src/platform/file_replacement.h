#pragma once
// The order of steps that replaces a file whole, so that a crash, a full disk or another
// program holding the file leaves either the old bytes or all the new ones, never a mixture.

#include <string_view>

// How one file-system step ended.
enum class FileStepResult {
    Done,
    // Another program holds the file for a moment, as virus scanners and indexers do just after
    // a file changes (a sharing or lock violation, or a file held open against replacing it):
    // worth trying again shortly.
    Busy,
    // Can't succeed however long one waits: a folder in the file's place, a read-only file or
    // folder, a missing folder, a full disk.
    Failed,
};

// The steps on one target file and the temporary file beside it. At most one temporary file is open at a time.
class FileReplacementSteps {
public:
    virtual ~FileReplacementSteps() = default;
    // Creates the temporary file empty, or empties a leftover one, and opens it for writing by this replacement alone.
    virtual FileStepResult CreateTemporary() = 0;
    // Writes all the bytes to the open temporary file; writing fewer (a full disk) is a failure.
    virtual FileStepResult WriteTemporary(std::string_view bytes) = 0;
    // Makes the open temporary file's bytes reach the disk.
    virtual FileStepResult FlushTemporary() = 0;
    // Closes the temporary file; it is closed afterwards even when this reports a failure.
    virtual FileStepResult CloseTemporary() = 0;
    // Renames the closed temporary file over the target in one step.
    virtual FileStepResult RenameOverTarget() = 0;
    // Deletes the closed temporary file.
    virtual FileStepResult DeleteTemporary() = 0;
    // Pauses before a busy step is tried again.
    virtual void WaitBeforeRetry(unsigned ms) = 0;
};

// Busy steps are tried again after short pauses, but the user-interface thread that saves and
// reads waits no longer than this in all for one file: a scanner lets go within that time, and
// what holds a file longer is reported rather than waited for.
constexpr unsigned kBusyPauseMs = 25;
constexpr unsigned kBusyWaitBudgetMs = 200;

// The time one file operation may still spend waiting for busy steps.
class BusyWaitBudget {
public:
    bool CanWait() const { return m_leftMs >= kBusyPauseMs; }
    void Spend() { m_leftMs -= kBusyPauseMs; }

private:
    unsigned m_leftMs = kBusyWaitBudgetMs;
};

// Runs a step, and runs it again after each pause while it reports Busy and the budget lasts.
template <typename Step, typename Wait> FileStepResult RetryWhileBusy(BusyWaitBudget& budget, Step step, Wait wait)
{
    FileStepResult result = step();
    while (result == FileStepResult::Busy && budget.CanWait()) {
        budget.Spend();
        wait(kBusyPauseMs);
        result = step();
    }
    return result;
}

// Writes the bytes into the temporary file, flushes and closes it, and renames it over the
// target, all its busy steps sharing one budget. True when the target holds the new bytes; on
// false the target is as it was and the temporary file is deleted, unless it was never this
// replacement's own or can't be deleted.
bool ReplaceFileContents(FileReplacementSteps& steps, std::string_view bytes);

#include "platform/file_replacement.h"

namespace {

FileStepResult Retried(FileReplacementSteps& steps, BusyWaitBudget& budget,
                       FileStepResult (FileReplacementSteps::*step)())
{
    return RetryWhileBusy(budget, [&] { return (steps.*step)(); }, [&](unsigned ms) { steps.WaitBeforeRetry(ms); });
}

} // namespace

bool ReplaceFileContents(FileReplacementSteps& steps, std::string_view bytes)
{
    BusyWaitBudget budget;
    // A temporary file this call could not create may be another saver's, and is not its own to delete.
    if (Retried(steps, budget, &FileReplacementSteps::CreateTemporary) != FileStepResult::Done)
        return false;
    const bool written =
        steps.WriteTemporary(bytes) == FileStepResult::Done && steps.FlushTemporary() == FileStepResult::Done;
    // Closed whatever happened: an open file can be neither renamed nor deleted.
    const bool closed = steps.CloseTemporary() == FileStepResult::Done;
    if (written && closed && Retried(steps, budget, &FileReplacementSteps::RenameOverTarget) == FileStepResult::Done)
        return true;
    // The scanner that looks at a file just written may still hold it. Left behind once the budget is
    // spent, the temporary file is emptied and renamed away by the next save.
    Retried(steps, budget, &FileReplacementSteps::DeleteTemporary);
    return false;
}

#include "platform/file_replacement.h"

namespace {

FileStepResult Retried(FileReplacementSteps& steps, FileStepResult (FileReplacementSteps::*step)())
{
    return RetryWhileBusy([&] { return (steps.*step)(); }, [&](unsigned ms) { steps.WaitBeforeRetry(ms); });
}

} // namespace

bool ReplaceFileContents(FileReplacementSteps& steps, std::string_view bytes)
{
    // A temporary file this call could not create may be another saver's, and is not its own to delete.
    if (Retried(steps, &FileReplacementSteps::CreateTemporary) != FileStepResult::Done)
        return false;
    const bool written =
        steps.WriteTemporary(bytes) == FileStepResult::Done && steps.FlushTemporary() == FileStepResult::Done;
    // Closed whatever happened: an open file can be neither renamed nor deleted.
    const bool closed = steps.CloseTemporary() == FileStepResult::Done;
    if (written && closed && Retried(steps, &FileReplacementSteps::RenameOverTarget) == FileStepResult::Done)
        return true;
    // The scanner that looks at a file just written may still hold it.
    Retried(steps, &FileReplacementSteps::DeleteTemporary);
    return false;
}

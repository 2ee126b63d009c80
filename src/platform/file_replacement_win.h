#pragma once
#include "platform/file_replacement.h"

#include <string>
#include <string_view>

// What access denied means for a step: a lasting failure, or a file another program holds for a moment.
enum class AccessDenied { Fails, MayPass };

// The result of a file call that reported success or failure, its failure classified by the last error.
FileStepResult FileStepResultOf(bool succeeded, AccessDenied accessDenied = AccessDenied::Fails);

// Replaces a file atomically through a temporary file beside it, following symbolic links and
// junctions to the file they lead to; false, with the file untouched, when it can't be written.
bool ReplaceFileOnDisk(const std::wstring& name, std::string_view bytes);

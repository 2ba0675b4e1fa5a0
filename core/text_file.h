// Reading, whole-file replacing and appending of the program's 8-bit text files.
// Every file is handled as raw bytes; a whole-file write goes to a temporary file in the same
// folder that is flushed and renamed over the target, so a failure never leaves a half-written
// file.
#pragma once

#include "core/result.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// Splits text into lines. CR LF, a lone CR and a lone LF each end a line; a final fragment
// without a line end is a line too. "a\r\nb" gives {"a", "b"}; "a\r\n" gives {"a"}.
std::vector<std::string> SplitLines(std::string_view text);

// The whole file. A missing file is an error for which IsMissingFile() holds.
Result<std::string> ReadWholeFile(const std::filesystem::path& path);

// Replaces the file atomically with `bytes`.
Status WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes);

// Appends `bytes` to the end of the file. `create` allows a missing file to be created.
Status AppendToFile(const std::filesystem::path& path, std::string_view bytes, bool create);

} // namespace orvane

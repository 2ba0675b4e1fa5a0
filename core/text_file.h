// Reading, whole-file replacing and appending of the program's 8-bit text files.
// Every file is handled as raw bytes; a whole-file write goes to a temporary file in the same
// folder that is flushed and renamed over the target, so a failure never leaves a half-written
// file. A file that is a symbolic link (a data file kept in a synced folder) is read, replaced and
// appended to through its target, and stays a link.
#pragma once

#include "core/result.h"

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// Splits text into lines. CR LF, a lone CR and a lone LF each end a line; a final fragment
// without a line end is a line too. "a\r\nb" gives {"a", "b"}; "a\r\n" gives {"a"}.
std::vector<std::string> SplitLines(std::string_view text);

// The whole file. A missing file is an error for which IsMissingFile() holds.
Result<std::string> ReadWholeFile(const std::filesystem::path& path);

// Replaces the file atomically with `bytes`: the new text goes to a temporary file
// ".NAME.XXXXXX" (six letters and digits) in the file's folder, is flushed to disk, takes the
// permissions of the old file and is renamed over it. When `path` is a symbolic link (or a chain of
// them), its final target is replaced in the target's own folder and the link is left as it is; a
// dangling link creates its target. A loop of links is an error and writes nothing. A failure
// names the file that could not be written: the link's target when `path` is a link.
Status WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes);

// Removes the temporary files that WriteFileAtomic leaves behind when the program is killed
// between writing a temporary file and renaming it: the regular files named "." + one of
// `file_names` + "." + six letters or digits in `folder`, and, for each of `file_names` that is a
// symbolic link in `folder`, those named after the link's final target beside that target.
// Nothing else is touched. Only call it while no other running copy of the program can be saving
// to the same files (that is, holding the data folder's lock), or it removes a save in progress.
// Returns how many files it removed; a missing folder holds none. A file or folder that cannot be
// removed or listed does not stop the rest; the first such failure is returned.
//
//   auto removed = RemoveStaleTemporaryFiles(state.data.dir, kDataFileNames);
Result<int> RemoveStaleTemporaryFiles(
    const std::filesystem::path& folder, std::span<const std::string_view> file_names);

// Appends `bytes` to the end of the file. `create` allows a missing file to be created.
Status AppendToFile(const std::filesystem::path& path, std::string_view bytes, bool create);

} // namespace orvane

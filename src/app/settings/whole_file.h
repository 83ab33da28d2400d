#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vexilon {

enum class WholeFileStatus { Read, Missing, Failed };

struct WholeFile {
    WholeFileStatus status = WholeFileStatus::Missing;
    std::string bytes;
};

// Reads a regular file whole. A file that is absent (or whose directory is)
// is Missing; one that exists but cannot be read, or is not a regular file,
// is Failed, so that a writer never mistakes it for an empty file.
WholeFile readWholeFile(const std::filesystem::path& file);

// Replaces the file's content, or creates the file, so that a crash leaves
// either the old or the new content: the bytes go to a temporary file in the
// same directory, which is synced and renamed over the target. An existing
// file keeps its permission bits (and owner where allowed); a symbolic link
// is followed and its target replaced, or created when it does not exist yet.
// Temporary files left beside the target by writers that were killed are
// removed; one whose writer still runs is left alone. A file without any write permission
// bit counts as read-only, for root too. Returns false, leaving the old file
// untouched and no temporary file behind, when anything fails.
bool replaceWholeFile(const std::filesystem::path& file, std::string_view bytes);

} // namespace vexilon

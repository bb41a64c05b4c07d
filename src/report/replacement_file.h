// A file that takes the place of another only once it is complete, so that
// a failure while writing it never destroys what was there before.
#pragma once

#include <cstdio>
#include <string>

struct ReplacementFile {
  FILE* stream = nullptr;  // open for writing from open_replacement to commit/discard
  std::string temp_path;   // empty when the target is written directly
  std::string target_path;
};

// Opens `file->stream` for a new version of `path`. A regular file (or a
// path that does not exist yet) is written under a temporary name in the
// same folder, "<target>.tmp-XXXXXX"; a symbolic link is followed, so the
// file it names is the one replaced. A target that exists and is no regular
// file (a device, a pipe) is written directly, as it cannot be replaced.
// Fails, with errno set and nothing created, where opening `path` for
// writing would: an empty name, a folder, a file without write permission,
// a folder that is missing or cannot be written.
bool open_replacement(ReplacementFile* file, const char* path);

// Flushes and syncs the data, closes the stream and renames the temporary
// file over the target. Returns null on success. On failure the temporary
// file is removed, the target is left as it was, errno is set, and the
// result names the step that failed: "write", "sync", "close" or "rename".
const char* commit_replacement(ReplacementFile* file);

// Closes and removes the temporary file; the target stays as it was.
void discard_replacement(ReplacementFile* file);

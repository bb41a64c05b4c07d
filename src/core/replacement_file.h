// A file that takes the place of another only once it is complete, so that
// a failure while writing it never destroys what was there before.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

// What the stream writes to: the open file and the errno of its first write
// that failed. stdio keeps only the fact that one failed, and a later flush
// that has nothing left to write succeeds, so the reason would be lost.
struct StreamOutput {
  int fd = -1;
  int first_error = 0;
};

struct ReplacementFile {
  FILE* stream = nullptr;  // open for writing from open_replacement to commit/discard
  std::string temp_path;   // empty when the target is written directly
  std::string target_path;
  std::unique_ptr<StreamOutput> output;  // the stream's, while it is open

  // One dropped while open (an exception on the way to the commit) is
  // discarded: the target stays as it was and nothing is left beside it.
  ~ReplacementFile();
};

// Opens `file->stream` for a new version of `path`. A regular file (or a
// path that does not exist yet) is written under a temporary name in the
// same folder, ".tarvelin-XXXXXX", short enough for any name the folder
// can hold; a symbolic link is followed, so the file it names is the one
// replaced, or made where it does not exist yet. Where no temporary file
// can be made there (a folder the user cannot write to) but the target
// exists and may be written, the target is written in place. A target
// that exists and is no regular file (a device, a pipe) is written
// directly, as it cannot be replaced. A target that is the file the
// standard output or error writes to (`-json /dev/stdout > out.txt`) is
// written through that descriptor, after what is there.
// Fails, with errno set and nothing created, where opening `path` for
// writing would: an empty name, a folder, a file without write permission,
// a folder that is missing or cannot be written, links in a loop.
//
// While the temporary file exists, a signal that ends the process (SIGINT,
// SIGTERM, SIGHUP, a crash...) removes it before the process ends.
bool open_replacement(ReplacementFile* file, const char* path);

// Opens `file->stream` on a new file of its own in the system's temporary
// folder ($TMPDIR, else /tmp), "tarvelin-report-XXXXXX" and `suffix`,
// written directly: the place for a report (".tvl") or a result file
// (".json", ".csv") that could not be written where asked.
bool open_fallback(ReplacementFile* file, const char* suffix = ".tvl");

// The folder open_fallback writes into: $TMPDIR, else /tmp.
std::string fallback_folder();

// Flushes and syncs the data, closes the stream and renames the temporary
// file over the target. Returns null on success. On failure the temporary
// file is removed, the target is left as it was, and the result names the
// first step that failed, "write", "sync", "close" or "rename", with errno
// set to its reason; for "write", that of the first write that failed (a
// full disk is told as such, not as the input/output error of a later one).
const char* commit_replacement(ReplacementFile* file);

// As commit_replacement for a file that must not take the place of
// another: the complete file is linked to the target's name, which fails at
// "link" with EEXIST where a file has that name by then, and the temporary
// name is removed either way. Only for a target that did not exist when it
// was opened (it is then always written under a temporary name).
const char* commit_new_file(ReplacementFile* file);

// Closes and removes the temporary file; the target stays as it was.
void discard_replacement(ReplacementFile* file);

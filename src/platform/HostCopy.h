#pragma once

#include <string>

#include "platform/WriteStep.h"

namespace bw {

// Host-path writes and copies, each all-or-nothing: everything is made under temporary names
// beside its target, flushed, and only then renamed into place, so a failure at any step leaves
// every target as it was and no temporary entry behind. A target that is a link or shares its
// file with the source is replaced as an entry, never written through. Pipes, sockets and devices
// are never opened: as a source or a target they are refused with 75 (RefusedEntry).

// Makes `bytes` the whole content of the file at `path`. An existing file keeps its permissions;
// a read-only one is refused (70), and so is a folder (75). `syncFolder` also flushes the
// folder's entry, so the new file survives a power cut.
void WriteHostFile(const std::string& path, const std::string& bytes, bool syncFolder,
                   const WriteStepHook& hook);

// Copies the regular file `from` (a link to one is followed) to `to`; without `overwrite` an
// existing `to` is 58, with it a read-only file is 70.
void CopyHostFile(const std::string& from, const std::string& to, bool overwrite,
                  const WriteStepHook& hook);

// Copies a folder and everything in it; links are copied as links. The whole tree is walked first
// and every target checked before anything is written: a pipe, socket or device anywhere in the
// source, or a target of the wrong kind, refuses the copy with nothing changed. With `overwrite`
// the copy merges into an existing folder, replacing its same-named files; without it an existing
// `to` is 58. A folder new to the target appears whole or not at all. Everything is written and
// flushed before the first rename into place, so only a rename failing (not a full disk) can leave
// a merge part done, and then every file in place is whole.
void CopyHostTree(const std::string& from, const std::string& to, bool overwrite,
                  const WriteStepHook& hook);

}  // namespace bw

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/FileStamp.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Reads a whole file into memory, as TInputFile opens it ("Cannot open file %s: reason").
std::string ReadWholeFile(const std::string& path);

// Whether the saving user may not write the file at path: it has no write permission bit at all
// (which binds even the superuser here), the access rules deny this user, or its file system is
// mounted read-only. False when there is no such file.
bool IsReadOnlyFile(const std::string& path);

// Replaces the file at path with bytes so that a crash, a full disk or a failing device never
// leaves a half-written file: the bytes go to a new file with a short name of its own in the same
// folder, which is flushed to disk and renamed over path, and the folder is flushed. A link at
// path is followed, so the file it names is replaced. The old file keeps its owner, group and
// permission bits (a new file gets the usual ones). Where the new file cannot get them (the file
// belongs to another user, or the folder is not writable while the file is), the whole content is
// first written and flushed to a temporary file elsewhere, then the old file is overwritten in
// place, its space reserved beforehand so that a full disk is found before it is touched; should
// that write still fail, the old bytes are put back. The staged content is kept as the save's
// journal (SaveJournal) until the write is done, so that the next open finishes a write that was
// killed part way. After a save, temporary files that killed saves left are removed.
// Fails with EFileError, leaving the old file as it was and no temporary file behind: "Cannot
// write file %s: it is read-only." (IsReadOnlyFile), "Cannot create file %s: reason" when the new
// file cannot be made or put in place, "Cannot write file %s: reason" when writing fails.
// Returns the stamp of the file as written.
TFileStamp WriteFileAtomically(const std::string& path, std::string_view bytes);
// The same with the bytes that produce hands, piece by piece, to the function it is given. An
// exception from produce leaves the old file as it was and goes on to the caller.
using TByteSink = std::function<void(std::string_view)>;
TFileStamp WriteFileAtomically(const std::string& path, const std::function<void(const TByteSink&)>& produce);

// A write past the file-size limit (ulimit -f) then fails with its error instead of ending the
// process. Every program that saves calls it at start.
void IgnoreFileSizeSignal();

// Tests: the write that takes the total past this many bytes fails part way with "No space left
// on device", as a full disk or a failing device would; later writes work again. A negative value
// turns the failure off.
void SetWriteFailureForTesting(int64_t bytesBeforeFailure);

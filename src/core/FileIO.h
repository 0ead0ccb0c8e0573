#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Reads a whole file into memory. Fails with EFileError "Cannot open file %s" when it cannot be
// opened or is not a regular file, and "Cannot read file %s: reason" when reading fails.
std::string ReadWholeFile(const std::string& path);

// Replaces the file at path with bytes so that a crash, a full disk or a failing device never
// leaves a half-written file: the bytes go to a new file in the same folder, which is flushed to
// disk and then renamed over path. The old file's permission bits are kept (a new file gets the
// usual ones), and a link at path is followed, so the file it names is replaced. After a save,
// temporary files that killed saves of the same file left beside it are removed. On failure the
// old file is untouched, the temporary file is removed, and EFileError is raised: "Cannot create
// file %s" when the new file cannot be made, "Cannot write file %s: reason" when writing fails.
void WriteFileAtomically(const std::string& path, std::string_view bytes);
// The same with the bytes that produce hands, piece by piece, to the function it is given. An
// exception from produce leaves the old file as it was and goes on to the caller.
using TByteSink = std::function<void(std::string_view)>;
void WriteFileAtomically(const std::string& path, const std::function<void(const TByteSink&)>& produce);

// Tests: the next writes fail (as a full disk would) once this many bytes have been written in
// total; a negative value turns the failure off.
void SetWriteFailureForTesting(int64_t bytesBeforeFailure);

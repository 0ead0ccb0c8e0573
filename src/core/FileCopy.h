// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// Whether two paths name the same file whatever their spelling: the same device and inode
// (symbolic and hard links, "." and ".." parts), or the same absolute path when neither exists.
bool IsSameFile(const std::string& a, const std::string& b);

// Copies source over destination through the crash-safe writer, so an existing destination is
// replaced whole or not at all. Refuses to copy a file onto itself. Fails with EFileError:
// "Cannot open file %s: reason" for the source (only a regular file is read, as TInputFile does), or the
// writer's errors for the destination.
void CopyFileReplacing(const std::string& source, const std::string& destination);

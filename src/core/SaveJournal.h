// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Error.h"

#include <cstdint>
#include <optional>
#include <string>

#include <sys/stat.h>

// A save that must write a data file in place (its owner could not be kept through a rename) is
// journaled, so that being killed at any instant never leaves a torn file: before the first byte
// of the data file changes, the complete new content is on disk under a name the next open looks
// for, with a record of the file it belongs to. The next open finishes the write from it.
//
// The journal is the staged content itself, followed by a trailer (all integers little-endian):
//   "QLGJRNL1", device, inode, old size, new size, old digest, new digest (uint64 each), the data
//   file's path (uint32 length and bytes), the trailer's size (uint32), "QLGJRNLE".
// Its name is ".quillery-DEVICE-INODE.journal", beside the data file when the saver could make a
// file there, else in the staging folder (TMPDIR). It holds what the data file will hold, so an
// encrypted file's journal holds only encrypted bytes, and it is readable by whoever may read the
// data file. The digests are TContentDigest values: the journal lasts only as long as the save.
namespace SaveJournal {

// Turns the staged file stagingPath (open as fd, holding the new content whose digest is
// newDigest) into the journal for the data file at target, whose metadata is old and whose
// content now has oldDigest: the trailer is written and flushed, then the file is renamed and the
// folder flushed. Returns the journal's path. On failure nothing has changed but the staged file
// is gone; the error is thrown as EFileError naming path.
std::string Commit(int fd, const std::string& stagingPath, const std::string& path, const std::string& target,
                   const struct stat& old, uint64_t oldDigest, uint64_t newDigest);

// Removes a journal once the data file holds a whole content again.
void Remove(const std::string& journalPath);

// Before a data file at path is read: finishes a save of it that a journal records as begun but
// not done, and removes the journal. Returns what it did as a message for the user, or nothing
// when there was no such save or it had finished. A journal that does not describe this file, is not
// whole, or lies in the shared staging folder but belongs to another user is left alone. Fails
// with EFileError when the data file cannot be written.
std::optional<TMessage> FinishInterruptedSave(const std::string& path);

} // namespace SaveJournal

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Category.h"
#include "core/Error.h"
#include "core/FileStamp.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TDataFileKey;
class TStreamReader;
class TStreamWriter;

// A data file in memory: the password digest and the categories.
class TDataFile {
public:
    static constexpr int32_t kMagic = 88888888;
    static constexpr int32_t kVersion = 1;

    TDataFile();

    int32_t Magic = kMagic;
    int32_t Version = kVersion;
    std::string PasswordDigest;
    int32_t LastCategoryID = 0;
    std::vector<std::unique_ptr<TCategory>> Categories;
    // Set while the file is kept encrypted: every save seals the plain bytes with this key.
    std::shared_ptr<const TDataFileKey> EncryptionKey;

    // The magic and the version, which every data file starts with (an encrypted one with the
    // container's magic of the same size).
    static constexpr size_t kHeaderSize = 8;

    // Reads a whole data file and returns its stamp, to tell later whether another program has
    // changed it. Only a regular file is opened, and its header is checked before the rest is
    // read. "Cannot open file %s: reason" when it cannot be read (TInputFile); the loader's errors
    // otherwise. What was read before a failure stays in the object. An encrypted file is opened
    // with the password that askPassword gives ("Password error." without one); nothing of it is
    // loaded unless it opens whole.
    // A save of the file that was killed part way is finished first (SaveJournal), and tell is
    // given the message that says so.
    using TAskPassword = std::function<std::string()>;
    using TTell = std::function<void(const TMessage&)>;
    TFileStamp LoadFromFile(const std::string& path, const TAskPassword& askPassword = {},
                            const TTell& tell = {});
    void LoadFromStream(TStreamReader& stream);

    // Writes the whole object as WriteFileAtomically does, sealed with EncryptionKey when it is
    // set, and returns the stamp of the file written. On failure the old file is untouched and the
    // error is raised.
    TFileStamp SaveToFile(const std::string& path) const;
    void SaveToStream(TStreamWriter& stream) const;
    // The bytes SaveToStream writes: always the plain format.
    std::string SaveToBytes() const;
    bool IsEncrypted() const { return EncryptionKey != nullptr; }

    // A new category with the defaults and the next id, appended to Categories.
    TCategory* AddCategory();
    const TCategory* CategoryByID(int32_t id) const;
    TCategory* CategoryByID(int32_t id);
    int32_t IndexOfCategory(const TCategory* category) const;

    bool HasPassword() const;

    // The template editor's working copy: this object becomes a copy of source's categories
    // (templates, columns, icons, sort order) without their records, with source's LastCategoryID.
    void BuildWorkingCopy(const TDataFile& source);
    // Takes an edited working copy back: categories matched by id are merged (records keep their
    // values with their text boxes), categories the copy lacks are dropped with their records,
    // new ones are added without records, and the order becomes the copy's.
    void ApplyWorkingCopy(const TDataFile& copy);

private:
    // Reads the magic and the version; either one wrong fails the load at once.
    void ReadHeader(TStreamReader& stream);
};

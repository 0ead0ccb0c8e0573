#pragma once

#include "core/Category.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TDataFileKey;
class TStreamReader;
class TStreamWriter;

// A data file in memory: the password digest and the categories.
class TLedgrin {
public:
    static constexpr int32_t kMagic = 88888888;
    static constexpr int32_t kVersion = 1;

    TLedgrin();

    int32_t Magic = kMagic;
    int32_t Version = kVersion;
    std::string PasswordDigest;
    int32_t LastCategoryID = 0;
    std::vector<std::unique_ptr<TCategory>> Categories;
    // Set while the file is kept encrypted: every save seals the plain bytes with this key.
    std::shared_ptr<const TDataFileKey> EncryptionKey;

    // Reads a whole data file. "Cannot open file %s" when it cannot be read; the loader's errors
    // otherwise. What was read before a failure stays in the object. An encrypted file is opened
    // with the password that askPassword gives ("Password error." without one); nothing of it is
    // loaded unless it opens whole.
    using TAskPassword = std::function<std::string()>;
    void LoadFromFile(const std::string& path, const TAskPassword& askPassword = {});
    void LoadFromStream(TStreamReader& stream);

    // Writes the whole object to a temporary file beside path, flushes it to disk and renames it
    // over path, keeping the old file's permissions; sealed with EncryptionKey when it is set. On failure the
    // old file is untouched, the temporary file is removed and the error is raised.
    void SaveToFile(const std::string& path) const;
    void SaveToStream(TStreamWriter& stream) const;
    // The bytes SaveToStream writes: always the plain format.
    std::string SaveToBytes() const;
    bool IsEncrypted() const { return EncryptionKey != nullptr; }

    // A new category with the defaults and the next id, appended to Categories.
    TCategory* AddCategory();
    TCategory* CategoryByID(int32_t id) const;
    int32_t IndexOfCategory(const TCategory* category) const;

    bool HasPassword() const;

    // The template editor's working copy: this object becomes a copy of source's categories
    // (templates, columns, icons, sort order) without their records, with source's LastCategoryID.
    void BuildWorkingCopy(const TLedgrin& source);
    // Takes an edited working copy back: categories matched by id are merged (records keep their
    // values with their text boxes), categories the copy lacks are dropped with their records,
    // new ones are added without records, and the order becomes the copy's.
    void ApplyWorkingCopy(const TLedgrin& copy);
};

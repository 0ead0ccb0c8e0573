// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/DataFile.h"

#include "core/BlockArena.h"
#include "core/EncryptedFile.h"
#include "core/Error.h"
#include "core/FileIO.h"
#include "core/InputFile.h"
#include "core/Password.h"
#include "core/ReadAhead.h"
#include "core/SaveJournal.h"
#include "core/Stream.h"

#include <algorithm>
#include <future>

namespace {
// The fewest bytes a category block can take: six int32 fields, the smallest bitmap (file header
// and core header) and three counts.
constexpr size_t kMinCategoryBytes = 6 * 4 + 14 + 12 + 3 * 4;
} // namespace

TDataFile::TDataFile() : PasswordDigest(::PasswordDigest("")) {}

TFileStamp TDataFile::LoadFromFile(const std::string& path, const TAskPassword& askPassword,
                                   const TTell& tell) {
    if (path.empty())
        ThrowAssertion(kAssertionFailure, "DataLedgrin", 62);
    const std::optional<TMessage> finished = SaveJournal::FinishInterruptedSave(path);
    if (finished && tell)
        tell(*finished);
    TInputFile file(path);
    // The header first: a file that is not ours is refused before the rest is read.
    std::string bytes;
    file.Read(bytes, kHeaderSize);
    static_assert(NEncryptedFile::kMagicSize <= kHeaderSize, "the container is told by the header");
    // A file cut inside the container's magic is an encrypted file cut short, not a foreign one.
    if (!bytes.empty() && bytes.size() < kHeaderSize && IsEncryptedContainerStart(bytes))
        throw EDamagedFileError();
    if (!IsEncryptedContainer(bytes)) {
        TStreamReader header(bytes);
        ReadHeader(header);
        TReadAheadSource source([&file](char* to, size_t size) { return file.Read(to, size); }, bytes,
                                static_cast<size_t>(std::max<off_t>(file.Info().st_size, 0)),
                                TBlockArena::PrepareSparePiece);
        TStreamReader stream(source, bytes, source.Total());
        LoadFromStream(stream);
        source.Stop();
        return MakeFileStamp(file.Info(), source.Digest(), source.BytesRead());
    }
    if (!askPassword)
        throw EPasswordError();
    const std::string password = askPassword();
    file.Read(bytes, NEncryptedFile::kHeaderSize - bytes.size());
    const TKeyDerivation parameters = ReadContainerHeader(bytes);
    // The key derivation takes a good part of a second: the rest of the file is read
    // meanwhile. The future waits for it however this function is left.
    std::future<std::shared_ptr<const TDataFileKey>> key = std::async(
        std::launch::async, [&password, &parameters] { return TDataFileKey::Derive(password, parameters); });
    file.ReadToEnd(bytes);
    TOpenedDataFile opened = OpenDataFile(bytes, key.get());
    TStreamReader stream(opened.Plain.Bytes);
    LoadFromStream(stream);
    EncryptionKey = std::move(opened.Key);
    TContentDigest digest;
    digest.Add(bytes);
    return MakeFileStamp(file.Info(), digest.Value(), bytes.size());
}

void TDataFile::ReadHeader(TStreamReader& stream) {
    Magic = stream.ReadInt32();
    if (Magic != kMagic)
        ThrowAssertion(QT_TRANSLATE_NOOP("Quillery", "This is not a Quillery file."), "DataLedgrin", 91);
    Version = stream.ReadInt32();
    if (Version != kVersion)
        ThrowAssertion(kVersionIncompatible, "DataLedgrin", 93);
}

void TDataFile::LoadFromStream(TStreamReader& stream) {
    ReadHeader(stream);
    PasswordDigest = ReadStreamString(stream);
    LastCategoryID = stream.ReadInt32();
    const int32_t count = stream.ReadInt32();
    stream.CheckCount(count, kMinCategoryBytes);
    for (int32_t i = 0; i < count; ++i) {
        Categories.push_back(std::make_unique<TCategory>());
        Categories.back()->LoadFromStream(stream);
    }
}

TFileStamp TDataFile::SaveToFile(const std::string& path) const {
    if (path.empty())
        ThrowAssertion(kAssertionFailure, "DataLedgrin", 101);
    // Through a small buffer: building the image of a large file whole costs more than writing it.
    return WriteFileAtomically(path, [this](const TByteSink& put) {
        // An encrypted file's plain bytes go straight into the sealing sink: none reach the file.
        std::unique_ptr<TSealingSink> sealing;
        if (EncryptionKey)
            sealing = std::make_unique<TSealingSink>(*EncryptionKey, put);
        TWipedBytes buffer;
        TStreamWriter stream(
            buffer.Bytes,
            sealing ? TByteSink([&sealing](std::string_view piece) { sealing->Write(piece); }) : put);
        SaveToStream(stream);
        stream.Flush();
        if (sealing)
            sealing->Finish();
    });
}

void TDataFile::SaveToStream(TStreamWriter& stream) const {
    stream.WriteInt32(Magic);
    stream.WriteInt32(Version);
    WriteStreamString(stream, PasswordDigest);
    stream.WriteInt32(LastCategoryID);
    stream.WriteInt32(static_cast<int32_t>(Categories.size()));
    for (const auto& category : Categories)
        category->SaveToStream(stream);
}

std::string TDataFile::SaveToBytes() const {
    std::string bytes;
    TStreamWriter stream(bytes);
    SaveToStream(stream);
    return bytes;
}

TCategory* TDataFile::AddCategory() {
    Categories.push_back(std::make_unique<TCategory>());
    Categories.back()->ID = ++LastCategoryID;
    return Categories.back().get();
}

const TCategory* TDataFile::CategoryByID(int32_t id) const {
    for (const auto& category : Categories)
        if (category->ID == id)
            return category.get();
    return nullptr;
}

TCategory* TDataFile::CategoryByID(int32_t id) {
    return const_cast<TCategory*>(static_cast<const TDataFile*>(this)->CategoryByID(id));
}

int32_t TDataFile::IndexOfCategory(const TCategory* category) const {
    for (size_t i = 0; i < Categories.size(); ++i)
        if (Categories[i].get() == category)
            return static_cast<int32_t>(i);
    return -1;
}

bool TDataFile::HasPassword() const {
    return PasswordDigest != ::PasswordDigest("");
}

void TDataFile::BuildWorkingCopy(const TDataFile& source) {
    Categories.clear();
    LastCategoryID = source.LastCategoryID;
    for (const auto& category : source.Categories) {
        Categories.push_back(std::make_unique<TCategory>());
        Categories.back()->AssignTemplate(*category);
    }
}

void TDataFile::ApplyWorkingCopy(const TDataFile& copy) {
    LastCategoryID = copy.LastCategoryID;
    std::vector<std::unique_ptr<TCategory>> kept;
    for (size_t i = Categories.size(); i-- > 0;) {
        if (const TCategory* edited = copy.CategoryByID(Categories[i]->ID)) {
            Categories[i]->MergeTemplate(*edited);
            kept.push_back(std::move(Categories[i]));
        }
    }
    Categories.clear();
    for (const auto& edited : copy.Categories) {
        auto found = std::find_if(kept.begin(), kept.end(), [&](const auto& category) {
            return category && category->ID == edited->ID;
        });
        if (found != kept.end()) {
            Categories.push_back(std::move(*found));
        } else {
            Categories.push_back(std::make_unique<TCategory>());
            Categories.back()->AssignTemplate(*edited);
        }
    }
}

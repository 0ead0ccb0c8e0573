// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/DataFile.h"

#include "core/EncryptedFile.h"
#include "core/Error.h"
#include "core/FileIO.h"
#include "core/InputFile.h"
#include "core/Password.h"
#include "core/SaveJournal.h"
#include "core/Stream.h"

#include <algorithm>
#include <cstring>
#include <future>
#include <memory>

namespace {
// The fewest bytes a category block can take: six int32 fields, the smallest bitmap (file header
// and core header) and three counts.
constexpr size_t kMinCategoryBytes = 6 * 4 + 14 + 12 + 3 * 4;

// A plain file's bytes, read as the loader asks for them: bytes after what the format describes
// are never read, however many there are. The loader lets go of what it has taken in, so a window
// of a few reads is held however large the file; the digest takes in every byte as it is read.
class TFileSource : public TStreamSource {
public:
    TFileSource(TInputFile& file, const std::string& first) : FFile(file) {
        FTotal = std::max(first.size(), static_cast<size_t>(std::max<off_t>(file.Info().st_size, 0)));
        Reserve(first.size());
        if (!first.empty())
            std::memcpy(FBuffer.get(), first.data(), first.size());
        FSize = FRead = first.size();
        FDigest.Add(first);
    }
    size_t Total() const { return FTotal; }
    uint64_t Digest() const { return FDigest.Value(); }
    size_t BytesRead() const { return FRead; }

    TStreamWindow Fill(size_t keep, size_t end) override {
        if (keep > FStart) {
            const size_t drop = std::min(keep - FStart, FSize);
            std::memmove(FBuffer.get(), FBuffer.get() + drop, FSize - drop);
            FSize -= drop;
            FStart = keep;
        }
        if (end > FStart + FSize) {
            const size_t wanted = std::min(FTotal - FRead, std::max(end - FStart - FSize, kChunk));
            Reserve(FSize + wanted);
            const size_t got = FFile.Read(FBuffer.get() + FSize, wanted);
            FDigest.Add(std::string_view(FBuffer.get() + FSize, got));
            FSize += got;
            FRead += got;
        }
        return {std::string_view(FBuffer.get(), FSize), FStart};
    }

private:
    // Small enough that the bytes read are still in the processor's cache when the loader takes
    // them in; a whole-megabyte read made the load a fifth slower.
    static constexpr size_t kChunk = 1 << 17;

    // The buffer is not zeroed first: every byte of it is read into before it is looked at.
    void Reserve(size_t size) {
        if (size <= FCapacity)
            return;
        const size_t capacity = std::max(size, 2 * FCapacity);
        std::unique_ptr<char[]> buffer(new char[capacity]);
        if (FSize > 0)
            std::memcpy(buffer.get(), FBuffer.get(), FSize);
        FBuffer = std::move(buffer);
        FCapacity = capacity;
    }

    TInputFile& FFile;
    std::unique_ptr<char[]> FBuffer; // the file's bytes from FStart on
    size_t FCapacity = 0;
    size_t FSize = 0;
    size_t FStart = 0;
    size_t FTotal = 0;
    size_t FRead = 0;
    TContentDigest FDigest;
};
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
        TFileSource source(file, bytes);
        TStreamReader stream(source, bytes, source.Total());
        LoadFromStream(stream);
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

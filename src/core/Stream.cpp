// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Stream.h"

#include "core/Error.h"

#include <limits>

void TStreamWriter::WriteString(std::string_view text) {
    if (text.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        throw EStreamError(kStreamWriteError);
    WriteInt32(static_cast<int32_t>(text.size()));
    WriteBytes(text);
}

void TStreamWriter::Flush() {
    if (FSink && !FBuffer.empty()) {
        FSink(FBuffer);
        FBuffer.clear();
    }
}

std::string ReadStreamString(TStreamReader& stream) {
    return std::string(stream.ReadStringView());
}

void WriteStreamString(TStreamWriter& stream, std::string_view text) {
    stream.WriteString(text);
}

void TStreamReader::Fetch(size_t n) {
    if (FSource == nullptr || n > Remaining())
        ThrowStreamReadError();
    const size_t position = Position();
    const TStreamWindow window = FSource->Fill(FKeep, position + n);
    if (window.Start > FKeep || position - window.Start > window.Bytes.size())
        ThrowStreamReadError();
    FData = window.Bytes;
    FBase = window.Start;
    FPos = position - FBase;
    if (n > FData.size() - FPos)
        ThrowStreamReadError();
}

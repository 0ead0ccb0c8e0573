// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/workbook/PartXml.h"

#include <cstring>

namespace {
// A zip entry as a sequential device, so the XML reader knows where the part ends.
class TEntryDevice : public QIODevice {
public:
    TEntryDevice(const TZipReader& zip, int index) : FStream(zip, index) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }
    bool Failed() const { return FFailed; }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        try {
            if (FPosition == FPending.size()) {
                FPending = FStream.Next();
                FPosition = 0;
            }
        } catch (const EDamagedPackage&) {
            FFailed = true;
            return -1;
        }
        const qint64 n = std::min<qint64>(maxSize, FPending.size() - FPosition);
        std::memcpy(data, FPending.constData() + FPosition, size_t(n));
        FPosition += qsizetype(n);
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    TZipReader::TStream FStream;
    QByteArray FPending;
    qsizetype FPosition = 0;
    bool FFailed = false;
};
} // namespace

TPartXml::TPartXml(const TZipReader& zip, int index) : FDevice(std::make_unique<TEntryDevice>(zip, index)) {
    FXml.setDevice(FDevice.get());
}

TPartXml::TPartXml(const QByteArray& bytes) : FXml(bytes) {}

TPartXml::~TPartXml() = default;

bool TPartXml::Next() {
    const QXmlStreamReader::TokenType token = FXml.readNext();
    if (token == QXmlStreamReader::EndDocument)
        return false;
    const auto* entry = dynamic_cast<const TEntryDevice*>(FDevice.get());
    if (token == QXmlStreamReader::Invalid || (entry && entry->Failed()))
        throw EDamagedPackage();
    return true;
}

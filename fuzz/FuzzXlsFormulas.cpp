// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes read as a compound file, or as the workbook stream of a sound one, either fail with the
// engine's own error or give formula results for no more sheets than the input could list.

#include "exchange/MinimalCompoundFile.h"
#include "exchange/workbook/XlsFormulas.h"
#include "exchange/workbook/ZipPackage.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // Inputs that are no compound file are the workbook stream itself, so the fuzzer reaches the
    // record walk without first having to make a valid container.
    if (!bytes.startsWith("\xD0\xCF\x11\xE0"))
        bytes = CompoundFile(bytes.left(kMaxCompoundStream));
    try {
        const TXlsFormulaResults results(bytes);
        // Each sheet is listed by a record of eight bytes at least.
        if (results.SheetCount() > bytes.size() / 8) {
            std::fprintf(stderr, "FuzzXlsFormulas: more sheets than records\n");
            std::abort();
        }
        for (int sheet = 0; sheet < results.SheetCount(); ++sheet)
            results.Text(sheet, 0, 0);
    } catch (const EDamagedPackage&) {
    }
    return 0;
}

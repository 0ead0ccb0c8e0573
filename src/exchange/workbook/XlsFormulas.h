// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <vector>

// The results that a legacy .xls workbook (BIFF8) saved with its formula cells, as the import shows
// them: libfreexl reads those cells as empty. Read once from the whole file; throws EDamagedPackage
// when its container is damaged. A workbook in another BIFF version or an encrypted one has none.
class TXlsFormulaResults {
public:
    explicit TXlsFormulaResults(const QByteArray& file);
    // Whether the workbook is protected by a password (its globals hold a FILEPASS record).
    bool Encrypted() const { return FEncrypted; }
    // The text of a formula's result; sheets in the workbook's order, rows and columns from 0.
    QString Text(int sheet, int row, int column) const;
    int SheetCount() const { return int(FSheets.size()); }

private:
    std::vector<QHash<quint32, QString>> FSheets;
    bool FEncrypted = false;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The rules worksheet names follow in every format Quillery writes.
namespace SheetNames {
// Why the name is refused, or an empty text when it is a valid name.
QString Problem(const QString& name);
// A .csv workbook's one worksheet is named after the file, made into a valid name.
QString FromFileName(const QString& path);
// "SheetN" with the smallest N from count + 1 that no name in taken uses (ignoring case).
QString NextDefault(const QStringList& taken);
} // namespace SheetNames

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QStringList>

// One stream of a compound file (the container of legacy Office documents): the first of the names
// that the file holds, compared without case. Throws EDamagedPackage when the container is damaged:
// a sector outside the file, a chain that loops or ends early, a size past the file; nothing is read
// outside the buffer, and nothing larger than the file is allocated.
QByteArray CompoundFileStream(const QByteArray& file, const QStringList& names);
// Whether the file is a compound file with a stream of that name (compared without case); false
// for any other file, damaged ones included.
bool CompoundFileHoldsStream(const QByteArray& file, const QString& name);

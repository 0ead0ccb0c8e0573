// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A folder that belongs to this user alone, for the single-instance lock and socket: names there
// cannot be taken or listened on by another local user.
namespace PrivateFolder {

// Empty when path is a real folder (not a link) owned by this user and closed to everyone else;
// otherwise why it may not be used.
QString Problem(const QString& path);

// $XDG_RUNTIME_DIR when it is private; otherwise "quillery-<uid>" in the temporary folder, made
// with mode 0700 when missing. Empty, with the reason in *why, when neither may be used (the
// temporary one exists but is someone else's, a link, or open to others).
QString Find(QString* why);

} // namespace PrivateFolder

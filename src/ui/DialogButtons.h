// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QDialog;
class QDialogButtonBox;
class QString;

// The button row of a dialog: okText (the default button, "BtnOK") and "&Cancel" ("BtnCancel",
// which Escape answers too), accepting and rejecting the dialog.
QDialogButtonBox* NewOkCancelButtons(QDialog* dialog, const QString& okText);

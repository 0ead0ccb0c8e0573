#pragma once

class QDialog;
class QDialogButtonBox;

// The "&OK" (default, "BtnOK") and "&Cancel" ("BtnCancel", also Escape) buttons of a dialog,
// accepting and rejecting it.
QDialogButtonBox* NewOkCancelButtons(QDialog* dialog);

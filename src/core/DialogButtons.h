#pragma once

class InterfaceTexts;
class QDialog;
class QDialogButtonBox;

// OK and Cancel in the interface's language, accepting and rejecting `dialog`.
QDialogButtonBox* okCancelButtons(QDialog* dialog, const InterfaceTexts& texts);

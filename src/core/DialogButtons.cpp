#include "core/DialogButtons.h"

#include "core/InterfaceTexts.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

QDialogButtonBox* okCancelButtons(QDialog* dialog, const InterfaceTexts& texts)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(texts.plain(Text::Ok));
    buttons->button(QDialogButtonBox::Cancel)->setText(texts.plain(Text::Cancel));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

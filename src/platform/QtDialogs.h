#pragma once

#include "platform/Dialogs.h"

class QtDialogs : public Dialogs {
public:
    QMessageBox::StandardButton message(QWidget* owner, QMessageBox::Icon icon,
                                        const QString& title, const QString& text,
                                        QMessageBox::StandardButtons buttons) override;
    QString showFileDialog(const FileDialogRequest& request) override;
    std::optional<QColor> chooseColour(QWidget* owner, const QColor& initial) override;
    bool choosePrinter(QWidget* owner, QPrinter& printer) override;
};

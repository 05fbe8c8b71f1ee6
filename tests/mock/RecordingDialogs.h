#pragma once

#include "platform/Dialogs.h"

#include <QList>
#include <QQueue>
#include <functional>

// Answers for the user: records every question and gives the queued answers in order. With no
// answer queued, a box gets its most cautious button (Cancel, then No, then OK) and a file
// dialog is cancelled.
class RecordingDialogs : public Dialogs {
public:
    struct Message {
        QMessageBox::Icon icon;
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
    };

    QMessageBox::StandardButton message(QWidget* owner, QMessageBox::Icon icon,
                                        const QString& title, const QString& text,
                                        QMessageBox::StandardButtons buttons) override;
    QString showFileDialog(const FileDialogRequest& request) override;
    std::optional<QColor> chooseColour(QWidget* owner, const QColor& initial) override;
    // Prints to the next queued PDF file; none queued cancels.
    bool choosePrinter(QWidget* owner, QPrinter& printer) override;

    QList<Message> messages;
    // Runs while a box is "open", as the event loop of a real one would.
    std::function<void()> whileShown;
    QList<FileDialogRequest> fileDialogs;
    QQueue<QMessageBox::StandardButton> answers;
    QQueue<QString> chosenFiles;
    // The filter each accepted file dialog reports; its own preselected one when empty.
    QQueue<int> chosenFilters;
    // An invalid colour stands for a cancelled dialog; none queued cancels too.
    QQueue<QColor> chosenColours;
    // The colour each colour dialog started from.
    QList<QColor> colourStarts;
    QQueue<QString> printFiles;
    int printDialogs = 0;
};

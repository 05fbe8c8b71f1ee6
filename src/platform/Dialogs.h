#pragma once

#include <QColor>
#include <QList>
#include <QMessageBox>
#include <QPair>
#include <QString>
#include <optional>

class QPrinter;
class QWidget;

// One open or save dialog: every field is optional.
struct FileDialogRequest {
    QWidget* owner = nullptr;
    bool open = false; // false: a save dialog
    QString title;
    // Pairs of description and patterns, the patterns separated by ";" ("*.wav;*.mp3").
    QList<QPair<QString, QString>> filters;
    int filterIndex = 1; // 1-based
    // A name saved without extension gets the chosen filter's ("*.txt"), or this one when the
    // filter names none.
    QString defaultExtension;
    QString initialFolder; // empty: the current folder
    QString fileName;
    // Receives the 1-based index of the filter the user chose, when the dialog is accepted.
    int* chosenFilter = nullptr;
};

// Every question the program asks the user. Windows get it from the Platform bundle, so tests
// can answer for the user.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual QMessageBox::StandardButton message(QWidget* owner, QMessageBox::Icon icon,
                                                const QString& title, const QString& text,
                                                QMessageBox::StandardButtons buttons) = 0;

    // The chosen path, or "" when the user cancels.
    virtual QString showFileDialog(const FileDialogRequest& request) = 0;

    // The colour chosen in the colour dialog, or nullopt when the user cancels.
    virtual std::optional<QColor> chooseColour(QWidget* owner, const QColor& initial) = 0;

    // The print dialog for the printer, which keeps what the user chose there; false when the
    // user cancels.
    virtual bool choosePrinter(QWidget* owner, QPrinter& printer) = 0;

    // Convenience for the one-button boxes most messages are.
    void warning(QWidget* owner, const QString& title, const QString& text)
    {
        message(owner, QMessageBox::Warning, title, text, QMessageBox::Ok);
    }
    void information(QWidget* owner, const QString& title, const QString& text)
    {
        message(owner, QMessageBox::Information, title, text, QMessageBox::Ok);
    }
};

// The longest file name a dialog is preset with.
constexpr int kMaxPresetFileName = 256;

// The filter line of a Qt file dialog for one description and ";"-separated patterns.
QString qtFileFilter(const QString& description, const QString& patterns);

#include "platform/QtDialogs.h"

#include "platform/OnScreen.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>

QString qtFileFilter(const QString& description, const QString& patterns)
{
    QString spaced = patterns;
    spaced.replace(QLatin1Char(';'), QLatin1Char(' '));
    return description + QStringLiteral(" (") + spaced + QLatin1Char(')');
}

namespace {

// A dialog belongs over the window that asks. One asked for by a hidden window, or by none, goes
// over the window the user is in.
QWidget* ownerWindow(QWidget* owner)
{
    QWidget* window = owner ? owner->window() : nullptr;
    if (window && window->isVisible() && !window->isMinimized())
        return window;
    return QApplication::activeWindow();
}

void placeOverOwner(QDialog& dialog)
{
    // The size Qt would give it on showing.
    dialog.adjustSize();
    centreOver(&dialog, dialog.parentWidget());
}

} // namespace

QMessageBox::StandardButton QtDialogs::message(QWidget* owner, QMessageBox::Icon icon,
                                               const QString& title, const QString& text,
                                               QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, title, text, buttons, ownerWindow(owner));
    box.setTextFormat(Qt::PlainText);
    placeOverOwner(box);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString QtDialogs::showFileDialog(const FileDialogRequest& request)
{
    QFileDialog dialog(ownerWindow(request.owner), request.title);
    dialog.setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(request.open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    // Callers ask before overwriting themselves.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDirectory(request.initialFolder.isEmpty() ? QDir::currentPath()
                                                        : request.initialFolder);

    QStringList filters;
    for (const auto& [description, patterns] : request.filters)
        filters << qtFileFilter(description, patterns);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = request.filterIndex - 1;
        if (index >= 0 && index < filters.size())
            dialog.selectNameFilter(filters.at(index));
    }
    if (!request.defaultExtension.isEmpty())
        dialog.setDefaultSuffix(request.defaultExtension);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName.left(kMaxPresetFileName));

    placeOverOwner(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return {};
    QDir::setCurrent(QFileInfo(chosen.first()).absolutePath());
    return QDir::toNativeSeparators(chosen.first());
}

std::optional<QColor> QtDialogs::chooseColour(QWidget* owner, const QColor& initial)
{
    QColorDialog dialog(initial, ownerWindow(owner));
    placeOverOwner(dialog);
    if (dialog.exec() != QDialog::Accepted || !dialog.selectedColor().isValid())
        return std::nullopt;
    return dialog.selectedColor();
}

bool QtDialogs::choosePrinter(QWidget* owner, QPrinter& printer)
{
    QPrintDialog dialog(&printer, ownerWindow(owner));
    // The printer, its paper and orientation: what is printed is the selection or everything.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    placeOverOwner(dialog);
    return dialog.exec() == QDialog::Accepted;
}

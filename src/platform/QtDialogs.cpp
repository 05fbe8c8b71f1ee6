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
    // A name saved without extension gets the chosen filter's, below, not always the default.
    if (request.open && !request.defaultExtension.isEmpty())
        dialog.setDefaultSuffix(request.defaultExtension);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName.left(kMaxPresetFileName));

    placeOverOwner(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return {};
    QString path = chosen.first();
    if (request.chosenFilter)
        *request.chosenFilter = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
    // As Qt's own default suffix: only a name with no dot at all is given one.
    if (!request.open && !QFileInfo(path).fileName().contains(QLatin1Char('.'))) {
        const qsizetype filter = filters.indexOf(dialog.selectedNameFilter());
        // The first pattern's extension, when it names one ("*.txt"), else the default one.
        QString extension = request.defaultExtension;
        if (filter >= 0) {
            const QString first = request.filters.at(filter).second.section(QLatin1Char(';'), 0, 0);
            const QString named = first.mid(2);
            if (first.startsWith(QLatin1String("*.")) && !named.isEmpty() &&
                !named.contains(QLatin1Char('*')) && !named.contains(QLatin1Char('?')))
                extension = named;
        }
        if (!extension.isEmpty())
            path += QLatin1Char('.') + extension;
    }
    QDir::setCurrent(QFileInfo(path).absolutePath());
    return QDir::toNativeSeparators(path);
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

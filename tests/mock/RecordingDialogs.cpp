#include "RecordingDialogs.h"

#include <QPrinter>

QMessageBox::StandardButton RecordingDialogs::message(QWidget*, QMessageBox::Icon icon,
                                                      const QString& title, const QString& text,
                                                      QMessageBox::StandardButtons buttons)
{
    messages.append({icon, title, text, buttons});
    if (whileShown)
        whileShown();
    if (!answers.isEmpty())
        return answers.dequeue();
    for (auto cautious : {QMessageBox::Cancel, QMessageBox::No, QMessageBox::Ok}) {
        if (buttons.testFlag(cautious))
            return cautious;
    }
    return QMessageBox::NoButton;
}

QString RecordingDialogs::showFileDialog(const FileDialogRequest& request)
{
    fileDialogs.append(request);
    if (request.chosenFilter)
        *request.chosenFilter =
            chosenFilters.isEmpty() ? request.filterIndex : chosenFilters.dequeue();
    return chosenFiles.isEmpty() ? QString() : chosenFiles.dequeue();
}

std::optional<QColor> RecordingDialogs::chooseColour(QWidget*, const QColor& initial)
{
    colourStarts << initial;
    const QColor chosen = chosenColours.isEmpty() ? QColor() : chosenColours.dequeue();
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

bool RecordingDialogs::choosePrinter(QWidget*, QPrinter& printer)
{
    ++printDialogs;
    if (printFiles.isEmpty())
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printFiles.dequeue());
    return true;
}

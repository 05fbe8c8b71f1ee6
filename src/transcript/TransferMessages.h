#pragma once

#include <QString>
#include <QStringList>

class InterfaceTexts;
struct ExportSummary;
struct ImportSummary;

// What the user is told after an export or a subtitle import, from the interface text table.
// A failed write is told by the caller, which knows the file and the reason.
namespace TransferMessages {

// The export's refusal or what it left out; empty when there is nothing to tell.
QStringList exportNotes(const ExportSummary& summary, const InterfaceTexts& texts);
// "" when every cue was read.
QString importNote(const ImportSummary& summary, const InterfaceTexts& texts);
QString unknownFormat(const InterfaceTexts& texts);

} // namespace TransferMessages

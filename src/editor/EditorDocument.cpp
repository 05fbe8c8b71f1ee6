#include "editor/EditorDocument.h"

#include <QFileInfo>

QString EditorDocument::caption(const QString& editorTitle) const
{
    const QString name = isUntitled() ? untitledFileName() : QFileInfo(path).fileName();
    return editorTitle + QStringLiteral(" - ") + name;
}

void EditorDocument::startUntitled()
{
    if (untitledNumber < kLastUntitledNumber)
        ++untitledNumber;
    path.clear();
    modified = false;
}

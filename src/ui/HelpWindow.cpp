#include "ui/HelpWindow.h"

#include "platform/TextFile.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

HelpWindow::HelpWindow(QWidget* parent) : QTextBrowser(parent)
{
    setObjectName(QStringLiteral("helpWindow"));
    setWindowFlag(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    // Links are followed here, so that one to a web page goes to the desktop, not into this
    // window.
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &HelpWindow::followLink);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        resize(area.size() * 3 / 5);
        move(area.center() - rect().center());
    }
}

bool HelpWindow::showPage(const QString& path, QString* error)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("html") || suffix == QLatin1String("htm")) {
        if (!QFileInfo(path).isReadable()) {
            if (error)
                *error = QStringLiteral("Cannot read ") + path;
            return false;
        }
        setSource(QUrl::fromLocalFile(path), QTextDocument::HtmlResource);
        return true;
    }
    const auto bytes = readFileWhole(path, error);
    if (!bytes)
        return false;
    setPlainText(decodeText(*bytes));
    return true;
}

void HelpWindow::followLink(const QUrl& url)
{
    const QUrl target = source().resolved(url);
    if (target.isLocalFile())
        setSource(target);
    else
        Q_EMIT outsideLinkClicked(target);
}

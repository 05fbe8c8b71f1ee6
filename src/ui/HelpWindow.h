#pragma once

#include <QTextBrowser>

// The program's own window for the help pages and the version history, for a desktop that has
// no web browser to show them.
class HelpWindow : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // An HTML page with its pictures and links; any other file as plain text. False, with the
    // system's reason, when the file cannot be read.
    [[nodiscard]] bool showPage(const QString& path, QString* error = nullptr);

Q_SIGNALS:
    // A link that leads out of the program's pages (a web page, an e-mail address).
    void outsideLinkClicked(const QUrl& url);

private:
    void followLink(const QUrl& url);
};

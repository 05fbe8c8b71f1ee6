#pragma once

#include "core/BookmarkCommands.h"
#include "core/EditorCommands.h"

#include <QStringList>
#include <QWidget>

// Stand-ins for the editor and bookmark windows that write what the player asks of them to a
// shared journal.
class JournalEditor : public EditorCommands {
public:
    explicit JournalEditor(QStringList& journal) : m_journal(journal) {}

    QWidget* window() override { return unloaded ? nullptr : &widget; }
    void giveFocus() override { m_journal << QStringLiteral("editor focus"); }
    ExitAnswer askToSaveBeforeExit() override
    {
        m_journal << QStringLiteral("editor question");
        return answer;
    }
    void insertTimestamp() override { m_journal << QStringLiteral("timestamp inserted"); }
    void followHeardPart() override { m_journal << QStringLiteral("following"); }
    void hideFindDialog() override { m_journal << QStringLiteral("find hidden"); }
    void unload() override
    {
        m_journal << QStringLiteral("editor unloaded");
        widget.hide();
        unloaded = true;
    }

    QWidget widget;
    ExitAnswer answer = ExitAnswer::Proceed;
    bool unloaded = false;

private:
    QStringList& m_journal;
};

class JournalBookmarks : public BookmarkCommands {
public:
    explicit JournalBookmarks(QStringList& journal) : m_journal(journal) {}

    // The real window is made when first shown.
    QWidget* window() override { return windowMade ? &widget : nullptr; }
    bool hasBookmarks() const override { return bookmarks; }
    void saveBookmarks() override { m_journal << QStringLiteral("bookmarks saved"); }
    void clearBookmarks() override
    {
        m_journal << QStringLiteral("bookmarks cleared");
        bookmarks = false;
    }
    void loadBookmarks(const QString& mediaPath) override
    {
        m_journal << QStringLiteral("bookmarks loaded for ") + mediaPath;
    }
    void unloadWindow() override
    {
        m_journal << QStringLiteral("bookmark window unloaded");
        widget.hide();
    }
    void closeAtExit() override
    {
        m_journal << QStringLiteral("bookmarks closing");
        widget.hide();
    }
    void addBookmark() override { m_journal << QStringLiteral("add bookmark"); }
    void nextBookmark() override { m_journal << QStringLiteral("next bookmark"); }
    void previousBookmark() override { m_journal << QStringLiteral("previous bookmark"); }
    void toggleBookmarkWindow() override { m_journal << QStringLiteral("show bookmarks"); }

    QWidget widget;
    bool bookmarks = false;
    bool windowMade = true;

private:
    QStringList& m_journal;
};

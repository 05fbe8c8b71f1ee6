#pragma once

#include "core/RecentList.h"

#include <QObject>
#include <QTimer>
#include <array>
#include <optional>

struct AppState;
class Dialogs;
class QAction;
class QMenu;
class QWidget;

// A window's list of recently used files: the list, its file in Files/, its four entries and
// separator in the window's file menu. Choosing an entry emits `chosen`; the window opens the
// file and calls `remember` once it has.
class RecentFilesMenu : public QObject {
    Q_OBJECT
public:
    enum class Saving {
        // The file is written before `remember` returns.
        AtOnce,
        // Written from the event loop (or by `saveIfDue`), so an opened file shows without
        // waiting for the disk.
        FromEventLoop,
    };
    enum class SeparatorPlace { Before, After };

    // `owner` is the window: the parent, and the owner of the box telling a failed save.
    RecentFilesMenu(AppState& state, Dialogs* dialogs, QString fileName, Saving saving,
                    QWidget* owner);

    // The hidden separator "recentSeparator" and the hidden entries recentAction1..4, at the
    // menu's end.
    void addEntries(QMenu* menu, SeparatorPlace place);
    // Reads the list file and shows it; the separator shows when the file held any line.
    void load();

    const RecentList& list() const { return m_list; }

    // Puts the path first, shows the list and saves it. A path that cannot be listed changes
    // nothing (false).
    bool remember(const QString& path);
    // The same, keeping the list as it was until `keepChanges`: `takeBack` restores it when the
    // file turns out to be unusable.
    void rememberUntilRefused(const QString& path);
    void keepChanges() { m_before.reset(); }
    void takeBack();
    // Writes the list now if a write is still due.
    void saveIfDue();

Q_SIGNALS:
    void chosen(const QString& path);

private:
    void show();
    void save();
    // Now or from the event loop, as the window saves its list.
    void saveAsSet();
    QString filePath() const;

    AppState& m_state;
    Dialogs* m_dialogs;
    QString m_fileName;
    Saving m_saving;
    QWidget* m_owner;
    RecentList m_list;
    std::optional<RecentList> m_before;
    QMenu* m_menu = nullptr;
    QAction* m_separator = nullptr;
    std::array<QAction*, RecentList::kSize> m_entries{};
    QTimer m_saveDue;
};

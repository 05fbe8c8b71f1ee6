#pragma once

#include <QStringList>
#include <QWidget>

class BookmarkController;
class InterfaceTexts;
class QListWidget;
class QPushButton;
class QTimer;

// The bookmark window: a tool window beside the player listing the current recording's
// bookmarks. `List1` shows the lines, `List2` holds the record of each line at the same index;
// every change goes through this class so the two never fall out of step. What reaches outside
// the window (the player, the table) is left to its owner.
class BookmarkWindow : public QWidget {
    Q_OBJECT
public:
    BookmarkWindow(BookmarkController& owner, const InterfaceTexts& texts,
                   QWidget* parent = nullptr);

    // Fills both lists, sorted, from the table's records.
    void restoreSession(const QStringList& records);
    // Caption and tooltips from the interface text table (also after a change of language).
    void applyTexts();
    void clearLists();

    const QStringList& records() const { return List2; }
    // The index of the selected line, -1 for none.
    int selectedIndex() const;
    void selectLine(int index);
    // The record of the selected line, "" for none.
    QString selectedRecord() const;
    // Adds a line in sorted order; false, adding nothing, when the exact line is listed already.
    bool insertBookmark(const QString& shownLine, const QString& record);

    void Command1_Click();
    void Command2_Click();
    void List1_DblClick();
    void refreshDisplay();

    QListWidget* List1 = nullptr;
    QPushButton* Command1 = nullptr; // "+"
    QPushButton* Command2 = nullptr; // "-"
    QTimer* Timer1 = nullptr;        // the delayed unload at exit

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void followWindowState();

    BookmarkController& m_owner;
    const InterfaceTexts& m_texts;
    QStringList List2;
};

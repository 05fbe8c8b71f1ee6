#pragma once

#include <QStringList>
#include <QWidget>

class InterfaceTexts;
class QListWidget;
class QPushButton;
class QTimer;

// The bookmark window: a tool window beside the player listing the current recording's
// bookmarks. The list shows one line per bookmark; m_records holds the record of each line at
// the same index, and every change goes through this class so the two never fall out of step.
// What reaches outside the window (the player, the table) is left to whoever listens to its
// signals.
class BookmarkWindow : public QWidget {
    Q_OBJECT
public:
    explicit BookmarkWindow(const InterfaceTexts& texts, QWidget* parent = nullptr);

    // Fills the list, sorted, from the table's records.
    void showRecords(const QStringList& records);
    // Caption and tooltips from the interface text table; a language change runs it.
    void retranslate();
    void clearLines();

    const QStringList& records() const { return m_records; }
    int lineCount() const;
    // The index of the selected line, -1 for none.
    int selectedIndex() const;
    void selectLine(int index);
    // The record of the selected line, "" for none.
    QString selectedRecord() const;
    // Adds a line in sorted order; false, adding nothing, when the exact line is listed already.
    bool insertLine(const QString& shownLine, const QString& record);

    // Asks to be unloaded after `ms` milliseconds (the window is closing with the program).
    void unloadSoon(int ms);

Q_SIGNALS:
    // The "+" button.
    void addRequested();
    // The user removed a line with the "-" button; records() holds what remains.
    void linesChanged();
    // A line was double-clicked, or Enter pressed on it; `record` is its record.
    void jumpRequested(const QString& record);
    // Closed by its frame, or the delay of unloadSoon ran out.
    void unloadRequested();
    // The texts were shown anew after a language change.
    void retranslated();

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void removeSelected();
    void jumpToSelected();
    void layOutControls();

    const InterfaceTexts& m_texts;
    QListWidget* m_lineList = nullptr;
    QPushButton* m_addButton = nullptr;
    QPushButton* m_removeButton = nullptr;
    QTimer* m_unloadTimer = nullptr;
    QStringList m_records;
};

#pragma once

#include "Controls.h"

#include <QListWidget>
#include <QPushButton>
#include <QStringList>
#include <QTest>

// The bookmark window as the user sees and works it: its list and buttons, found by name.
namespace BookmarkWindowUser {

inline QListWidget* lineList(const QWidget* window)
{
    return named<QListWidget>(window, "bookmarkList");
}

inline QPushButton* addButton(const QWidget* window)
{
    return named<QPushButton>(window, "addBookmarkButton");
}

inline QPushButton* removeButton(const QWidget* window)
{
    return named<QPushButton>(window, "removeBookmarkButton");
}

// The shown lines; none while there is no window.
inline QStringList lines(const QWidget* window)
{
    QStringList shown;
    if (window) {
        const QListWidget* list = lineList(window);
        for (int i = 0; i < list->count(); ++i)
            shown << list->item(i)->text();
    }
    return shown;
}

inline void doubleClickLine(const QWidget* window, int row)
{
    QListWidget* list = lineList(window);
    QListWidgetItem* item = list->item(row);
    QVERIFY(item);
    list->scrollToItem(item);
    const QRect rect = list->visualItemRect(item);
    QVERIFY(!rect.isEmpty());
    // Near the line's left end: a very long line reaches far beyond the list's right edge.
    const QPoint point(rect.left() + 4, rect.center().y());
    // The events of a real double click; QTest::mouseDClick alone sends no press before it.
    QWidget* viewport = list->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, point);
    QTest::mousePress(viewport, Qt::LeftButton, {}, point);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, point);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, point);
}

} // namespace BookmarkWindowUser

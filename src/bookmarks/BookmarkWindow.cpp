#include "bookmarks/BookmarkWindow.h"

#include "bookmarks/BookmarkController.h"
#include "bookmarks/BookmarkRecord.h"
#include "core/InterfaceTexts.h"
#include "platform/Twips.h"

#include <QCloseEvent>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

namespace {

// Design layout in twips.
constexpr int kDesignWidth = 3600;
constexpr int kDesignHeight = 2400;
constexpr int kMargin = 60;
constexpr int kButtonSize = 375;
constexpr int kListTop = kMargin + kButtonSize + kMargin;

} // namespace

BookmarkWindow::BookmarkWindow(BookmarkController& owner, const InterfaceTexts& texts,
                               QWidget* parent)
    : QWidget(parent, Qt::Tool), m_owner(owner), m_texts(texts)
{
    List1 = new QListWidget(this);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    // Every line has the same height; without this a list of many thousands measures each one.
    List1->setUniformItemSizes(true);
    Command1 = new QPushButton(QStringLiteral("+"), this);
    Command2 = new QPushButton(QStringLiteral("-"), this);
    Timer1 = new QTimer(this);

    Twips::place(List1, kMargin, kListTop, kDesignWidth - 140, kDesignHeight - kListTop - kMargin);
    Twips::place(Command1, 0, kMargin, kButtonSize, kButtonSize);
    Twips::place(Command2, 0, kMargin, kButtonSize, kButtonSize);
    resize(Twips::toPixels(kDesignWidth), Twips::toPixels(kDesignHeight));
    followWindowState();

    connect(Command1, &QPushButton::clicked, this, &BookmarkWindow::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &BookmarkWindow::Command2_Click);
    connect(List1, &QListWidget::itemDoubleClicked, this, &BookmarkWindow::List1_DblClick);
    connect(Timer1, &QTimer::timeout, this, &BookmarkWindow::refreshDisplay);

    applyTexts();
}

void BookmarkWindow::applyTexts()
{
    setWindowTitle(m_texts.text(Text::BookmarksTitle));
    Command1->setToolTip(QLatin1Char(' ') + m_texts.text(Text::AddBookmark) + QLatin1Char(' '));
    Command2->setToolTip(QLatin1Char(' ') + m_texts.text(Text::RemoveBookmark) + QLatin1Char(' '));
}

void BookmarkWindow::restoreSession(const QStringList& records)
{
    QStringList shown;
    BookmarkRecord::sortForList(records, &shown, &List2);
    List1->clear();
    List1->addItems(shown);
}

void BookmarkWindow::clearLists()
{
    List1->clear();
    List2.clear();
}

void BookmarkWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    followWindowState();
}

void BookmarkWindow::followWindowState()
{
    const int width = Twips::fromPixels(this->width());
    const int height = Twips::fromPixels(this->height());
    const QRect list = List1->geometry();
    // The list also takes the window's height, so a tall window shows more bookmarks.
    Twips::place(List1, Twips::fromPixels(list.left()), kListTop, std::max(0, width - 140),
                 std::max(kButtonSize, height - kListTop - kMargin));
    const int command1Width = Twips::fromPixels(Command1->width());
    const int command2Width = Twips::fromPixels(Command2->width());
    const int command1Left = width - command1Width - 160;
    Twips::move(Command1, command1Left, Twips::fromPixels(Command1->y()));
    Twips::move(Command2, command1Left - command2Width - 60, Twips::fromPixels(Command2->y()));
}

int BookmarkWindow::selectedIndex() const
{
    const QList<QListWidgetItem*> selected = List1->selectedItems();
    return selected.isEmpty() ? -1 : List1->row(selected.first());
}

void BookmarkWindow::selectLine(int index)
{
    List1->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
}

QString BookmarkWindow::selectedRecord() const
{
    const int index = selectedIndex();
    return index >= 0 && index < List2.size() ? List2.at(index) : QString();
}

bool BookmarkWindow::insertBookmark(const QString& shownLine, const QString& record)
{
    const auto lineAt = [this](int i) { return List1->item(i)->text(); };
    // Lines that compare equal without case lie together: an exact duplicate can only be there.
    int low = 0;
    int high = List1->count();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (BookmarkRecord::lessThan(lineAt(middle), shownLine))
            low = middle + 1;
        else
            high = middle;
    }
    int end = low;
    while (end < List1->count() && !BookmarkRecord::lessThan(shownLine, lineAt(end))) {
        if (lineAt(end) == shownLine)
            return false;
        ++end;
    }
    List1->insertItem(end, shownLine);
    List2.insert(end, record);
    return true;
}

void BookmarkWindow::Command1_Click()
{
    m_owner.runAddCommand();
}

void BookmarkWindow::Command2_Click()
{
    const int index = selectedIndex();
    if (index < 0)
        return;
    delete List1->takeItem(index);
    List2.removeAt(index);
    m_owner.listsChanged();
}

void BookmarkWindow::List1_DblClick()
{
    m_owner.jumpTo(selectedRecord());
}

void BookmarkWindow::refreshDisplay()
{
    Timer1->stop();
    m_owner.unloadFromWindow();
}

void BookmarkWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    m_owner.unloadFromWindow();
}

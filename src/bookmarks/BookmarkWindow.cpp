#include "bookmarks/BookmarkWindow.h"

#include "bookmarks/BookmarkRecord.h"
#include "core/InterfaceTexts.h"
#include "platform/Twips.h"

#include <QCloseEvent>
#include <QKeyEvent>
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

BookmarkWindow::BookmarkWindow(const InterfaceTexts& texts, QWidget* parent)
    : QWidget(parent, Qt::Tool), m_texts(texts)
{
    m_lineList = new QListWidget(this);
    m_lineList->setObjectName(QStringLiteral("bookmarkList"));
    m_lineList->setSelectionMode(QAbstractItemView::SingleSelection);
    // Every line has the same height; without this a list of many thousands measures each one.
    m_lineList->setUniformItemSizes(true);
    m_addButton = new QPushButton(QStringLiteral("+"), this);
    m_addButton->setObjectName(QStringLiteral("addBookmarkButton"));
    m_removeButton = new QPushButton(QStringLiteral("-"), this);
    m_removeButton->setObjectName(QStringLiteral("removeBookmarkButton"));
    m_unloadTimer = new QTimer(this);
    m_unloadTimer->setObjectName(QStringLiteral("unloadTimer"));
    m_unloadTimer->setSingleShot(true);

    Twips::place(m_lineList, kMargin, kListTop, kDesignWidth - 140,
                 kDesignHeight - kListTop - kMargin);
    Twips::place(m_addButton, 0, kMargin, kButtonSize, kButtonSize);
    Twips::place(m_removeButton, 0, kMargin, kButtonSize, kButtonSize);
    resize(Twips::toPixels(kDesignWidth), Twips::toPixels(kDesignHeight));
    layOutControls();

    connect(m_addButton, &QPushButton::clicked, this, &BookmarkWindow::addRequested);
    connect(m_removeButton, &QPushButton::clicked, this, &BookmarkWindow::removeSelected);
    connect(m_lineList, &QListWidget::itemDoubleClicked, this, &BookmarkWindow::jumpToSelected);
    m_lineList->installEventFilter(this);
    connect(m_unloadTimer, &QTimer::timeout, this, &BookmarkWindow::unloadRequested);

    retranslate();
}

void BookmarkWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
        Q_EMIT retranslated();
    }
    QWidget::changeEvent(event);
}

void BookmarkWindow::retranslate()
{
    setWindowTitle(m_texts.text(Text::BookmarksTitle));
    m_addButton->setToolTip(QLatin1Char(' ') + m_texts.text(Text::AddBookmark) + QLatin1Char(' '));
    m_removeButton->setToolTip(QLatin1Char(' ') + m_texts.text(Text::RemoveBookmark) +
                               QLatin1Char(' '));
    // The buttons show only + and -: a screen reader says what they do.
    m_addButton->setAccessibleName(m_texts.plain(Text::AddBookmark));
    m_removeButton->setAccessibleName(m_texts.plain(Text::RemoveBookmark));
    m_lineList->setAccessibleName(m_texts.plain(Text::BookmarksTitle));
}

void BookmarkWindow::showRecords(const QStringList& records)
{
    QStringList shown;
    BookmarkRecord::sortForList(records, &shown, &m_records);
    m_lineList->clear();
    m_lineList->addItems(shown);
}

void BookmarkWindow::clearLines()
{
    m_lineList->clear();
    m_records.clear();
}

bool BookmarkWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Enter on a line jumps as a double click does: the hands stay on the keyboard. The line is
    // the one with the keyboard's frame, which the list does not select when it takes the focus.
    if (watched == m_lineList && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const int line = m_lineList->currentRow();
        if (enter && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && line >= 0) {
            selectLine(line);
            jumpToSelected();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void BookmarkWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layOutControls();
}

void BookmarkWindow::layOutControls()
{
    const int width = Twips::fromPixels(this->width());
    const int height = Twips::fromPixels(this->height());
    const QRect list = m_lineList->geometry();
    // The list also takes the window's height, so a tall window shows more bookmarks.
    Twips::place(m_lineList, Twips::fromPixels(list.left()), kListTop, std::max(0, width - 140),
                 std::max(kButtonSize, height - kListTop - kMargin));
    const int addWidth = Twips::fromPixels(m_addButton->width());
    const int removeWidth = Twips::fromPixels(m_removeButton->width());
    const int addLeft = width - addWidth - 160;
    Twips::move(m_addButton, addLeft, Twips::fromPixels(m_addButton->y()));
    Twips::move(m_removeButton, addLeft - removeWidth - 60, Twips::fromPixels(m_removeButton->y()));
}

int BookmarkWindow::lineCount() const
{
    return m_lineList->count();
}

int BookmarkWindow::selectedIndex() const
{
    const QList<QListWidgetItem*> selected = m_lineList->selectedItems();
    return selected.isEmpty() ? -1 : m_lineList->row(selected.first());
}

void BookmarkWindow::selectLine(int index)
{
    m_lineList->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
}

QString BookmarkWindow::selectedRecord() const
{
    const int index = selectedIndex();
    return index >= 0 && index < m_records.size() ? m_records.at(index) : QString();
}

bool BookmarkWindow::insertLine(const QString& shownLine, const QString& record)
{
    const auto lineAt = [this](int i) { return m_lineList->item(i)->text(); };
    // Lines that compare equal without case lie together: an exact duplicate can only be there.
    int low = 0;
    int high = m_lineList->count();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (BookmarkRecord::lessThan(lineAt(middle), shownLine))
            low = middle + 1;
        else
            high = middle;
    }
    int end = low;
    while (end < m_lineList->count() && !BookmarkRecord::lessThan(shownLine, lineAt(end))) {
        if (lineAt(end) == shownLine)
            return false;
        ++end;
    }
    m_lineList->insertItem(end, shownLine);
    m_records.insert(end, record);
    return true;
}

void BookmarkWindow::unloadSoon(int ms)
{
    m_unloadTimer->start(ms);
}

void BookmarkWindow::removeSelected()
{
    const int index = selectedIndex();
    if (index < 0)
        return;
    delete m_lineList->takeItem(index);
    m_records.removeAt(index);
    Q_EMIT linesChanged();
}

void BookmarkWindow::jumpToSelected()
{
    Q_EMIT jumpRequested(selectedRecord());
}

void BookmarkWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    Q_EMIT unloadRequested();
}

#include "core/RecentMenu.h"

#include <QFontMetrics>
#include <QMenu>

namespace {

// About as many characters as a recent file's menu entry shows.
constexpr int kRecentCaptionChars = 60;

// Menu captions show a path as it is, not with access keys.
QString menuText(const QString& path)
{
    QString text = path;
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

std::array<QAction*, RecentList::kSize> addRecentEntries(QMenu* menu)
{
    std::array<QAction*, RecentList::kSize> entries{};
    for (int i = 0; i < RecentList::kSize; ++i) {
        entries[i] = menu->addAction(QStringLiteral("mnuRecent%1").arg(i + 1));
        entries[i]->setObjectName(QStringLiteral("recentAction%1").arg(i + 1));
        entries[i]->setVisible(false);
    }
    return entries;
}

void showRecentList(const RecentList& list, const std::array<QAction*, RecentList::kSize>& entries,
                    const QFont& menuFont)
{
    const QFontMetrics metrics(menuFont);
    const int widest = metrics.averageCharWidth() * kRecentCaptionChars;
    for (int i = 0; i < RecentList::kSize; ++i) {
        const QString path = list.caption(i);
        entries[i]->setText(menuText(metrics.elidedText(path, Qt::ElideMiddle, widest)));
        entries[i]->setToolTip(path);
        entries[i]->setVisible(list.isUsed(i));
    }
}

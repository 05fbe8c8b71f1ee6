#include "core/RecentFilesMenu.h"

#include "core/AppState.h"
#include "core/Logging.h"

#include <QAction>
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

RecentFilesMenu::RecentFilesMenu(AppState& state, Dialogs* dialogs, QString fileName, Saving saving,
                                 QWidget* owner)
    : QObject(owner), m_state(state), m_dialogs(dialogs), m_fileName(std::move(fileName)),
      m_saving(saving), m_owner(owner)
{
    m_saveDue.setSingleShot(true);
    m_saveDue.setInterval(0);
    connect(&m_saveDue, &QTimer::timeout, this, &RecentFilesMenu::save);
}

void RecentFilesMenu::addEntries(QMenu* menu, SeparatorPlace place)
{
    m_menu = menu;
    // The entries' tooltips hold the whole paths.
    menu->setToolTipsVisible(true);
    const auto addSeparator = [this, menu] {
        m_separator = menu->addSeparator();
        m_separator->setObjectName(QStringLiteral("recentSeparator"));
        m_separator->setVisible(false);
    };
    if (place == SeparatorPlace::Before)
        addSeparator();
    for (int i = 0; i < RecentList::kSize; ++i) {
        // Captioned with the placeholders the list stores for a free place.
        m_entries[i] = menu->addAction(QStringLiteral("mnuRecent%1").arg(i + 1));
        m_entries[i]->setObjectName(QStringLiteral("recentAction%1").arg(i + 1));
        m_entries[i]->setVisible(false);
        connect(m_entries[i], &QAction::triggered, this,
                [this, i] { Q_EMIT chosen(m_list.caption(i)); });
    }
    if (place == SeparatorPlace::After)
        addSeparator();
}

void RecentFilesMenu::load()
{
    if (m_list.load(filePath()))
        m_separator->setVisible(true);
    show();
}

bool RecentFilesMenu::remember(const QString& path)
{
    if (!m_list.touch(path))
        return false;
    show();
    m_separator->setVisible(true);
    saveAsSet();
    return true;
}

void RecentFilesMenu::rememberUntilRefused(const QString& path)
{
    const RecentList before = m_list;
    if (remember(path))
        m_before = before;
}

void RecentFilesMenu::takeBack()
{
    if (!m_before)
        return;
    m_list = *std::exchange(m_before, std::nullopt);
    show();
    m_separator->setVisible(m_list.anyUsed());
    saveAsSet();
}

void RecentFilesMenu::saveAsSet()
{
    if (m_saving == Saving::AtOnce)
        save();
    else
        m_saveDue.start();
}

void RecentFilesMenu::saveIfDue()
{
    if (m_saveDue.isActive())
        save();
}

// Each path shortened in its middle, so the menu keeps a sensible width while the folder's start
// and the file's name stay readable; the whole path in its tooltip.
void RecentFilesMenu::show()
{
    const QFontMetrics metrics(m_menu->font());
    const int widest = metrics.averageCharWidth() * kRecentCaptionChars;
    for (int i = 0; i < RecentList::kSize; ++i) {
        const QString path = m_list.caption(i);
        m_entries[i]->setText(menuText(metrics.elidedText(path, Qt::ElideMiddle, widest)));
        m_entries[i]->setToolTip(path);
        m_entries[i]->setVisible(m_list.isUsed(i));
    }
}

void RecentFilesMenu::save()
{
    m_saveDue.stop();
    QString error;
    if (m_list.save(filePath(), &error))
        return;
    qCWarning(lcSettings).noquote() << "Recent files not saved:" << error;
    m_state.saveFailures.tell(*m_dialogs, m_owner, m_state.texts, filePath(), error);
}

QString RecentFilesMenu::filePath() const
{
    return m_state.filesPath(m_fileName);
}

#include "app/AppState.h"
#include "bookmarks/BookmarkCommands.h"
#include "platform/Dialogs.h"
#include "platform/MediaPlayer.h"
#include "player/CaptionLabel.h"
#include "player/Form1.h"
#include "player/MediaTitle.h"
#include "player/PointerLabel.h"
#include "player/SkinButton.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

namespace {

const QString kMediaPatterns =
    QStringLiteral("*.avi;*.mp3;*.mpg;*.mpeg;*.ogg;*.ogv;*.wav;*.wma;*.wmv;*.ts;*.vob;*.flv");

QString recentListPath(const AppState& state)
{
    return state.filesPath(QStringLiteral("LastFiles.ini"));
}

// Menu captions show a path as it is, not with access keys.
QString menuText(const QString& path)
{
    QString text = path;
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

void Form1::OpenMedia(const QString& path)
{
    QString chosen = path;
    if (chosen.isEmpty()) {
        FileDialogRequest request;
        request.owner = this;
        request.open = true;
        request.title = m_state.texts.text(25);
        request.filters = {{m_state.texts.text(41), kMediaPatterns},
                           {m_state.texts.text(26), QStringLiteral("*.*")}};
        request.defaultExtension = QStringLiteral("wav");
        chosen = m_platform.dialogs->showFileDialog(request);
    }
    if (chosen.isEmpty())
        return;
    if (!path.isEmpty() && !QFileInfo::exists(chosen)) {
        m_platform.dialogs->warning(this, m_state.texts.plain(1), m_state.texts.plain(98));
        return;
    }

    // The bookmarks made so far belong to the recording being left.
    if (m_bookmarks && m_bookmarks->hasBookmarks()) {
        m_bookmarks->saveBookmarks();
        m_bookmarks->clearBookmarks();
    }
    m_state.currentMediaPath = chosen;
    m_justOpened = true;
    vai(chosen);
    setBusyPointer(true);
    showPlayImage(cmdPlay, QStringLiteral("pause.jpg"));

    m_recentMedia.touch(chosen);
    showRecentMedia();
    mnuRiga->setVisible(true);
    m_recentMedia.save(recentListPath(m_state));

    if (m_bookmarks)
        m_bookmarks->loadBookmarks(chosen);
    Image3->move(m_openButtonHome);
    placeEditor();
    returnFocus();
}

void Form1::vai(const QString& path)
{
    Label4->show();
    Shape3->show();
    if (!QFileInfo::exists(path))
        return;
    m_mediaFailed = false;
    if (m_platform.media) {
        m_platform.media->setUrl(path);
        m_platform.media->setCurrentPosition(0);
    }
    Shape1->resize(0, Shape1->height());
    Timer1.start(100);
    for (QAction* a : {mnuChiudi, mnuPlay})
        a->setEnabled(true);
    cmdPlay->setEnabled(true);
    mnuStop->setEnabled(true);
    cmdStop->setEnabled(true);
    cmdAvanz->setEnabled(true);
    mnuAvanti->setEnabled(true);
    cmdIndietro->setEnabled(true);
    for (QAction* a : {mnuIndietro, mnuDiminuisciVelocità, mnuAumentaVelocità, mnuVai, mnuAddBM,
                       mnuBMsuccessivo, mnuBMprecedente, mnuBookMark})
        a->setEnabled(true);
    setPlayTag(kEntryPlay);
    cmdPlay_Click();
    MostraPath();
}

void Form1::MostraPath()
{
    const QString duration = m_platform.media ? m_platform.media->durationString() : QString();
    Label4->setCaption(
        MediaTitle::caption(m_state.currentMediaPath, mnuTitoloCompleto->isChecked(), duration));
    QFont font = Label4->font();
    font.setPointSize(MediaTitle::fontPoints(Label4->caption().size()));
    Label4->setFont(font);
}

void Form1::mnuChiudi_Click()
{
    if (m_platform.media) {
        m_platform.media->setUrl(QString());
        m_platform.media->close();
    }
    Timer1.stop();
    m_justOpened = false;
    Label2->setText(QStringLiteral("0:00 / 0:00"));
    Label4->hide();
    Shape1->hide();
    Shape3->hide();
    cmdPlay->setEnabled(false);
    cmdStop->setEnabled(false);
    cmdAvanz->setEnabled(false);
    cmdIndietro->setEnabled(false);
    for (QAction* a :
         {mnuPlay, mnuStop, mnuAvanti, mnuIndietro, mnuDiminuisciVelocità, mnuAumentaVelocità,
          mnuVai, mnuChiudi, mnuAddBM, mnuBMsuccessivo, mnuBMprecedente, mnuBookMark})
        a->setEnabled(false);
    if (m_bookmarks)
        m_bookmarks->unloadWindow();
    showPlayImage(cmdPlay, QStringLiteral("play.jpg"));
    setBusyPointer(false);
}

void Form1::showMediaError(const QString& message)
{
    Q_UNUSED(message);
    mnuChiudi_Click();
    m_mediaFailed = true;
    Label4->setCaption(
        MediaTitle::caption(m_state.currentMediaPath, mnuTitoloCompleto->isChecked(), QString()) +
        m_state.texts.text(131));
    Label4->setToolTip(message);
    Label4->show();
    Shape3->show();
}

void Form1::mnuRecent_Click(int index)
{
    OpenMedia(m_recentMedia.caption(index));
}

void Form1::loadRecentMedia()
{
    if (m_recentMedia.load(recentListPath(m_state)))
        mnuRiga->setVisible(true);
    showRecentMedia();
}

void Form1::showRecentMedia()
{
    for (int i = 0; i < RecentList::kSize; ++i) {
        mnuRecent[i]->setText(menuText(m_recentMedia.caption(i)));
        mnuRecent[i]->setVisible(m_recentMedia.isUsed(i));
    }
}

void Form1::GotADrop(const QString& name)
{
    QString path = name;
    while (path.endsWith(QChar(0)))
        path.chop(1);
    if (path.isEmpty())
        return;
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable()) {
        m_platform.dialogs->warning(this, m_state.texts.plain(37), m_state.texts.plain(36));
        return;
    }
    OpenMedia(path);
}

#include "PlayerFixture.h"

#include "core/ProgramFolder.h"
#include "platform/Platform.h"

QStringList PlayerFixture::defaultSettings()
{
    return {QStringLiteral("English.lng"),
            "50",
            "795",
            "6",
            "3",
            "0",
            "/home/ada",
            "0",
            "1500",
            "300",
            "1200",
            "3000",
            "9000",
            "4500",
            "0",
            "1",
            "0",
            "0",
            "0",
            "0",
            "9",
            "4",
            "0"};
}

PlayerFixture::PlayerFixture(const QStringList& settings, const QString& commandLine)
{
    // The bundled skin, so that the pictures buttons show can be checked.
    ProgramFolder::fillMissing(QStringLiteral(VOCARTA_SOURCE_DATA_DIR), folder.path());
    state.programFolder = folder.path();
    state.languageFile = QStringLiteral("English.lng");
    folder.write(QStringLiteral("Files/Vocarta.ini"), settings);
    folder.writeLanguage(QStringLiteral("English.lng"), QStringLiteral("en"));
    state.texts.load(state.languagePath());
    media.journal = &journal;
    player = std::make_unique<PlayerWindow>(state, Platform{&media, &dialogs, &desktop});
    player->setEditor(&editor);
    player->setBookmarks(&bookmarks);
    QObject::connect(player.get(), &PlayerWindow::settingsSaved, [this](bool ok) {
        journal << (ok ? QStringLiteral("settings saved") : QStringLiteral("settings failed"));
    });
    QObject::connect(player.get(), &PlayerWindow::programEnded,
                     [this] { journal << QStringLiteral("program ended"); });
    player->placeEditor();
    player->restoreSession(commandLine);
    player->show();
}

QString PlayerFixture::mediaFile(const QString& name) const
{
    const QString path = folder.filePath(QStringLiteral("media/") + name);
    if (!QFileInfo::exists(path))
        folder.writeBytes(QStringLiteral("media/") + name, "RIFF");
    return path;
}

QString PlayerFixture::open(const QString& name)
{
    const QString path = mediaFile(name);
    player->openMedia(path);
    return path;
}

#include "TestFolder.h"
#include "platform/QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace {

// Runs `answer` on the file dialog once it is shown.
void whenDialogShows(const std::function<void(QFileDialog*)>& answer)
{
    QTimer::singleShot(0, [answer] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        answer(dialog);
    });
}

} // namespace

class TestFileDialog : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cancelGivesNothing();
    void chosenPathComesBackWhole();
    void presetNameIsCut();
    void requestShapesTheDialog();
    void filterLine();
};

void TestFileDialog::cancelGivesNothing()
{
    QtDialogs dialogs;
    FileDialogRequest request;
    request.fileName = QStringLiteral("preset.rtf");
    whenDialogShows([](QFileDialog* d) { d->reject(); });
    QCOMPARE(dialogs.showFileDialog(request), QString());
}

void TestFileDialog::chosenPathComesBackWhole()
{
    TestFolder folder;
    folder.writeBytes(QStringLiteral("a lecture, part 1.wav"), "RIFF");
    QtDialogs dialogs;
    FileDialogRequest request;
    request.open = true;
    request.initialFolder = folder.path();
    whenDialogShows([&folder](QFileDialog* d) {
        d->selectFile(folder.filePath(QStringLiteral("a lecture, part 1.wav")));
        QMetaObject::invokeMethod(d, "accept");
    });
    QCOMPARE(dialogs.showFileDialog(request),
             folder.filePath(QStringLiteral("a lecture, part 1.wav")));
}

void TestFileDialog::presetNameIsCut()
{
    TestFolder folder;
    QtDialogs dialogs;
    FileDialogRequest request;
    request.initialFolder = folder.path();
    request.fileName = QString(300, QLatin1Char('n'));
    QString preset;
    whenDialogShows([&preset](QFileDialog* d) {
        if (auto* name = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            preset = name->text();
        d->reject();
    });
    dialogs.showFileDialog(request);
    QCOMPARE(preset.size(), 256);
}

void TestFileDialog::requestShapesTheDialog()
{
    TestFolder folder;
    QtDialogs dialogs;
    FileDialogRequest request;
    request.title = QStringLiteral("Save as");
    request.initialFolder = folder.path();
    request.filters = {{QStringLiteral("Rich text"), QStringLiteral("*.rtf")},
                       {QStringLiteral("Text"), QStringLiteral("*.txt")}};
    request.filterIndex = 2;
    request.defaultExtension = QStringLiteral("rtf");
    request.fileName = QStringLiteral("Untitled 1");
    QString chosen;
    whenDialogShows([&](QFileDialog* d) {
        QCOMPARE(d->windowTitle(), QStringLiteral("Save as"));
        QCOMPARE(d->acceptMode(), QFileDialog::AcceptSave);
        QCOMPARE(d->selectedNameFilter(), QStringLiteral("Text (*.txt)"));
        QCOMPARE(d->directory().absolutePath(), QDir(folder.path()).absolutePath());
        QMetaObject::invokeMethod(d, "accept");
    });
    chosen = dialogs.showFileDialog(request);
    // The chosen filter gives the extension, not the default one.
    QCOMPARE(chosen, folder.filePath(QStringLiteral("Untitled 1.txt")));
}

void TestFileDialog::filterLine()
{
    QCOMPARE(qtFileFilter(QStringLiteral("Media files"), QStringLiteral("*.avi;*.mp3;*.wav")),
             QStringLiteral("Media files (*.avi *.mp3 *.wav)"));
}

QTEST_MAIN(TestFileDialog)
#include "tst_filedialog.moc"

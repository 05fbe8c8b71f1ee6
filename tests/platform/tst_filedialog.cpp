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
    void requestShapesTheDialog_data();
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

void TestFileDialog::requestShapesTheDialog_data()
{
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("saved");
    QTest::newRow("text filter") << 2 << QStringLiteral("Untitled 1")
                                 << QStringLiteral("Untitled 1.txt");
    QTest::newRow("rich text filter")
        << 1 << QStringLiteral("notes") << QStringLiteral("notes.rtf");
    QTest::newRow("own extension")
        << 2 << QStringLiteral("notes.rtf") << QStringLiteral("notes.rtf");
    QTest::newRow("filter of any name")
        << 3 << QStringLiteral("notes") << QStringLiteral("notes.rtf");
}

void TestFileDialog::requestShapesTheDialog()
{
    QFETCH(int, filter);
    QFETCH(QString, name);
    QFETCH(QString, saved);
    TestFolder folder;
    QtDialogs dialogs;
    FileDialogRequest request;
    request.title = QStringLiteral("Save as");
    request.initialFolder = folder.path();
    request.filters = {{QStringLiteral("Rich text"), QStringLiteral("*.rtf")},
                       {QStringLiteral("Text"), QStringLiteral("*.txt")},
                       {QStringLiteral("All"), QStringLiteral("*")}};
    request.filterIndex = filter;
    request.defaultExtension = QStringLiteral("rtf");
    request.fileName = name;
    QString chosen;
    whenDialogShows([&](QFileDialog* d) {
        QCOMPARE(d->windowTitle(), QStringLiteral("Save as"));
        QCOMPARE(d->acceptMode(), QFileDialog::AcceptSave);
        QCOMPARE(d->selectedNameFilter(), d->nameFilters().at(filter - 1));
        QCOMPARE(d->directory().absolutePath(), QDir(folder.path()).absolutePath());
        QMetaObject::invokeMethod(d, "accept");
    });
    chosen = dialogs.showFileDialog(request);
    QCOMPARE(chosen, folder.filePath(saved));
}

void TestFileDialog::filterLine()
{
    QCOMPARE(qtFileFilter(QStringLiteral("Media files"), QStringLiteral("*.avi;*.mp3;*.wav")),
             QStringLiteral("Media files (*.avi *.mp3 *.wav)"));
}

QTEST_MAIN(TestFileDialog)
#include "tst_filedialog.moc"

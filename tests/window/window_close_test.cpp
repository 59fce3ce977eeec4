// Closing the window and the busy guard: the log written on closing (not for an empty log,
// never over an existing file), the log folders, and a second command, a sort, a drop and a
// close while a command runs, refused or put off until it has ended.

#include <QCoreApplication>
#include <QDir>
#include <QHeaderView>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTableView>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <chrono>

#include "fixtures/generated_volume.h"
#include "fixtures/media_files.h"
#include "session/file_row.h"
#include "session/log_book.h"
#include "window/window_fixtures.h"

using namespace mt;
using namespace mt::fixtures;

class WindowCloseTest : public QObject {
    Q_OBJECT

private:
    // One volume with two projects; opened and scanned, Trailer selected.
    static bool OpenWithTrailerSelected(WindowHarness& harness) {
        GenerateVolume(
            harness.temp.path(), "One",
            {Clip("Spot30 V1.omf", "Spot30", 3000), Clip("Trailer V1.omf", "Trailer", 2000)});
        harness.volumes = {harness.temp.Path("One")};
        if (!harness.OpenAndScan()) return false;
        harness.Select("ProjectList", {harness.RowStartingWith("ProjectList", "Trailer - ")});
        return harness.Selected("ProjectList").size() == 1;
    }
    // Copies Trailer into a new folder: one log block.
    static void CopyTrailer(WindowHarness& harness, const char* folder = "Target") {
        harness.dialogs.answers = {MakeFolder(harness.temp.Path(folder))};
        harness.Click("CopyButton");
    }

private slots:
    void logWrittenOnClose() {
        WindowHarness harness;
        QVERIFY(OpenWithTrailerSelected(harness));
        CopyTrailer(harness);
        const QString log = harness.Log();
        QVERIFY(!log.isEmpty());
        QVERIFY(!PathExists(harness.logFolder));

        QVERIFY(harness.window->close());

        const std::vector<std::string> files = ListFolder(harness.logFolder);
        QCOMPARE(files.size(), size_t(1));
        static const QRegularExpression name(R"(^\d{4}-\d\d-\d\d \d\d\.\d\d\.\d\d\.txt$)");
        QVERIFY2(name.match(QString::fromStdString(files[0])).hasMatch(), files[0].c_str());
        QCOMPARE(QString::fromStdString(*ReadFileBytes(harness.logFolder + "/" + files[0])), log);
    }

    void emptyLogWritesNothing() {
        WindowHarness harness;
        QVERIFY(OpenWithTrailerSelected(harness));
        QVERIFY(harness.window->close());
        QVERIFY(!PathExists(harness.logFolder));
        QVERIFY(harness.boxes.shown.empty());
    }

    // Files of the names the save could take (this second and the next few) stay untouched.
    void neverOverAnExistingFile() {
        WindowHarness harness;
        QVERIFY(OpenWithTrailerSelected(harness));
        CopyTrailer(harness);
        MakeFolder(harness.logFolder);
        const auto now = std::chrono::system_clock::now();
        std::vector<std::string> taken;
        for (int second = 0; second < 5; ++second) {
            taken.push_back(LogFileName(now + std::chrono::seconds(second)));
            WriteFileBytes(harness.logFolder + "/" + taken.back(), "an older log");
        }

        QVERIFY(harness.window->close());

        for (const std::string& file : taken)
            QCOMPARE(*ReadFileBytes(harness.logFolder + "/" + file), std::string("an older log"));
        const std::vector<std::string> files = ListFolder(harness.logFolder);
        QCOMPARE(files.size(), taken.size() + 1);
        for (const std::string& file : files) {
            if (std::find(taken.begin(), taken.end(), file) != taken.end()) continue;
            QVERIFY2(QString::fromStdString(file).endsWith(" 2.txt"), file.c_str());
            QCOMPARE(QString::fromStdString(*ReadFileBytes(harness.logFolder + "/" + file)),
                     harness.Log());
        }
    }

    // "logfiles" beside the program first, then in the user's application data folder.
    void logFolders() {
        const std::vector<std::string> folders = DefaultLogFolders();
        QCOMPARE(folders.size(), size_t(2));
        QCOMPARE(QString::fromStdString(folders[0]),
                 QDir(QCoreApplication::applicationDirPath()).filePath("logfiles"));
        QCOMPARE(QString::fromStdString(folders[1]),
                 QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
                     .filePath("logfiles"));
    }

    // While Copy Project waits on its dialog, other clicks, a sort and a drop are refused and
    // say why; the copy then ends as usual.
    void secondCommandRefusedWhileOneRuns() {
        WindowHarness harness;
        QVERIFY(OpenWithTrailerSelected(harness));
        const std::string bin = harness.temp.Path("Scene.avb");
        WriteFileBytes(bin, "a bin");
        auto* files = harness.window->findChild<QTableView*>("Filelist");
        const QStringList namesBefore = harness.FileColumn(FileRow::kName);
        QStringList statuses;
        harness.dialogs.whileOpen = [&] {
            harness.dialogs.whileOpen = nullptr;
            harness.Click("ScanButton");
            statuses << harness.Status();
            harness.Click("MoveButton");
            statuses << harness.Status();
            files->horizontalHeader()->sectionClicked(FileRow::kSize);
            statuses << harness.Status();
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(QString::fromStdString(bin))});
            QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(harness.List("BinList")->viewport(), &drop);
            QCoreApplication::processEvents();
            statuses << harness.Status();
        };
        CopyTrailer(harness);

        QCOMPARE(statuses, QStringList(4, QString(kBusyText)));
        QVERIFY(harness.Texts("BinList").isEmpty());
        QCOMPARE(harness.FileColumn(FileRow::kName), namesBefore);
        QVERIFY(files->horizontalHeader()->sortIndicatorSection() != FileRow::kSize);
        // Neither the scan nor the sift ran: the selection stands, Trailer is copied only.
        QCOMPARE(harness.Selected("ProjectList").size(), size_t(1));
        QVERIFY(PathExists(harness.temp.Path("One/OMFI MediaFiles/Trailer V1.omf")));
        QVERIFY(PathExists(harness.temp.Path("Target/Trailer V1.omf")));
        QCOMPARE(harness.Status(), QString("Ready"));
    }

    // A click that the event loop delivers during a command's yield is refused the same way.
    void clickDuringAYieldIsRefused() {
        WindowHarness harness;
        QVERIFY(OpenWithTrailerSelected(harness));
        QString statusDuringYield;
        harness.dialogs.whileOpen = [&] {
            harness.dialogs.whileOpen = nullptr;
            QTimer::singleShot(0, [&] {
                harness.Click("ScanButton");
                statusDuringYield = harness.Status();
            });
            QThread::msleep(30);
            YieldToEventLoop();
        };
        CopyTrailer(harness);
        QCOMPARE(statusDuringYield, QString(kBusyText));
        QCOMPARE(harness.Selected("ProjectList").size(), size_t(1));
    }

    // A close while a command runs waits for its end; then the window closes and saves a log
    // that holds the command's block.
    void closeWhileACommandRunsWaitsForItsEnd() {
        WindowHarness harness;
        QVERIFY(OpenWithTrailerSelected(harness));
        bool stillOpen = false;
        QString status;
        harness.dialogs.whileOpen = [&] {
            harness.dialogs.whileOpen = nullptr;
            harness.window->close();
            stillOpen = harness.window->isVisible();
            status = harness.Status();
        };
        CopyTrailer(harness);
        QVERIFY(stillOpen);
        QCOMPARE(status, QString(kClosingText));
        QTRY_VERIFY(!harness.window->isVisible());
        const std::vector<std::string> files = ListFolder(harness.logFolder);
        QCOMPARE(files.size(), size_t(1));
        const QString saved =
            QString::fromStdString(*ReadFileBytes(harness.logFolder + "/" + files[0]));
        QVERIFY(saved.contains(" Copy Project Trailer"));
        QCOMPARE(saved, harness.Log());
    }
};

MT_WINDOW_TEST_MAIN(WindowCloseTest)
#include "window_close_test.moc"

// What the window gives the catalogue: the yield hook (cheap when idle, a turn of the event
// loop every ~15 ms), the watch cursor set and taken away once, the progress bar and status
// label that repaint at once, the message box hook, and the Bins list taking dropped bins.

#include <QCursor>
#include <QElapsedTimer>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include "fixtures/temp_folder.h"
#include "ui/bin_list_widget.h"
#include "ui/event_loop_yield.h"
#include "ui/wait_cursor.h"
#include "ui/widget_adapters.h"
#include "ui/window1.h"
#include "window/window_fixtures.h"

using namespace mt;
using namespace mt::fixtures;
using namespace std::chrono_literals;

namespace {

// Counts the paint events a widget has received.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++count;
        return false;
    }
    int count = 0;
};

QMimeData* FilesDrag(const QStringList& paths) {
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
    data->setUrls(urls);
    return data;
}

}  // namespace

class WindowHooksTest : public QObject {
    Q_OBJECT

private slots:
    // A million yields with nothing due cost next to nothing.
    void idleYieldsAreCheap() {
        EventLoopYield yield;
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < 1000000; ++i) yield();
        const qint64 ns = clock.nsecsElapsed();
        qInfo("1,000,000 idle yields: %.1f ms", ns / 1e6);
        if (kTimingChecked) QVERIFY(ns < 100'000'000);
        QVERIFY(yield.turns() <= ns / 15'000'000 + 1);
    }

    // The same through the hook the catalogue calls, with the window's hooks installed.
    void idleYieldsThroughTheWindowHook() {
        TempFolder temp;
        WindowSetup setup;
        setup.volumes = [] { return std::vector<FolderItem>{}; };
        setup.logFolders = {temp.Path("logfiles")};
        Window1 window(setup);
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < 1000000; ++i) YieldToEventLoop();
        const qint64 ns = clock.nsecsElapsed();
        qInfo("1,000,000 idle yields through the window's hook: %.1f ms", ns / 1e6);
        if (kTimingChecked) QVERIFY(ns < 100'000'000);
    }

    // Pending events run at the first yield after the interval, not before.
    void yieldRunsTheEventLoopAfterTheInterval() {
        EventLoopYield yield(15ms);
        bool ran = false;
        QTimer::singleShot(0, [&ran] { ran = true; });
        yield();
        QVERIFY(!ran);
        QThread::msleep(25);
        yield();
        QVERIFY(ran);
        QCOMPARE(yield.turns(), 1L);
    }

    // The catalogue asks for the watch at every step: Qt's stack of override cursors holds
    // one, and one arrow takes it away.
    void watchCursorOnceAndBackOnce() {
        QVERIFY(!QGuiApplication::overrideCursor());
        {
            WaitCursor cursor;
            for (int i = 0; i < 5; ++i) cursor.Set(Cursor::Watch);
            QVERIFY(QGuiApplication::overrideCursor());
            QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
            cursor.Set(Cursor::Arrow);
            QVERIFY(!QGuiApplication::overrideCursor());
            // An arrow without a watch before takes away no one else's cursor.
            QGuiApplication::setOverrideCursor(QCursor(Qt::CrossCursor));
            cursor.Set(Cursor::Arrow);
            QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);
            QGuiApplication::restoreOverrideCursor();
            // A watch still shown when the window goes is taken away with it.
            cursor.Set(Cursor::Watch);
        }
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void progressBarAndStatusLabelRepaintAtOnce() {
        QWidget window;
        auto* bar = new QProgressBar(&window);
        bar->setRange(0, 100);
        auto* label = new QLabel("Ready", &window);
        label->move(0, 40);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        WidgetProgressBar progress(bar);
        progress.SetValue(42);
        QCOMPARE(progress.Value(), 42);
        PaintCounter barPaints(bar);
        progress.Refresh();
        QCOMPARE(barPaints.count, 1);
        progress.SetVisible(false);
        QVERIFY(bar->isHidden());
        progress.SetVisible(true);
        QVERIFY(!bar->isHidden());

        WidgetStatusLabel status(label);
        status.SetText("Sift Caf\xc3\xa9 01.omf");
        QCOMPARE(label->text(), QString::fromUtf8("Sift Caf\xc3\xa9 01.omf"));
        QCOMPARE(status.Text(), std::string("Sift Caf\xc3\xa9 01.omf"));
        PaintCounter labelPaints(label);
        status.Refresh();
        QCOMPARE(labelPaints.count, 1);
    }

    // The window installs its hooks for its lifetime and puts the earlier ones back.
    void windowInstallsItsHooks() {
        TempFolder temp;
        RecordingMessageBoxes boxes;
        ScriptedDialogs dialogs;
        std::vector<std::string> before;
        CurrentHooks().messageBox = [&before](const std::string& text) { before.push_back(text); };
        {
            WindowSetup setup;
            setup.volumes = [] { return std::vector<FolderItem>{}; };
            setup.logFolders = {temp.Path("logfiles")};
            setup.dialogs = &dialogs;
            setup.messageBoxes = &boxes;
            Window1 window(setup);
            ShowMessageBox("No Volume selected");
            QCOMPARE(boxes.shown, std::vector<std::string>({"No Volume selected"}));
            QCOMPARE(boxes.parents.front(), &window);
            QVERIFY(CurrentHooks().yield);
            SetMouseCursor(Cursor::Watch);
            SetMouseCursor(Cursor::Watch);
            SetMouseCursor(Cursor::Arrow);
            QVERIFY(!QGuiApplication::overrideCursor());
        }
        ShowMessageBox("after");
        QCOMPARE(before, std::vector<std::string>({"after"}));
        CurrentHooks() = Hooks{};
    }

    void binListTakesTheFirstDroppedBin_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("added");
        QTest::newRow("a bin") << QStringList{"/v/Scene 12.avb"} << true << "/v/Scene 12.avb";
        QTest::newRow("letter case") << QStringList{"/v/SCENE.AVB"} << true << "/v/SCENE.AVB";
        QTest::newRow("not a bin") << QStringList{"/v/notes.txt"} << false << "";
        QTest::newRow("first of two") << QStringList{"/v/a.avb", "/v/b.avb"} << true << "/v/a.avb";
        QTest::newRow("first not a bin") << QStringList{"/v/notes.txt", "/v/b.avb"} << false << "";
    }

    // The drag is accepted on entering and while moving, then the drop adds its first file
    // once the drop has been delivered.
    void binListTakesTheFirstDroppedBin() {
        QFETCH(QStringList, files);
        QFETCH(bool, accepted);
        QFETCH(QString, added);
        BinListWidget list;
        std::vector<std::string> asked, dropped;
        list.SetDropHandlers(
            [&asked](const std::string& path) {
                asked.push_back(path);
                return QString::fromStdString(path).endsWith(".avb", Qt::CaseInsensitive);
            },
            [&dropped](const std::string& path) { dropped.push_back(path); });
        list.resize(300, 100);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));

        std::unique_ptr<QMimeData> data(FilesDrag(files));
        const QPoint at(50, 50);
        QDragEnterEvent enter(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list.viewport(), &enter);
        QCOMPARE(enter.isAccepted(), accepted);
        QDragMoveEvent move(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list.viewport(), &move);
        QCOMPARE(move.isAccepted(), accepted);
        QDropEvent drop(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list.viewport(), &drop);
        QCOMPARE(drop.isAccepted(), accepted);
        QVERIFY(dropped.empty());
        QCoreApplication::processEvents();
        if (accepted) {
            QCOMPARE(dropped, std::vector<std::string>({added.toStdString()}));
        } else {
            QVERIFY(dropped.empty());
        }
        // Only ever the first file is looked at.
        for (const std::string& path : asked) QCOMPARE(QString::fromStdString(path), files[0]);
    }

    void binListIgnoresWhatIsNotAFile() {
        BinListWidget list;
        list.SetDropHandlers([](const std::string&) { return true; }, [](const std::string&) {});
        QMimeData text;
        text.setText("Scene 12.avb");
        QVERIFY(!list.BinOf(&text));
        QMimeData web;
        web.setUrls({QUrl("https://example.com/Scene 12.avb")});
        QVERIFY(!list.BinOf(&web));
    }
};

MT_WINDOW_TEST_MAIN(WindowHooksTest)
#include "window_hooks_test.moc"

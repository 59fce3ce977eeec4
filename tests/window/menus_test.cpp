// The application object and its menus: MenuBar1's items with their names, texts, shortcuts
// and roles, the About box, the one menu bar and the one main window, and Quit closing the
// main window.

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/about_text.h"
#include "fixtures/generated_volume.h"
#include "fixtures/media_files.h"
#include "fixtures/temp_folder.h"
#include "ui/window1.h"
#include "window/window_fixtures.h"

using namespace mt;
using namespace mt::fixtures;

namespace {
// Counts the close events a window receives.
class CloseCounter : public QObject {
public:
    explicit CloseCounter(QWidget* window) { window->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Close) ++count;
        return false;
    }
    int count = 0;
};
}  // namespace

class MenusTest : public QObject {
    Q_OBJECT

private:
    TempFolder temp_;
    ScriptedDialogs dialogs_;
    RecordingMessageBoxes boxes_;

    WindowSetup Setup() {
        WindowSetup setup;
        setup.volumes = [] { return std::vector<FolderItem>{}; };
        setup.logFolders = {temp_.Path("logfiles")};
        setup.dialogs = &dialogs_;
        setup.messageBoxes = &boxes_;
        return setup;
    }

    static App& app() { return *App::Instance(); }

private slots:
    void applicationNames() {
        QVERIFY(App::Instance());
        QCOMPARE(App::applicationName(), QString("MacTarnwick"));
        QCOMPARE(App::applicationVersion(), QString(MT_VERSION));
        QVERIFY(!App::windowIcon().isNull());
    }

    void menusInOrder() {
        QMenuBar* bar = app().MenuBar1();
        QVERIFY(bar);
        const QList<QAction*> titles = bar->actions();
        QCOMPARE(titles.size(), 2);
        QCOMPARE(titles[0]->menu()->objectName(), QString("FileMenu"));
        QCOMPARE(titles[0]->text(), QString("&File"));
        QCOMPARE(titles[1]->menu()->objectName(), QString("EditMenu"));
        QCOMPARE(titles[1]->text(), QString("&Edit"));

        QStringList file;
        for (QAction* item : titles[0]->menu()->actions()) file << item->objectName();
        QCOMPARE(file, QStringList({"FileQuit"}));
        QStringList edit;
        for (QAction* item : titles[1]->menu()->actions())
            edit << (item->isSeparator() ? QString("-") : item->objectName());
        QCOMPARE(edit, QStringList({"EditCut", "EditCopy", "EditPaste", "EditClear", "-",
                                    "AppleAboutMacTarnwick"}));
    }

    void items_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QKeySequence>("shortcut");
        QTest::addColumn<int>("role");
        // Qt::CTRL stands for the Command key on macOS.
        QTest::newRow("FileQuit") << "Quit" << QKeySequence(Qt::CTRL | Qt::Key_Q)
                                  << int(QAction::QuitRole);
        QTest::newRow("EditCut") << "Cu&t" << QKeySequence(Qt::CTRL | Qt::Key_X)
                                 << int(QAction::NoRole);
        QTest::newRow("EditCopy") << "&Copy" << QKeySequence(Qt::CTRL | Qt::Key_C)
                                  << int(QAction::NoRole);
        QTest::newRow("EditPaste")
            << "&Paste" << QKeySequence(Qt::CTRL | Qt::Key_V) << int(QAction::NoRole);
        QTest::newRow("EditClear") << "Clear" << QKeySequence() << int(QAction::NoRole);
        // Only macOS moves an item by its role: elsewhere About stays in the Edit menu.
        QTest::newRow("AppleAboutMacTarnwick")
            << "About MacTarnwick..." << QKeySequence() << int(QAction::AboutRole);
    }

    void items() {
        QFETCH(QString, text);
        QFETCH(QKeySequence, shortcut);
        QFETCH(int, role);
        auto* item = app().MenuBar1()->findChild<QAction*>(QTest::currentDataTag());
        QVERIFY(item);
        QCOMPARE(item->text(), text);
        QCOMPARE(item->shortcut(), shortcut);
        QCOMPARE(int(item->menuRole()), role);
    }

#ifndef Q_OS_MACOS
    void shortcutsUseCtrl() {
        QCOMPARE(app().MenuBar1()->findChild<QAction*>("FileQuit")->shortcut().toString(),
                 QString("Ctrl+Q"));
        QCOMPARE(app().MenuBar1()->findChild<QAction*>("EditPaste")->shortcut().toString(),
                 QString("Ctrl+V"));
    }
#endif

    void aboutText() {
        const QString text = AboutText("1.2.3");
        const QStringList lines = text.split('\n');
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines[0], QString("MacTarnwick 1.2.3"));
        QVERIFY(lines[1].isEmpty());
        for (int i = 2; i < 6; ++i) QVERIFY2(!lines[i].trimmed().isEmpty(), qPrintable(lines[i]));
        QVERIFY(!text.endsWith('\n'));
    }

    void aboutItemShowsTheBox() {
        app().SetWindowSetup(Setup());
        boxes_.abouts.clear();
        QAction* about = app().MenuBar1()->findChild<QAction*>("AppleAboutMacTarnwick");
        about->trigger();
        QCOMPARE(boxes_.abouts.size(), size_t(1));
        QCOMPARE(QString::fromStdString(boxes_.abouts[0]), AboutText(App::applicationVersion()));
        QVERIFY(
            QString::fromStdString(boxes_.abouts[0]).startsWith("MacTarnwick " MT_VERSION "\n\n"));
        QCOMPARE(app().AppleAboutMacTarnwick_Action(), false);
    }

    // The window finds each item by its name in the shared bar; a window that goes hands the
    // bar back, and the next request gets the same one.
    void windowAccessorsAndTheSharedBar() {
        QMenuBar* bar = app().MenuBar1();
        QCOMPARE(app().MenuBar1(), bar);
        {
            Window1 window(Setup());
            window.InstallMenuBar(bar);
            QCOMPARE(window.menuBar(), bar);
            QCOMPARE(window.FileMenu(), bar->findChild<QMenu*>("FileMenu"));
            QCOMPARE(window.EditMenu(), bar->findChild<QMenu*>("EditMenu"));
            QCOMPARE(window.FileQuit(), bar->findChild<QAction*>("FileQuit"));
            QCOMPARE(window.EditCut()->text(), QString("Cu&t"));
            QCOMPARE(window.EditCopy()->text(), QString("&Copy"));
            QCOMPARE(window.EditPaste()->text(), QString("&Paste"));
            QCOMPARE(window.EditClear()->text(), QString("Clear"));
            QCOMPARE(window.AppleAboutMacTarnwick()->text(), QString("About MacTarnwick..."));
        }
        QCOMPARE(app().MenuBar1(), bar);
        QCOMPARE(bar->findChild<QAction*>("FileQuit")->text(), QString("Quit"));
    }

    // Copy copies the selection of the focused log field; Cut, Paste and Clear leave the
    // read-only log as it is.
    void editItemsActOnTheFocusedField() {
        Window1 window(Setup());
        window.InstallMenuBar(app().MenuBar1());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.AddLog("2024-05-01 10:00:00 Sift Project Spot30\n");
        auto* log = window.findChild<QPlainTextEdit*>("LogField");
        window.findChild<QWidget*>("TabPanel1")->setEnabled(true);
        window.activateWindow();
        log->setFocus();
        log->selectAll();
        QApplication::clipboard()->clear();
        window.EditCopy()->trigger();
        QCOMPARE(QApplication::clipboard()->text(),
                 QString("2024-05-01 10:00:00 Sift Project Spot30\n"));
        window.EditCut()->trigger();
        window.EditClear()->trigger();
        window.EditPaste()->trigger();
        QCOMPARE(log->toPlainText(), QString("2024-05-01 10:00:00 Sift Project Spot30\n"));
    }

    // Last: Quit closes the main window through its close handler; while a command runs, it
    // closes when the command has ended, with the command's block in the saved log.
    void mainWindowIsOneAndQuitClosesIt() {
        GenerateVolume(temp_.path(), "One", {Clip("Trailer V1.omf", "Trailer", 2000)});
        WindowSetup setup = Setup();
        const std::string top = temp_.Path("One");
        setup.volumes = [top] {
            return std::vector<FolderItem>{FolderItem::Volume(top, RealFileSystem())};
        };
        app().SetWindowSetup(setup);
        Window1* window = app().MainWindow();
        QVERIFY(window);
        QCOMPARE(app().MainWindow(), window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->menuBar(), app().MenuBar1());
        // Bins are known by their name or their Mac type.
        QVERIFY(app().IsBinDocument(temp_.Path("Scene 12.AVB")));
        QVERIFY(!app().IsBinDocument(temp_.Path("Scene 12.txt")));
        auto* panel = window->findChild<QWidget*>("TabPanel1");
        QTRY_VERIFY(panel->isEnabled());
        auto* projects = window->findChild<QListWidget*>("ProjectList");
        const QList<QListWidgetItem*> trailer =
            projects->findItems("Trailer - ", Qt::MatchStartsWith);
        QCOMPARE(trailer.size(), 1);
        trailer[0]->setSelected(true);

        CloseCounter closes(window);
        bool openDuringCommand = false;
        dialogs_.answers = {temp_.Path("One")};
        dialogs_.whileOpen = [&] {
            dialogs_.whileOpen = nullptr;
            window->FileQuit()->trigger();
            openDuringCommand = window->isVisible();
        };
        auto* copy = window->findChild<QPushButton*>("CopyButton");
        QVERIFY(copy->isEnabled());
        copy->click();
        QVERIFY(openDuringCommand);
        QTRY_VERIFY(!window->isVisible());
        QCOMPARE(closes.count, 2);
        const std::vector<std::string> logs = ListFolder(temp_.Path("logfiles"));
        QCOMPARE(logs.size(), size_t(1));
        QVERIFY(ReadFileBytes(temp_.Path("logfiles/" + logs[0]))->find(" Copy Project Trailer") !=
                std::string::npos);
    }
};

MT_WINDOW_TEST_MAIN(MenusTest)
#include "menus_test.moc"

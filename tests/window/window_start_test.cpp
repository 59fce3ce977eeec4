// The main window as it opens: every control with its name, kind, caption, font, place and
// state, the tabs, the names screen readers use, and the resizing rule.

#include <QAccessible>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>

#include "fixtures/temp_folder.h"
#include "ui/system_fonts.h"
#include "ui/window1.h"
#include "window/window_fixtures.h"

using namespace mt;
using namespace mt::fixtures;

namespace {
// The tabs in order; -1 for a control outside the tab panel.
enum Tab { kNoTab = -1, kVolumes, kProjects, kSifted, kBins, kLog };
}  // namespace

class WindowStartTest : public QObject {
    Q_OBJECT

private:
    TempFolder temp_;
    ScriptedDialogs dialogs_;
    RecordingMessageBoxes boxes_;

    std::unique_ptr<Window1> OpenWindow() {
        WindowSetup setup;
        setup.volumes = [] { return std::vector<FolderItem>{}; };
        setup.logFolders = {temp_.Path("logfiles")};
        setup.dialogs = &dialogs_;
        setup.messageBoxes = &boxes_;
        auto window = std::make_unique<Window1>(setup);
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get())) return nullptr;
        return window;
    }

private slots:
    void windowSettings() {
        auto window = OpenWindow();
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QString("MacTarnwick"));
        QCOMPARE(window->content()->size(), QSize(800, 391));
        QCOMPARE(window->content()->minimumSize(), QSize(800, 259));
        QCOMPARE(window->content()->maximumSize(), QSize(800, 32000));
    }

    void controls_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("place");
        QTest::addColumn<QString>("font");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("hidden");

        const QString button = "QPushButton", list = "QListWidget";
        QTest::newRow("TabPanel1") << "QTabWidget" << int(kNoTab) << "" << QRect(11, 9, 769, 150)
                                   << "Smallsystem" << false << false;
        QTest::newRow("Volumelist") << list << int(kVolumes) << "" << QRect(25, 50, 600, 100)
                                    << "Smallsystem" << true << false;
        QTest::newRow("ScanButton") << button << int(kVolumes) << "Scan Volumes"
                                    << QRect(645, 55, 120, 20) << "System" << true << false;
        QTest::newRow("CopyButton") << button << int(kProjects) << "Copy Project"
                                    << QRect(645, 55, 120, 20) << "System" << false << false;
        QTest::newRow("SiftButton") << button << int(kVolumes) << "Sift Volumes"
                                    << QRect(645, 88, 120, 20) << "System" << false << false;
        QTest::newRow("MoveButton") << button << int(kProjects) << "Sift Project"
                                    << QRect(645, 88, 120, 20) << "System" << false << false;
        QTest::newRow("StatusLabel") << "QLabel" << int(kNoTab) << "Ready"
                                     << QRect(14, 367, 375, 17) << "Smallsystem" << true << false;
        QTest::newRow("Progress") << "QProgressBar" << int(kNoTab) << "" << QRect(604, 371, 176, 12)
                                  << "" << true << true;
        QTest::newRow("SiftedProjectList") << list << int(kSifted) << "" << QRect(25, 50, 600, 100)
                                           << "Smallsystem" << true << false;
        QTest::newRow("UnsiftButton") << button << int(kSifted) << "Unsift Project"
                                      << QRect(647, 55, 120, 20) << "System" << false << false;
        QTest::newRow("BinList") << list << int(kBins) << "" << QRect(25, 50, 600, 100)
                                 << "Smallsystem" << true << false;
        QTest::newRow("AddBinButton") << button << int(kBins) << "Add Bin"
                                      << QRect(647, 55, 120, 20) << "System" << false << false;
        QTest::newRow("CopyBinBtn") << button << int(kBins) << "Copy Bin" << QRect(647, 88, 120, 20)
                                    << "System" << false << false;
        QTest::newRow("Filelist") << "QTableView" << int(kNoTab) << "" << QRect(11, 166, 769, 193)
                                  << "Smallsystem" << true << false;
        QTest::newRow("ProjectList") << list << int(kProjects) << "" << QRect(25, 50, 600, 100)
                                     << "Smallsystem" << true << false;
        QTest::newRow("LogField") << "QPlainTextEdit" << int(kLog) << "" << QRect(25, 50, 741, 100)
                                  << "Smallsystem" << true << false;
        QTest::newRow("AddFolderButton") << button << int(kVolumes) << "Add Folder..."
                                         << QRect(645, 121, 120, 20) << "System" << true << false;
    }

    void controls() {
        QFETCH(QString, kind);
        QFETCH(int, tab);
        QFETCH(QString, caption);
        QFETCH(QRect, place);
        QFETCH(QString, font);
        QFETCH(bool, enabled);
        QFETCH(bool, hidden);

        auto window = OpenWindow();
        QVERIFY(window);
        const QString name = QTest::currentDataTag();
        auto* control = window->findChild<QWidget*>(name);
        QVERIFY2(control, qPrintable(name));
        QVERIFY(control->inherits(qPrintable(kind)));

        auto* panel = window->findChild<QTabWidget*>("TabPanel1");
        QVERIFY(panel);
        if (tab == kNoTab) {
            QCOMPARE(control->parentWidget(), window->content());
            QCOMPARE(control->isEnabledTo(window.get()), enabled);
        } else {
            QCOMPARE(panel->indexOf(control->parentWidget()), tab);
            // The panel is disabled at start, and with it everything on it: the control's own
            // state is the one up to the panel.
            QCOMPARE(control->isEnabledTo(panel), enabled);
            QVERIFY(!control->isEnabled());
        }
        QCOMPARE(control->isHidden(), hidden);
        QCOMPARE(PlaceIn(window->content(), control), place);

        if (auto* button = qobject_cast<QPushButton*>(control)) QCOMPARE(button->text(), caption);
        if (auto* label = qobject_cast<QLabel*>(control)) QCOMPARE(label->text(), caption);
        if (font == "System") {
            QCOMPARE(control->font(), SystemFont());
        } else if (font == "Smallsystem") {
            QCOMPARE(control->font(), SmallSystemFont());
        }
    }

    void smallSystemFontIsSmaller() {
        QVERIFY(SmallSystemFont().pointSizeF() < SystemFont().pointSizeF());
    }

    void tabsInOrder() {
        auto window = OpenWindow();
        QVERIFY(window);
        auto* panel = window->findChild<QTabWidget*>("TabPanel1");
        QVERIFY(panel);
        const QStringList expected = {"Volumes", "Projects", "Sifted Projects", "Bins", "Log"};
        QCOMPARE(panel->count(), expected.size());
        for (int i = 0; i < panel->count(); ++i) QCOMPARE(panel->tabText(i), expected[i]);
        QVERIFY(!panel->isEnabled());
    }

    // The Log tab holds only the log field; the file list, status and progress lie outside.
    void pagesHoldTheirControls() {
        auto window = OpenWindow();
        QVERIFY(window);
        auto* panel = window->findChild<QTabWidget*>("TabPanel1");
        const auto namesOn = [panel](int tab) {
            QStringList names;
            for (QWidget* child :
                 panel->widget(tab)->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
                names << child->objectName();
            names.sort();
            return names;
        };
        QCOMPARE(namesOn(kVolumes),
                 QStringList({"AddFolderButton", "ScanButton", "SiftButton", "Volumelist"}));
        QCOMPARE(namesOn(kProjects), QStringList({"CopyButton", "MoveButton", "ProjectList"}));
        QCOMPARE(namesOn(kSifted), QStringList({"SiftedProjectList", "UnsiftButton"}));
        QCOMPARE(namesOn(kBins), QStringList({"AddBinButton", "BinList", "CopyBinBtn"}));
        QCOMPARE(namesOn(kLog), QStringList({"LogField"}));
    }

    void listsAllowExtendedSelection() {
        auto window = OpenWindow();
        QVERIFY(window);
        for (const char* name : {"Volumelist", "ProjectList", "SiftedProjectList", "BinList"}) {
            auto* list = window->findChild<QListWidget*>(name);
            QVERIFY2(list, name);
            QCOMPARE(list->selectionMode(), QAbstractItemView::ExtendedSelection);
        }
        // Only the Bins list takes dropped files.
        QVERIFY(!window->findChild<QListWidget*>("Volumelist")->acceptDrops());
        QVERIFY(window->findChild<QListWidget*>("BinList")->acceptDrops());
    }

    void progressAndLogAndTimer() {
        auto window = OpenWindow();
        QVERIFY(window);
        auto* progress = window->findChild<QProgressBar*>("Progress");
        QCOMPARE(progress->maximum(), 100);
        QCOMPARE(progress->value(), 0);
        auto* log = window->findChild<QPlainTextEdit*>("LogField");
        QVERIFY(log->isReadOnly());
        QVERIFY(log->toPlainText().isEmpty());
        auto* timer = window->findChild<QTimer*>("Timer1");
        QVERIFY(timer);
        QVERIFY(timer->isSingleShot());
        QCOMPARE(timer->interval(), 100);
        QCOMPARE(timer->parent(), window.get());
    }

    // Lists without a caption carry their name; labels, buttons and tabs are read by their text.
    void accessibleNames() {
        auto window = OpenWindow();
        QVERIFY(window);
        const auto spoken = [&window](const char* name) {
            QAccessibleInterface* face =
                QAccessible::queryAccessibleInterface(window->findChild<QWidget*>(name));
            return face ? face->text(QAccessible::Name) : QString("(none)");
        };
        for (const char* name :
             {"Volumelist", "ProjectList", "SiftedProjectList", "BinList", "Filelist", "LogField"})
            QCOMPARE(spoken(name), QString(name));
        QCOMPARE(spoken("StatusLabel"), QString("Ready"));
        QCOMPARE(spoken("ScanButton"), QString("Scan Volumes"));
        QCOMPARE(spoken("AddFolderButton"), QString("Add Folder..."));
        QCOMPARE(spoken("CopyBinBtn"), QString("Copy Bin"));
        // The status line is read as it changes.
        window->findChild<QLabel*>("StatusLabel")->setText("Scanning Volumes");
        QCOMPARE(spoken("StatusLabel"), QString("Scanning Volumes"));

        auto* tabs = window->findChild<QTabWidget*>("TabPanel1")->findChild<QTabBar*>();
        QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(tabs);
        QVERIFY(bar);
        // The tabs come first, the bar's scroll buttons after them.
        QVERIFY(bar->childCount() >= 5);
        const QStringList expected = {"Volumes", "Projects", "Sifted Projects", "Bins", "Log"};
        for (int i = 0; i < 5; ++i) QCOMPARE(bar->child(i)->text(QAccessible::Name), expected[i]);
    }

    void resizing_data() {
        QTest::addColumn<int>("asked");
        QTest::addColumn<int>("height");
        QTest::newRow("start") << 391 << 391;
        QTest::newRow("taller") << 700 << 700;
        QTest::newRow("shortest") << 259 << 259;
        QTest::newRow("below the shortest") << 120 << 259;
        QTest::newRow("tallest") << 32000 << 32000;
        QTest::newRow("beyond the tallest") << 40000 << 32000;
    }

    // Only the file list grows; the status line and the bar keep their distance to the bottom;
    // the width stays 800 whatever is asked.
    void resizing() {
        QFETCH(int, asked);
        QFETCH(int, height);
        auto window = OpenWindow();
        QVERIFY(window);
        const int chrome = window->height() - window->content()->height();
        window->resize(1000, asked + chrome);
        QCOMPARE(window->content()->size(), QSize(800, height));
        QWidget* content = window->content();
        QCOMPARE(PlaceIn(content, window->findChild<QWidget*>("Filelist")),
                 QRect(11, 166, 769, height - 198));
        QCOMPARE(PlaceIn(content, window->findChild<QWidget*>("StatusLabel")),
                 QRect(14, height - 24, 375, 17));
        QCOMPARE(PlaceIn(content, window->findChild<QWidget*>("Progress")),
                 QRect(604, height - 20, 176, 12));
        QCOMPARE(PlaceIn(content, window->findChild<QWidget*>("TabPanel1")),
                 QRect(11, 9, 769, 150));
        QCOMPARE(PlaceIn(content, window->findChild<QWidget*>("ScanButton")),
                 QRect(645, 55, 120, 20));
    }
};

MT_WINDOW_TEST_MAIN(WindowStartTest)
#include "window_start_test.moc"

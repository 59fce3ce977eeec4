// The window over generated volumes: the volumes listed once the window is shown, then the
// first scan timed by Timer1; a scan filling the Volumes, Projects and Sifted Projects lists
// and the file list; the button rule following the selections; sorting the file list.

#include <QHeaderView>
#include <QListWidget>
#include <QMap>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <algorithm>
#include <filesystem>

#include "fixtures/generated_volume.h"
#include "fixtures/media_files.h"
#include "session/file_row.h"
#include "window/window_fixtures.h"

using namespace mt;
using namespace mt::fixtures;

class WindowScanTest : public QObject {
    Q_OBJECT

private:
    // Media: Spot30 (two files, one of them gone from the disk since the database was
    // written) and Trailer; Cuts: Spot30 again and a project sifted before (Promo).
    static void TwoVolumes(WindowHarness& harness) {
        GeneratedVolume media = GenerateVolume(
            harness.temp.path(), "Media",
            {Clip("Spot30 V1.omf", "Spot30", 4000), Clip("Spot30 A1.omf", "Spot30", 900),
             Clip("Trailer V1.omf", "Trailer", 2500)});
        std::filesystem::remove(media.PathOf("Spot30 A1.omf"));
        GenerateVolume(harness.temp.path(), "Cuts",
                       {Clip("Spot30 V2.omf", "Spot30", 1500),
                        Clip("Promo V1.omf", "Promo", 3000, "Promo_sifted")},
                       100);
        harness.volumes = {harness.temp.Path("Media"), harness.temp.Path("Cuts")};
    }

private slots:
    // The window is on screen before the volumes are listed, and Timer1 starts only after.
    void firstScanAfterTheVolumeList() {
        WindowHarness harness;
        TwoVolumes(harness);
        bool shownWhenListed = false, timerIdleWhenListed = false;
        harness.onListing = [&] {
            shownWhenListed = harness.window->isVisible();
            timerIdleWhenListed = !harness.window->findChild<QTimer*>("Timer1")->isActive();
        };
        Window1& window = harness.Open();
        auto* panel = window.findChild<QTabWidget*>("TabPanel1");
        auto* timer = window.findChild<QTimer*>("Timer1");
        QVERIFY(harness.Texts("Volumelist").isEmpty());
        QTRY_COMPARE(harness.Texts("Volumelist").size(), 2);
        QVERIFY(shownWhenListed);
        QVERIFY(timerIdleWhenListed);
        // Listed, every row selected; the first scan is still to come.
        QCOMPARE(harness.Selected("Volumelist"), std::vector<int>({0, 1}));
        QVERIFY(timer->isActive());
        QVERIFY(!panel->isEnabled());
        QVERIFY(harness.Texts("ProjectList").isEmpty());
        QCOMPARE(harness.FileColumn(FileRow::kName).size(), 0);

        QTRY_VERIFY(panel->isEnabled());
        QVERIFY(harness.Button("ScanButton")->isEnabled());
        QVERIFY(harness.Button("SiftButton")->isEnabled());
        QCOMPARE(harness.Status(), QString("Ready"));
        QVERIFY(window.findChild<QProgressBar*>("Progress")->isHidden());
        QVERIFY(harness.FileColumn(FileRow::kName).contains("Promo V1.omf"));
        QVERIFY(harness.boxes.shown.empty());
    }

    // Timer1 fires while another command runs: the first scan is refused, and tried again
    // once that command has ended.
    void refusedFirstScanIsTriedAgain() {
        WindowHarness harness;
        TwoVolumes(harness);
        Window1& window = harness.Open();
        auto* timer = window.findChild<QTimer*>("Timer1");
        auto* panel = window.findChild<QTabWidget*>("TabPanel1");
        QTRY_VERIFY(timer->isActive());
        bool firedMeanwhile = false;
        const Outcome outcome = window.session().AddFolder([&](const std::string&) {
            // The dialog stays open past the timer's 100 ms.
            QTest::qWait(250);
            firedMeanwhile = !panel->isEnabled() && timer->isActive();
            return std::nullopt;
        });
        QCOMPARE(outcome, Outcome::Cancelled);
        QVERIFY(firedMeanwhile);
        QVERIFY(!panel->isEnabled());
        QTRY_VERIFY(panel->isEnabled());
        QVERIFY(harness.RowStartingWith("ProjectList", "Spot30 - ") >= 0);
    }

    void scanFillsTheListsAndTheFileList() {
        WindowHarness harness;
        TwoVolumes(harness);
        QVERIFY(harness.OpenAndScan());
        const Session& session = harness.window->session();

        const QStringList volumes = harness.Texts("Volumelist");
        QCOMPARE(volumes.size(), 2);
        QVERIFY2(volumes[0].startsWith("Media - "), qPrintable(volumes[0]));
        QVERIFY2(volumes[1].startsWith("Cuts - "), qPrintable(volumes[1]));
        QCOMPARE(volumes[1], QString::fromStdString(session.volumeRows()[1].text));
        // One project across both volumes (the gone file not counted); a sifted folder's
        // project on its own tab; nothing selected after a scan.
        QVERIFY(harness.RowStartingWith("ProjectList", "Spot30 - 2 Files ") >= 0);
        QVERIFY(harness.RowStartingWith("ProjectList", "Trailer - 1 Files ") >= 0);
        QCOMPARE(harness.Texts("ProjectList").size(), int(session.projectRows().size()));
        QVERIFY(harness.Texts("ProjectList").filter("_sifted").isEmpty());
        const QStringList sifted = harness.Texts("SiftedProjectList");
        QCOMPARE(sifted.size(), 1);
        QVERIFY2(sifted[0].startsWith("Promo[Promo_sifted] - 1 Files "), qPrintable(sifted[0]));
        QVERIFY(harness.Selected("ProjectList").empty());
        QVERIFY(harness.Selected("SiftedProjectList").empty());

        // Every file of every folder, folder after folder, as the session has them.
        const QStringList names = harness.FileColumn(FileRow::kName);
        QCOMPARE(names.size(), int(session.fileRows().size()));
        QStringList distinct = names;
        distinct.removeDuplicates();
        distinct.sort();
        QCOMPARE(distinct, QStringList({"Promo V1.omf", "Spot30 A1.omf", "Spot30 V1.omf",
                                        "Spot30 V2.omf", "Trailer V1.omf"}));
        QCOMPARE(names.first(), QString("Spot30 V1.omf"));
        const QStringList volumeColumn = harness.FileColumn(FileRow::kVolume);
        QCOMPARE(volumeColumn.lastIndexOf("Media") + 1, volumeColumn.indexOf("Cuts"));
        // The gone file in italics, with "-"; files listed by the database and present "X".
        const QStringList on = harness.FileColumn(FileRow::kOn);
        const QStringList idx = harness.FileColumn(FileRow::kIdx);
        QAbstractItemModel* model = harness.window->findChild<QTableView*>("Filelist")->model();
        QCOMPARE(names.count("Spot30 A1.omf"), 1);
        for (int row = 0; row < names.size(); ++row) {
            const bool gone = names[row] == "Spot30 A1.omf";
            if (gone) QCOMPARE(on[row], QString("-"));
            if (!gone && idx[row] == "D") QCOMPARE(on[row], QString("X"));
            for (int column = 0; column < FileRow::kColumnCount; ++column)
                QCOMPARE(model->data(model->index(row, column), Qt::FontRole).isValid(), gone);
        }
    }

    // Each button follows its list as of the last evaluation, which a change of the project,
    // sifted project or bin selection makes; the Volumes list has no Change of its own.
    void buttonRule() {
        WindowHarness harness;
        TwoVolumes(harness);
        QVERIFY(harness.OpenAndScan());
        const auto enabled = [&harness](const char* name) {
            return harness.Button(name)->isEnabled();
        };
        QVERIFY(!enabled("CopyButton") && !enabled("MoveButton") && !enabled("UnsiftButton"));
        QVERIFY(!enabled("CopyBinBtn"));
        QVERIFY(enabled("AddBinButton") && enabled("ScanButton") && enabled("SiftButton"));

        harness.Select("Volumelist", {});
        QVERIFY(enabled("ScanButton"));  // no evaluation yet
        harness.Select("ProjectList", {1});
        QVERIFY(enabled("CopyButton") && enabled("MoveButton"));
        QVERIFY(!enabled("ScanButton"));
        QVERIFY(enabled("SiftButton"));  // never touched by the rule

        harness.Select("Volumelist", {1});
        QVERIFY(!enabled("ScanButton"));
        harness.Select("SiftedProjectList", {0});
        QVERIFY(enabled("UnsiftButton") && enabled("ScanButton"));
        harness.Select("ProjectList", {});
        QVERIFY(!enabled("CopyButton") && !enabled("MoveButton") && enabled("UnsiftButton"));
    }

    // By size, by value whatever the text; by date, the gone file (no date) first; the order
    // holds across a rescan.
    void sortingTheFileList() {
        WindowHarness harness;
        TwoVolumes(harness);
        QVERIFY(harness.OpenAndScan());
        auto* list = harness.window->findChild<QTableView*>("Filelist");
        QHeaderView* headings = list->horizontalHeader();
        const auto click = [headings](int column) {
            const int x =
                headings->sectionViewportPosition(column) + headings->sectionSize(column) / 2;
            QTest::mouseClick(headings->viewport(), Qt::LeftButton, {}, QPoint(x, 5));
        };
        // The payload of each file: the sizes grow with it ("900 Bytes" < "2 KB" < ...).
        const QMap<QString, int> payload = {{"Spot30 A1.omf", 0},
                                            {"Spot30 V2.omf", 1500},
                                            {"Trailer V1.omf", 2500},
                                            {"Promo V1.omf", 3000},
                                            {"Spot30 V1.omf", 4000}};
        const auto ascending = [&harness, &payload](bool up) {
            QList<int> sizes;
            for (const QString& name : harness.FileColumn(FileRow::kName)) sizes << payload[name];
            if (!up) std::reverse(sizes.begin(), sizes.end());
            return std::is_sorted(sizes.begin(), sizes.end());
        };
        click(FileRow::kSize);
        QVERIFY(ascending(true));
        QCOMPARE(headings->sortIndicatorSection(), int(FileRow::kSize));
        QCOMPARE(headings->sortIndicatorOrder(), Qt::AscendingOrder);
        click(FileRow::kSize);
        QVERIFY(ascending(false));
        QCOMPARE(headings->sortIndicatorOrder(), Qt::DescendingOrder);

        click(FileRow::kDate);
        QCOMPARE(harness.FileColumn(FileRow::kName).first(), QString("Spot30 A1.omf"));
        QVERIFY(harness.FileColumn(FileRow::kDate).first().isEmpty());
        QVERIFY(!harness.FileColumn(FileRow::kDate).last().isEmpty());
        click(FileRow::kDate);
        QCOMPARE(harness.FileColumn(FileRow::kName).last(), QString("Spot30 A1.omf"));

        click(FileRow::kSize);
        harness.Click("ScanButton");
        QCOMPARE(harness.Status(), QString("Ready"));
        QVERIFY(ascending(true));
        QCOMPARE(headings->sortIndicatorSection(), int(FileRow::kSize));
    }
};

MT_WINDOW_TEST_MAIN(WindowScanTest)
#include "window_scan_test.moc"

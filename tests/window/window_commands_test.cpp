// The commands of the tabs, clicked in the window over generated volumes: Sift Project then
// Unsift Project, Copy Project cancelled and accepted, Sift Volumes over two selected volumes,
// Add Folder, and bins added by the dialog and by dragging onto the Bins list, then copied.

#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>
#include <filesystem>

#include "fixtures/generated_volume.h"
#include "fixtures/mac_metadata_builders.h"
#include "fixtures/media_files.h"
#include "fixtures/volume_builder.h"
#include "window/window_fixtures.h"

using namespace mt;
using namespace mt::fixtures;

namespace {

// The first line of each log block, without its date stamp.
QStringList Headers(const QString& log) {
    QStringList headers;
    bool blockStarts = true;
    for (const QString& line : log.split('\n', Qt::SkipEmptyParts)) {
        if (blockStarts) headers << QString::fromStdString(WithoutStamp(line.toStdString()));
        blockStarts = line.endsWith(" end ");
    }
    return headers;
}

bool Exists(const std::string& path) { return PathExists(path); }

// A drag of files as a file manager makes it, entered, moved and dropped on a widget.
struct Drag {
    bool entered = false, moved = false, dropped = false;
};
Drag DragFiles(QWidget* target, const QStringList& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    const QPoint at = target->rect().center();
    Drag drag;
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    drag.entered = enter.isAccepted();
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    drag.moved = move.isAccepted();
    if (drag.entered && drag.moved) {
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        drag.dropped = drop.isAccepted();
    }
    return drag;
}

}  // namespace

class WindowCommandsTest : public QObject {
    Q_OBJECT

private:
    struct Volumes {
        GeneratedVolume one, two, three;
    };
    static Volumes ThreeVolumes(WindowHarness& harness) {
        Volumes v;
        v.one = GenerateVolume(
            harness.temp.path(), "One",
            {Clip("Spot30 V1.omf", "Spot30", 3000), Clip("Spot30 A1.omf", "Spot30", 1000),
             Clip("Trailer V1.omf", "Trailer", 2000)},
            1);
        v.two =
            GenerateVolume(harness.temp.path(), "Two", {Clip("Gamma V1.omf", "Gamma", 1500)}, 100);
        v.three = GenerateVolume(harness.temp.path(), "Three",
                                 {Clip("Delta V1.omf", "Delta", 1200)}, 200);
        harness.volumes = {v.one.top, v.two.top, v.three.top};
        return v;
    }

private slots:
    void siftProjectThenUnsiftProject() {
        WindowHarness harness;
        Volumes v = ThreeVolumes(harness);
        QVERIFY(harness.OpenAndScan());
        const int spot = harness.RowStartingWith("ProjectList", "Spot30 - ");
        QVERIFY(spot >= 0);
        harness.Select("ProjectList", {spot});
        QVERIFY(harness.Button("MoveButton")->isEnabled());

        harness.Click("MoveButton");

        QVERIFY(Exists(v.one.media + "/Spot30_sifted/Spot30 V1.omf"));
        QVERIFY(Exists(v.one.media + "/Spot30_sifted/Spot30 A1.omf"));
        QVERIFY(!Exists(v.one.PathOf("Spot30 V1.omf")));
        QVERIFY(Exists(v.one.PathOf("Trailer V1.omf")));
        QCOMPARE(Headers(harness.Log()), QStringList({" Sift Project Spot30"}));
        QVERIFY(harness.Log().endsWith(" end \n"));
        // The rescan rebuilt both lists: the sifted project is listed with its folder.
        const int sifted =
            harness.RowStartingWith("SiftedProjectList", "Spot30[Spot30_sifted] - 2 Files ");
        QVERIFY2(sifted >= 0, qPrintable(harness.Texts("SiftedProjectList").join(" | ")));
        QVERIFY(harness.Selected("ProjectList").empty());
        QCOMPARE(harness.Status(), QString("Ready"));
        QVERIFY(!harness.Button("MoveButton")->isEnabled());
        QVERIFY(!harness.Button("CopyButton")->isEnabled());
        QVERIFY(!harness.Button("UnsiftButton")->isEnabled());
        QVERIFY(harness.Button("SiftButton")->isEnabled());

        harness.Select("SiftedProjectList", {sifted});
        harness.Click("UnsiftButton");

        QVERIFY(Exists(v.one.PathOf("Spot30 V1.omf")));
        QVERIFY(Exists(v.one.PathOf("Spot30 A1.omf")));
        QVERIFY(!Exists(v.one.media + "/Spot30_sifted/Spot30 V1.omf"));
        // Two blocks, one after the other, no empty line between them.
        QCOMPARE(Headers(harness.Log()),
                 QStringList({" Sift Project Spot30", " Unsift Project Spot30[Spot30_sifted]"}));
        QVERIFY(!harness.Log().contains("\n\n"));
        QCOMPARE(harness.Log(), QString::fromStdString(harness.window->session().log().Text()));
        QCOMPARE(harness.RowStartingWith("SiftedProjectList", "Spot30[Spot30_sifted] - 2"), -1);
        QVERIFY(harness.RowStartingWith("ProjectList", "Spot30 - 2 Files ") >= 0);
        QVERIFY(harness.boxes.shown.empty());
    }

    void copyProjectCancelledThenAccepted() {
        WindowHarness harness;
        Volumes v = ThreeVolumes(harness);
        QVERIFY(harness.OpenAndScan());
        const int trailer = harness.RowStartingWith("ProjectList", "Trailer - ");
        harness.Select("ProjectList", {trailer});
        const QString statusBefore = harness.Status();

        harness.dialogs.answers = {std::nullopt};
        harness.Click("CopyButton");
        QCOMPARE(harness.dialogs.asked.size(), size_t(1));
        QCOMPARE(harness.dialogs.asked[0].kind, std::string("folder"));
        QCOMPARE(harness.dialogs.asked[0].prompt,
                 std::string("Select Target Folder to copy project files to"));
        QCOMPARE(harness.dialogs.asked[0].parent, static_cast<QWidget*>(harness.window.get()));
        QVERIFY(harness.Log().isEmpty());
        QVERIFY(harness.boxes.shown.empty());
        QCOMPARE(harness.Status(), statusBefore);
        QVERIFY(harness.Button("CopyButton")->isEnabled());
        QVERIFY(harness.Button("SiftButton")->isEnabled());

        const std::string target = MakeFolder(harness.temp.Path("Target"));
        harness.dialogs.answers = {target};
        harness.Click("CopyButton");
        QVERIFY(Exists(target + "/Trailer V1.omf"));
        QVERIFY(Exists(v.one.PathOf("Trailer V1.omf")));
        QVERIFY(!Exists(target + "/Spot30 V1.omf"));
        QCOMPARE(Headers(harness.Log()).size(), 1);
        QVERIFY(Headers(harness.Log())[0].startsWith(" Copy Project Trailer"));
        // No rescan: the selection stays, the four buttons wait for the next change.
        QCOMPARE(harness.Selected("ProjectList"), std::vector<int>({trailer}));
        QCOMPARE(harness.Status(), QString("Ready"));
        for (const char* name : {"CopyButton", "MoveButton", "UnsiftButton", "SiftButton"})
            QVERIFY2(!harness.Button(name)->isEnabled(), name);
    }

    void siftVolumesOverTwoSelectedVolumes() {
        WindowHarness harness;
        Volumes v = ThreeVolumes(harness);
        QVERIFY(harness.OpenAndScan());
        harness.Select("Volumelist", {0, 2});

        harness.Click("SiftButton");

        QCOMPARE(Headers(harness.Log()), QStringList({" Sift Volume One", " Sift Volume Three"}));
        QVERIFY(Exists(v.one.media + "/Spot30_sifted/Spot30 V1.omf"));
        QVERIFY(Exists(v.one.media + "/Trailer_sifted/Trailer V1.omf"));
        QVERIFY(Exists(v.two.PathOf("Gamma V1.omf")));
        QVERIFY(Exists(v.three.media + "/Delta_sifted/Delta V1.omf"));
        QVERIFY(harness.RowStartingWith("SiftedProjectList", "Delta[Delta_sifted] - 1 Files ") >=
                0);
        QVERIFY(harness.RowStartingWith("SiftedProjectList", "Gamma[") < 0);
        QCOMPARE(harness.Status(), QString("Ready"));
        QVERIFY(harness.Button("SiftButton")->isEnabled());
    }

    void addFolderByDialog() {
        WindowHarness harness;
        ThreeVolumes(harness);
        QVERIFY(harness.OpenAndScan());
        const std::string cuts = MakeFolder(harness.temp.Path("Loose/Cuts"));
        WriteMediaFile(cuts + "/Promo 01.wav", "Promo", 800);

        harness.dialogs.answers = {std::nullopt};
        harness.Click("AddFolderButton");
        QCOMPARE(harness.dialogs.asked.back().prompt,
                 std::string("Select Folder with media files"));
        QCOMPARE(harness.Texts("Volumelist").size(), 3);

        harness.dialogs.answers = {cuts};
        harness.Click("AddFolderButton");
        const QStringList rows = harness.Texts("Volumelist");
        QCOMPARE(rows.size(), 4);
        QVERIFY2(rows[3].endsWith("no Media Database"), qPrintable(rows[3]));
        QVERIFY(harness.Selected("Volumelist").back() == 3);
        QVERIFY(harness.FileColumn(2).contains("Promo 01.wav"));
        // The same folder again is not listed twice.
        harness.dialogs.answers = {cuts};
        harness.Click("AddFolderButton");
        QCOMPARE(harness.Texts("Volumelist").size(), 4);
    }

    // A bin by the dialog, a second one dragged onto the list (the drag accepted as it enters
    // and moves), then both copied.
    void binsByDialogAndByDragThenCopyBin() {
        WindowHarness harness;
        Volumes v = ThreeVolumes(harness);
        const std::string scene12 = harness.temp.Path("Scene 12.avb");
        WriteBinUsing(scene12, v.one, {"Spot30 V1.omf", "Trailer V1.omf"});
        // A bin known by its Mac type alone.
        const std::string scene13 = harness.temp.Path("Scene 13");
        WriteBinUsing(scene13, v.two, {"Gamma V1.omf"});
        WriteSidecar(scene13, "ATob", "AVID");
        const std::string notes = harness.temp.Path("notes.txt");
        WriteFileBytes(notes, "not a bin");
        QVERIFY(harness.OpenAndScan());

        harness.dialogs.answers = {scene12};
        harness.Click("AddBinButton");
        QCOMPARE(harness.dialogs.asked.back().kind, std::string("file"));
        QCOMPARE(harness.dialogs.asked.back().prompt, std::string("Select Bin to add to list"));
        QCOMPARE(harness.Texts("BinList").size(), 1);
        QVERIFY2(harness.Texts("BinList")[0].startsWith("Scene 12.avb - 2 Files "),
                 qPrintable(harness.Texts("BinList")[0]));
        QCOMPARE(harness.Selected("BinList"), std::vector<int>({0}));
        QVERIFY(harness.Button("CopyBinBtn")->isEnabled());

        QWidget* binArea = harness.List("BinList")->viewport();
        Drag refused = DragFiles(binArea, {QString::fromStdString(notes)});
        QVERIFY(!refused.entered && !refused.moved);
        Drag drag =
            DragFiles(binArea, {QString::fromStdString(scene13), QString::fromStdString(notes)});
        QVERIFY(drag.entered);
        QVERIFY(drag.moved);
        QVERIFY(drag.dropped);
        QTRY_COMPARE(harness.Texts("BinList").size(), 2);
        QVERIFY2(harness.Texts("BinList")[1].startsWith("Scene 13 - 1 Files "),
                 qPrintable(harness.Texts("BinList")[1]));
        QCOMPARE(harness.Selected("BinList"), std::vector<int>({0, 1}));

        const std::string target = MakeFolder(harness.temp.Path("Bin copy"));
        harness.dialogs.answers = {target};
        harness.Click("CopyBinBtn");
        QCOMPARE(harness.dialogs.asked.back().prompt,
                 std::string("Select Target Folder to copy bin files to"));
        QCOMPARE(Headers(harness.Log()),
                 QStringList({" Copy Bin Scene 12.avb", " Copy Bin Scene 13"}));
        QCOMPARE(ListFolder(target),
                 std::vector<std::string>({"Gamma V1.omf", "Spot30 V1.omf", "Trailer V1.omf"}));
        QCOMPARE(harness.Status(), QString("Ready"));
    }
};

MT_WINDOW_TEST_MAIN(WindowCommandsTest)
#include "window_commands_test.moc"

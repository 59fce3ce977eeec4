// Filelist and its model: the texts as stored, italic rows, headings and column shares,
// sorting by a heading through the sorter (by date, by size, refused), and 100,000 rows
// filled, sorted by every column and emptied without a visible pause.

#include <QElapsedTimer>
#include <QHeaderView>
#include <QSignalSpy>
#include <chrono>

#include "session/file_row.h"
#include "ui/file_list_model.h"
#include "ui/file_list_view.h"
#include "window/window_fixtures.h"

using namespace mt;
using mt::fixtures::kTimingChecked;
using namespace std::chrono_literals;

namespace {

FileRow Row(const std::string& name, std::optional<TimePoint> date, double size,
            const std::string& sizeText) {
    FileRow row;
    row.cells = {"Media", "Spot30", name, date ? "a date" : "", sizeText, "D", "X"};
    row.date = date;
    row.size = size;
    if (size <= 0) {
        row.cells[FileRow::kOn] = "-";
        row.italic = true;
    }
    return row;
}

const TimePoint kMonday = TimePoint(std::chrono::hours(24 * 19000));

QStringList Column(const FileListModel& model, int column) {
    QStringList cells;
    for (int row = 0; row < model.rowCount(); ++row)
        cells << model.data(model.index(row, column)).toString();
    return cells;
}

// A list as in the window: the model over rows, sorted by SortRows unless refused.
struct ListUnderTest {
    std::vector<FileRow> rows;
    FileListModel model{&rows};
    FileListView view{&model};
    bool refuse = false;
    int sorts = 0;

    ListUnderTest() {
        model.SetSorter([this](int column, bool ascending) {
            if (refuse) return false;
            ++sorts;
            SortRows(rows, column, ascending);
            return true;
        });
        view.resize(769, 193);
    }
    void ClickHeading(int column) {
        QHeaderView* headings = view.horizontalHeader();
        const int x = headings->sectionViewportPosition(column) + headings->sectionSize(column) / 2;
        QTest::mouseClick(headings->viewport(), Qt::LeftButton, {}, QPoint(x, 5));
    }
};

}  // namespace

class FileListTest : public QObject {
    Q_OBJECT

private slots:
    void showsStoredTextsAfterRefresh() {
        ListUnderTest list;
        list.rows = {Row("Spot30 V1 01.omf", kMonday, 2048, "2 KB")};
        QCOMPARE(list.model.rowCount(), 0);
        list.model.Refresh();
        QCOMPARE(list.model.rowCount(), 1);
        QCOMPARE(list.model.columnCount(), 7);
        const QStringList expected = {"Media", "Spot30", "Spot30 V1 01.omf", "a date", "2 KB",
                                      "D",     "X"};
        for (int column = 0; column < 7; ++column)
            QCOMPARE(list.model.data(list.model.index(0, column)).toString(), expected[column]);
        list.model.Clear();
        QCOMPARE(list.model.rowCount(), 0);
    }

    void headings() {
        ListUnderTest list;
        const QStringList expected = {"Volume", "Project", "Name", "Date", "Size", "Idx", "On"};
        for (int column = 0; column < 7; ++column)
            QCOMPARE(list.model.headerData(column, Qt::Horizontal).toString(), expected[column]);
    }

    // Every cell of a row of an absent file is italic; other rows keep the list's font.
    void italicRows() {
        ListUnderTest list;
        list.rows = {Row("there.omf", kMonday, 900, "900 Bytes"), Row("gone.omf", {}, 0, "-")};
        list.model.Refresh();
        for (int column = 0; column < 7; ++column) {
            QVERIFY(!list.model.data(list.model.index(0, column), Qt::FontRole).isValid());
            const QVariant font = list.model.data(list.model.index(1, column), Qt::FontRole);
            QVERIFY(font.isValid());
            QVERIFY(font.value<QFont>().italic());
            // Only the style is set: the view's family and size stay.
            QCOMPARE(font.value<QFont>().resolveMask(), uint(QFont::StyleResolved));
        }
        QCOMPARE(list.model.data(list.model.index(1, FileRow::kOn)).toString(), QString("-"));
    }

    void columnSharesOfTheWidth() {
        ListUnderTest list;
        list.view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list.view));
        for (int width : {769, 1200}) {
            list.view.resize(width, 193);
            const int inner = list.view.viewport()->width();
            int total = 0;
            for (int column = 0; column < 7; ++column) {
                const int expected = inner * kFileColumnWidths[size_t(column)] / 100;
                QVERIFY(std::abs(list.view.columnWidth(column) - expected) <= 7);
                total += list.view.columnWidth(column);
            }
            QCOMPARE(total, inner);
        }
    }

    // Rows without a date first, then by date; a second click reverses.
    void sortByDate() {
        ListUnderTest list;
        list.rows = {Row("late.omf", kMonday + 2h, 10, "10 Bytes"), Row("none 1.omf", {}, 0, "-"),
                     Row("early.omf", kMonday, 10, "10 Bytes"), Row("none 2.omf", {}, 0, "-")};
        list.model.Refresh();
        list.view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list.view));
        list.ClickHeading(FileRow::kDate);
        QCOMPARE(Column(list.model, FileRow::kName),
                 QStringList({"none 1.omf", "none 2.omf", "early.omf", "late.omf"}));
        QCOMPARE(list.view.horizontalHeader()->sortIndicatorSection(), int(FileRow::kDate));
        QCOMPARE(list.view.horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder);
        list.ClickHeading(FileRow::kDate);
        QCOMPARE(Column(list.model, FileRow::kName),
                 QStringList({"late.omf", "early.omf", "none 1.omf", "none 2.omf"}));
        QCOMPARE(list.view.horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    }

    // By the byte count, whatever the text says.
    void sortBySize() {
        ListUnderTest list;
        list.rows = {Row("mega.omf", kMonday, 1 << 20, "1 MB"),
                     Row("bytes.omf", kMonday, 900, "900 Bytes"),
                     Row("kilo.omf", kMonday, 2048, "2 KB")};
        list.model.Refresh();
        QVERIFY(list.view.SortByHeading(FileRow::kSize, Qt::AscendingOrder));
        QCOMPARE(Column(list.model, FileRow::kSize), QStringList({"900 Bytes", "2 KB", "1 MB"}));
        QVERIFY(list.view.SortByHeading(FileRow::kName, Qt::AscendingOrder));
        QCOMPARE(Column(list.model, FileRow::kSize), QStringList({"900 Bytes", "2 KB", "1 MB"}));
        QCOMPARE(Column(list.model, FileRow::kName),
                 QStringList({"bytes.omf", "kilo.omf", "mega.omf"}));
    }

    // A refused sort (a command runs) leaves the rows, and the heading, as they were.
    void refusedSortChangesNothing() {
        ListUnderTest list;
        list.rows = {Row("b.omf", kMonday, 20, "20 Bytes"), Row("a.omf", kMonday, 10, "10 Bytes")};
        list.model.Refresh();
        list.view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list.view));
        list.ClickHeading(FileRow::kSize);
        list.refuse = true;
        list.ClickHeading(FileRow::kName);
        QCOMPARE(Column(list.model, FileRow::kName), QStringList({"a.omf", "b.omf"}));
        QCOMPARE(list.view.sortColumn(), int(FileRow::kSize));
        QCOMPARE(list.view.horizontalHeader()->sortIndicatorSection(), int(FileRow::kSize));
        QCOMPARE(list.view.horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder);
        list.ClickHeading(FileRow::kSize);  // would reverse
        QCOMPARE(list.view.horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder);
        QCOMPARE(Column(list.model, FileRow::kName), QStringList({"a.omf", "b.omf"}));
    }

    // A sort is one reset, also when the sorter reports the change on its way.
    void sortIsOneReset() {
        ListUnderTest list;
        list.rows = {Row("b.omf", kMonday, 20, "20 Bytes"), Row("a.omf", kMonday, 10, "10 Bytes")};
        list.model.Refresh();
        list.model.SetSorter([&list](int column, bool ascending) {
            SortRows(list.rows, column, ascending);
            list.model.Refresh();  // as the session's observer does
            return true;
        });
        QSignalSpy resets(&list.model, &QAbstractItemModel::modelReset);
        QVERIFY(list.view.SortByHeading(FileRow::kName, Qt::AscendingOrder));
        QCOMPARE(resets.count(), 1);
        QCOMPARE(Column(list.model, FileRow::kName), QStringList({"a.omf", "b.omf"}));
    }

    // 100,000 rows in a shown list: filling, each sort and emptying each well under half a
    // second (a QStandardItemModel takes minutes to empty once sorted).
    void hundredThousandRows() {
        ListUnderTest list;
        list.view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list.view));
        const int count = 100000;
        list.rows.reserve(count);
        for (int i = 0; i < count; ++i) {
            const int scrambled = int((i * 7919LL) % count);
            FileRow row = Row(
                "Clip " + std::to_string(scrambled) + ".omf",
                i % 97 ? std::optional(kMonday + std::chrono::seconds(scrambled)) : std::nullopt,
                (i % 89) ? scrambled * 1000.0 : 0, std::to_string(scrambled) + " KB");
            row.cells[FileRow::kVolume] = "Volume " + std::to_string(i % 7);
            row.cells[FileRow::kProject] = "Project " + std::to_string(scrambled % 113);
            list.rows.push_back(std::move(row));
        }
        const auto timed = [&list](const char* what, const std::function<void()>& step) {
            QElapsedTimer clock;
            clock.start();
            step();
            list.view.repaint();
            QCoreApplication::processEvents();
            const qint64 ms = clock.elapsed();
            qInfo("%s: %lld ms", what, ms);
            return ms;
        };
        // Each step well under the half second at which a pause shows.
        const auto unnoticed = [](qint64 ms) { return !kTimingChecked || ms < 500; };
        QVERIFY(unnoticed(timed("fill 100000 rows", [&] { list.model.Refresh(); })));
        QCOMPARE(list.model.rowCount(), count);
        for (int column = 0; column < FileRow::kColumnCount; ++column) {
            const QByteArray what = "sort by " + QByteArray(kFileColumnHeadings[size_t(column)]);
            QVERIFY(unnoticed(timed(what.constData(), [&] {
                QVERIFY(list.view.SortByHeading(column, Qt::AscendingOrder));
            })));
        }
        QVERIFY(unnoticed(timed("sort by Size, descending", [&] {
            QVERIFY(list.view.SortByHeading(FileRow::kSize, Qt::DescendingOrder));
        })));
        QCOMPARE(list.model.data(list.model.index(count - 1, FileRow::kOn)).toString(),
                 QString("-"));
        QVERIFY(unnoticed(timed("empty", [&] { list.model.Clear(); })));
        QCOMPARE(list.model.rowCount(), 0);
    }
};

MT_WINDOW_TEST_MAIN(FileListTest)
#include "file_list_test.moc"

#include "catalogue/worker.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "catalogue/media_file.h"
#include "fixtures/fake_window.h"
#include "fixtures/mac_metadata_builders.h"
#include "fixtures/media_files.h"
#include "fixtures/temp_folder.h"

namespace mt {
namespace {

using fixtures::FakeProgressBar;
using fixtures::FakeStatusLabel;
using fixtures::FakeTicks;
using fixtures::HookRecorder;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(MegaString, SizeTexts) {
    struct Row {
        double bytes;
        const char* text;
    };
    for (const Row& row :
         {Row{0, "-"}, Row{1, "1 Bytes"}, Row{1023, "1023 Bytes"}, Row{1024, "1 KB"},
          Row{1048575, "1024 KB"}, Row{1048576, "1 MB"}, Row{1073741823, "1024 MB"},
          Row{1073741824, "1.0 GB"}, Row{1610612736, "1.5 GB"}}) {
        EXPECT_EQ(Worker::MegaString(row.bytes), row.text) << static_cast<long long>(row.bytes);
    }
}

TEST(DateStamp, IsTheSqlDateTimeForm) {
    const std::string stamp = Worker::DateStamp();
    EXPECT_THAT(stamp,
                ::testing::MatchesRegex(
                    "[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]"));
}

class SetProgressTest : public ::testing::Test {
protected:
    SetProgressTest() { worker.progress = &bar; }
    HookRecorder hooks;
    FakeTicks ticks{1000};
    FakeProgressBar bar;
    Worker worker;
};

TEST_F(SetProgressTest, NegativeHidesAndRestoresArrowEvenIfNeverShown) {
    worker.SetProgress(-1);
    EXPECT_THAT(bar.visibility, ElementsAre(false));
    EXPECT_THAT(hooks.cursors, ElementsAre(Cursor::Arrow));
    EXPECT_THAT(bar.values, IsEmpty());
    EXPECT_EQ(bar.refreshes, 0);
    EXPECT_EQ(worker.lastprogress, 0);
}

TEST_F(SetProgressTest, UpdateShowsSetsWatchAndRefreshes) {
    worker.SetProgress(0.25);
    EXPECT_TRUE(bar.visible);
    EXPECT_THAT(bar.values, ElementsAre(25));
    EXPECT_THAT(hooks.cursors, ElementsAre(Cursor::Watch));
    EXPECT_EQ(bar.refreshes, 1);
    EXPECT_EQ(worker.lastprogress, 1000);

    ticks.Advance(500);
    worker.SetProgress(-1);
    EXPECT_FALSE(bar.visible);
    EXPECT_THAT(hooks.cursors, ElementsAre(Cursor::Watch, Cursor::Arrow));
    EXPECT_EQ(bar.value, 25) << "hiding leaves the value";
}

TEST_F(SetProgressTest, AtMostOneUpdateEvery120Ticks) {
    worker.SetProgress(0.1);
    ASSERT_THAT(bar.values, ElementsAre(10));
    for (double fraction : {0.5, 1.0, 0.0, 0.99}) {
        ticks.Advance(30);  // 1030 ... 1120: never more than 120 after the update
        worker.SetProgress(fraction);
        EXPECT_EQ(bar.value, 10) << "at " << ticks.now() << " with " << fraction;
        EXPECT_TRUE(bar.visible);
    }
    EXPECT_EQ(bar.visibility.size(), 5u) << "shown on every call";
    EXPECT_EQ(bar.refreshes, 1);
    ticks.Set(1120.5);
    worker.SetProgress(0.42);
    EXPECT_THAT(bar.values, ElementsAre(10, 42));
    EXPECT_EQ(worker.lastprogress, 1120.5);
    ticks.Advance(100);
    worker.SetProgress(0.9);
    EXPECT_EQ(bar.value, 42);
}

TEST_F(SetProgressTest, UnchangedPercentageIsNoUpdate) {
    // The bar starts at 0, so 0 and 0.005 are no change.
    worker.SetProgress(0);
    worker.SetProgress(0.005);
    EXPECT_THAT(bar.values, IsEmpty());
    EXPECT_THAT(hooks.cursors, IsEmpty());
    EXPECT_EQ(worker.lastprogress, 0);
    EXPECT_TRUE(bar.visible);
}

TEST_F(SetProgressTest, PercentageIsTruncated) {
    struct Row {
        double fraction;
        int value;
    };
    double now = 1000;
    for (const Row& row :
         {Row{0.999, 99}, Row{1, 100}, Row{0.019, 1}, Row{0.5, 50}, Row{0.0001, 0}}) {
        now += 1000;
        ticks.Set(now);
        worker.SetProgress(row.fraction);
        EXPECT_EQ(bar.value, row.value) << row.fraction;
    }
}

TEST(SetProgress, WithoutABarNothingHappens) {
    HookRecorder hooks;
    FakeTicks ticks;
    Worker worker;
    worker.SetProgress(0.5);
    worker.SetProgress(-1);
    EXPECT_THAT(hooks.cursors, IsEmpty());
    EXPECT_EQ(worker.lastprogress, 0);
}

TEST(SetLabel, SetsOnlyWhenTheTextDiffersIgnoringCase) {
    FakeStatusLabel label;
    Worker worker;
    worker.SetLabel("ignored without a label");
    worker.label = &label;
    worker.SetLabel("Sifting Spot30");
    worker.SetLabel("SIFTING spot30");
    worker.SetLabel("Sifting Spot31");
    EXPECT_THAT(label.texts, ElementsAre("Sifting Spot30", "Sifting Spot31"));
    EXPECT_EQ(label.refreshes, 2);
}

TEST(WorkerGetSize, SumsMembersOnDiskAndYieldsAfterEach) {
    fixtures::TempFolder temp;
    HookRecorder hooks;
    Worker empty;
    EXPECT_EQ(empty.GetSize(), 0);

    fixtures::WriteFileBytes(temp.Path("a.omf"), fixtures::Payload(1000));
    fixtures::WriteFileBytes(temp.Path("b.omf"), fixtures::Payload(24));
    const FolderItem folder = FolderItem::Volume(temp.path(), RealFileSystem());
    Worker worker;
    for (const char* name : {"a.omf", "gone.omf", "b.omf"}) {
        auto file = std::make_shared<MediaFile>();
        file->filename = name;
        file->file = folder.Child(name);
        worker.MediaFiles.push_back(file);
    }
    worker.MediaFiles.push_back(std::make_shared<MediaFile>());  // no file reference at all
    EXPECT_EQ(worker.GetSize(), 1024);
    EXPECT_EQ(hooks.yields, 4);
}

TEST(MediaFileGetSize, DataForkPlusResourceFork) {
    fixtures::TempFolder temp;
    fixtures::WriteFileBytes(temp.Path("voice.sd2"), fixtures::Payload(5000));
    const Bytes fork = fixtures::BuildResourceFork({{"OMF1", 1000, Bytes(60, 'x'), std::nullopt}});
    fixtures::WriteSidecar(temp.Path("voice.sd2"), "Sd2f", "Sd2a", fork);
    MediaFile media;
    media.file = FolderItem::Volume(temp.path(), RealFileSystem()).Child("voice.sd2");
    EXPECT_EQ(media.GetSize(), 5000.0 + fork.size());
    EXPECT_EQ(media.GetSizeString(), "5 KB");

    media.file = FolderItem::Volume(temp.path(), RealFileSystem()).Child("gone.sd2");
    EXPECT_EQ(media.GetSize(), 0);
    EXPECT_EQ(media.GetSizeString(), "-");
    media.file.reset();
    EXPECT_EQ(media.GetSize(), 0);
}

}  // namespace
}  // namespace mt

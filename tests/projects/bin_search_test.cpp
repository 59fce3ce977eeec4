// The search behind bins: many byte strings at once, in a file read piece by piece.

#include "projects/bin_search.h"

#include <gtest/gtest.h>

#include "fixtures/database_builders.h"
#include "fixtures/media_files.h"
#include "platform/binary_stream.h"

namespace mt {
namespace {

// A file in memory that counts how it is read.
class CountingFile : public ReadableFile {
public:
    explicit CountingFile(Bytes data) : data_(std::move(data)) {}
    uint64_t Length() const override { return data_.Length(); }
    size_t ReadAt(uint64_t position, char* buffer, size_t count) override {
        ++reads;
        largest = std::max(largest, count);
        return data_.ReadAt(position, buffer, count);
    }
    int reads = 0;
    size_t largest = 0;

private:
    MemoryFile data_;
};

TEST(FindEachTest, FindsWhatAPlainSearchFindsAcrossPieces) {
    const size_t w = kBinSearchWindow;
    Bytes content = fixtures::Payload(2 * w + w / 2, 3);
    struct Placed {
        size_t at;
        Bytes needle;
    };
    const std::vector<Placed> placed = {
        {0, fixtures::MobId(1)},                           // at the start
        {w - 4, fixtures::MobId(2)},                       // across the first boundary
        {w, fixtures::MobId(3)},                           // right after it
        {w - 1, "ab"},                                     // two bytes across it
        {2 * w - 10, Bytes("twenty bytes long..") + "!"},  // 20 bytes across the second
        {content.size() - 8, fixtures::MobId(4)},          // at the very end
        {w / 2, "z"},                                      // one byte
    };
    for (const auto& p : placed) content.replace(p.at, p.needle.size(), p.needle);
    // A needle longer than a piece, spanning the second boundary.
    const Bytes longer = content.substr(2 * w - w / 2, w + 100);

    std::vector<Bytes> needles;
    for (const auto& p : placed) needles.push_back(p.needle);
    needles.push_back(longer);
    needles.push_back(fixtures::MobId(5));                  // absent
    needles.push_back(fixtures::MobId(2));                  // twice
    needles.push_back("");                                  // never found
    needles.push_back(content.substr(w - 3, 8));            // some 8 bytes across a boundary
    needles.push_back(content.substr(w - 3, 7) + "\x01");   // their neighbour, likely absent
    needles.push_back(content.substr(content.size() - 3));  // the last bytes

    CountingFile file(content);
    int pieces = 0;
    const std::vector<bool> found = FindEach(file, needles, [&] { ++pieces; });

    ASSERT_EQ(found.size(), needles.size());
    for (size_t i = 0; i < needles.size(); ++i) {
        const bool plain = !needles[i].empty() && content.find(needles[i]) != Bytes::npos;
        EXPECT_EQ(found[i], plain) << "needle " << i;
    }
    EXPECT_EQ(pieces, 3);
    EXPECT_EQ(file.reads, 4) << "the three pieces, and the read that finds the end";
    EXPECT_LE(file.largest, w);
}

TEST(FindEachTest, StopsOnceEveryNeedleIsFound) {
    Bytes content = fixtures::Payload(5 * kBinSearchWindow, 4);
    content.replace(100, 8, fixtures::MobId(1));
    content.replace(5000, 3, "abc");
    CountingFile file(content);

    const std::vector<bool> found = FindEach(file, {fixtures::MobId(1), "abc", fixtures::MobId(1)});

    EXPECT_EQ(found, (std::vector<bool>{true, true, true}));
    EXPECT_EQ(file.reads, 1);
}

TEST(FindEachTest, NothingToFindReadsNothing) {
    CountingFile file(fixtures::Payload(1000));
    EXPECT_EQ(FindEach(file, {}), std::vector<bool>{});
    EXPECT_EQ(FindEach(file, {"", ""}), (std::vector<bool>{false, false}));
    EXPECT_EQ(file.reads, 0);
}

}  // namespace
}  // namespace mt

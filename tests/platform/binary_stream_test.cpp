#include "platform/binary_stream.h"

#include <gtest/gtest.h>

#include "fixtures/media_files.h"
#include "fixtures/temp_folder.h"
#include "platform/folder_item.h"

namespace mt {
namespace {

using fixtures::Payload;

TEST(BinaryStream, ReadsNearTheEndGiveWhatIsThere) {
    BinaryStream s = BinaryStream::FromBytes("abcdef");
    s.SetPosition(4);
    EXPECT_EQ(s.Read(10), "ef");
    EXPECT_EQ(s.Position(), 6);
    EXPECT_TRUE(s.AtEnd());
    EXPECT_EQ(s.Read(1), "");
    s.SetPosition(100);
    EXPECT_EQ(s.Read(3), "");
}

TEST(BinaryStream, NegativePositionOrCountGivesNothing) {
    BinaryStream s = BinaryStream::FromBytes("abcdef");
    s.SetPosition(-1);
    EXPECT_EQ(s.Read(3), "");
    EXPECT_EQ(s.Position(), -1);
    s.SetPosition(-1000);
    EXPECT_EQ(s.ReadInt32(), 0);
    s.SetPosition(0);
    EXPECT_EQ(s.Read(0), "");
    EXPECT_EQ(s.Read(-5), "");
    EXPECT_EQ(s.Position(), 0);
}

TEST(BinaryStream, IntegersInBothByteOrders) {
    const Bytes bytes("\x01\x02\xFF\xFE\x80\x00\x00\x01", 8);
    struct Row {
        bool littleEndian;
        int16_t first16, second16;
        int32_t whole32;
    };
    for (const Row& row : {Row{false, 0x0102, static_cast<int16_t>(0xFFFE), -2147483647},
                           Row{true, 0x0201, static_cast<int16_t>(0xFEFF), 0x01000080}}) {
        SCOPED_TRACE(row.littleEndian ? "little-endian" : "big-endian");
        BinaryStream s = BinaryStream::FromBytes(bytes);
        s.littleEndian = row.littleEndian;
        EXPECT_EQ(s.ReadInt16(), row.first16);
        EXPECT_EQ(s.ReadInt16(), row.second16);
        EXPECT_EQ(s.ReadInt32(), row.whole32);
        EXPECT_TRUE(s.AtEnd());
    }
}

TEST(BinaryStream, ShortIntegerReadCountsMissingBytesAsZero) {
    BinaryStream big = BinaryStream::FromBytes("\x12\x34\x56");
    big.SetPosition(1);
    EXPECT_EQ(big.ReadInt32(), 0x34560000);
    BinaryStream little = BinaryStream::FromBytes("\x12\x34\x56");
    little.littleEndian = true;
    little.SetPosition(2);
    EXPECT_EQ(little.ReadInt16(), 0x0056);
}

TEST(BinaryStream, ReadsAcrossItsBufferAndBackwards) {
    // Larger than the stream's read buffer, so reads cross refills in both directions.
    const Bytes data = Payload(200 * 1024 + 7);
    BinaryStream s = BinaryStream::FromBytes(data);
    ASSERT_EQ(s.Length(), static_cast<int64_t>(data.size()));
    for (int64_t at : {int64_t{0}, int64_t{65530}, int64_t{131070}, int64_t{10}, int64_t{65536},
                       static_cast<int64_t>(data.size()) - 3}) {
        s.SetPosition(at);
        EXPECT_EQ(s.Read(20), data.substr(static_cast<size_t>(at), 20)) << "at " << at;
    }
    s.SetPosition(5);
    EXPECT_EQ(s.Read(150000), data.substr(5, 150000));
    EXPECT_EQ(s.Position(), 150005);
    s.SetPosition(0);
    EXPECT_EQ(s.Read(1 << 30), data);
}

TEST(BinaryStream, ReadsAFileOnDisk) {
    fixtures::TempFolder temp;
    const Bytes data = Payload(70000, 3);
    fixtures::WriteFileBytes(temp.Path("f"), data);
    BinaryStream s(FolderItem::Volume(temp.path(), RealFileSystem()).Child("f").OpenData());
    EXPECT_EQ(s.Length(), 70000);
    s.SetPosition(69990);
    EXPECT_EQ(s.Read(100), data.substr(69990));
}

TEST(BinaryStream, WithoutAFileEverythingIsEmpty) {
    BinaryStream s(nullptr);
    EXPECT_EQ(s.Length(), 0);
    EXPECT_TRUE(s.AtEnd());
    EXPECT_EQ(s.Read(4), "");
    EXPECT_EQ(s.ReadInt16(), 0);
}

}  // namespace
}  // namespace mt

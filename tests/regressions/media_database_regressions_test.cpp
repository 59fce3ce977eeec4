// Media databases with absurd counts, negative lengths, cut-off records and records that
// cross the stream's 64 KB buffer.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "byte_literals.h"
#include "mediafolder/media_database_reader.h"

namespace mt::regressions {
namespace {

std::vector<DatabaseRecord> ReadAll(const Bytes& bytes, DatabaseHeader* header = nullptr) {
    BinaryStream stream = BinaryStream::FromBytes(bytes);
    DatabaseHeader h = ReadDatabaseHeader(stream);
    if (header) *header = h;
    std::vector<DatabaseRecord> records;
    ReadDatabaseRecords(stream, h, [&](DatabaseRecord&& r) { records.push_back(std::move(r)); });
    return records;
}

const Bytes kHeader = Hex("000007a9 00000002");

TEST(MediaDatabaseRegressions, CountOfTwoToThe31MinusOneReadsTheRecordsThatAreThere) {
    const Bytes bytes = kHeader + Hex("7fffffff") + Hex("237ff5e58d59ec22 0004") + "a.om" +
                        Hex("0002") + "P1" + Bytes(12, '\x07');
    DatabaseHeader header;
    auto records = ReadAll(bytes, &header);
    EXPECT_EQ(header.count, 0x7FFFFFFF);
    EXPECT_FALSE(header.littleEndian);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].premob, Hex("237ff5e58d59ec22"));
    EXPECT_EQ(records[0].filename, "a.om");
    EXPECT_EQ(records[0].project, "P1");
    EXPECT_EQ(records[0].postmob, Bytes(12, '\x07'));
}

TEST(MediaDatabaseRegressions, NegativeLengthsReadAsEmptyNames) {
    const Bytes bytes = kHeader + Hex("00000002") + Hex("0102030405060708 ffff 8000") +
                        Bytes(12, 'x') + Hex("1112131415161718 0001") + "b" + Hex("fffe") +
                        Bytes(12, 'y');
    auto records = ReadAll(bytes);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].filename, "");
    EXPECT_EQ(records[0].project, "");
    EXPECT_EQ(records[0].postmob, Bytes(12, 'x'));
    EXPECT_EQ(records[1].filename, "b");
    EXPECT_EQ(records[1].project, "");
    EXPECT_EQ(records[1].postmob, Bytes(12, 'y'));
}

TEST(MediaDatabaseRegressions, NegativeCountReadsNoRecord) {
    const Bytes bytes = kHeader + Hex("80000000") + Hex("0102030405060708 0001") + "c" +
                        Hex("0000") + Bytes(12, '\0');
    EXPECT_TRUE(ReadAll(bytes).empty());
    EXPECT_TRUE(ReadAll(kHeader + Hex("ffffffff") + Bytes(40, '\0')).empty());
}

TEST(MediaDatabaseRegressions, NameLengthPastTheEndGivesWhatIsThere) {
    const Bytes bytes = kHeader + Hex("00000001") + Hex("0102030405060708 7fff") + "only this";
    auto records = ReadAll(bytes);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].filename, "only this");
    EXPECT_EQ(records[0].project, "");
    EXPECT_EQ(records[0].postmob, "");
}

TEST(MediaDatabaseRegressions, FilesShorterThanAHeaderReadNoRecord) {
    for (size_t length = 0; length <= 13; ++length) {
        Bytes bytes = (kHeader + Hex("00000001 41")).substr(0, length);
        DatabaseHeader header;
        auto records = ReadAll(bytes, &header);
        EXPECT_EQ(records.size(), length > 12 ? 1u : 0u) << length;
    }
    // The count's missing bytes count as zero: "00 01" reads as 65,536.
    DatabaseHeader header;
    ReadAll(kHeader + Hex("0001"), &header);
    EXPECT_EQ(header.count, 65536);
}

TEST(MediaDatabaseRegressions, LittleEndianOnlyWhenItsCountFits) {
    // Absurd either way: stays big-endian, and reads what is there.
    const Bytes bytes = kHeader + Hex("ffffff7f") + Hex("0102030405060708 ff7f") + Bytes(20, 'z');
    DatabaseHeader header;
    auto records = ReadAll(bytes, &header);
    EXPECT_FALSE(header.littleEndian);
    EXPECT_TRUE(records.empty());
}

TEST(MediaDatabaseRegressions, RecordsAcrossTheStreamBufferReadWhole) {
    // 3,000 records of 250 bytes: about 750 KB, so records cross each 64 KB boundary.
    const int count = 3000;
    Bytes bytes = kHeader + BigEndian32Bytes(count);
    std::vector<Bytes> names;
    for (int i = 0; i < count; ++i) {
        Bytes name = "Clip " + std::to_string(i) + " " +
                     Bytes(200 + i % 17, static_cast<char>('a' + i % 26));
        names.push_back(name);
        bytes += BigEndian32Bytes(static_cast<uint32_t>(i)) +
                 BigEndian32Bytes(~static_cast<uint32_t>(i));
        bytes += BigEndian16Bytes(static_cast<uint16_t>(name.size())) + name;
        bytes += BigEndian16Bytes(6) + "Spot30" + Bytes(12, static_cast<char>(i));
    }
    auto records = ReadAll(bytes);
    ASSERT_EQ(records.size(), static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        ASSERT_EQ(records[i].filename, names[i]) << i;
        ASSERT_EQ(records[i].project, "Spot30") << i;
        ASSERT_EQ(records[i].premob.substr(0, 4), BigEndian32Bytes(static_cast<uint32_t>(i))) << i;
        ASSERT_EQ(records[i].postmob, Bytes(12, static_cast<char>(i))) << i;
    }
}

}  // namespace
}  // namespace mt::regressions

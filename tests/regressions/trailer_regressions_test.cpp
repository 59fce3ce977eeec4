// Media file trailers and "OMF1" resources with lengths and offsets at and past the edges.

#include <gtest/gtest.h>

#include <optional>

#include "byte_literals.h"
#include "catalogue/media_file_identification.h"
#include "platform/binary_stream.h"

namespace mt::regressions {
namespace {

std::optional<Bytes> Project(const Bytes& bytes) {
    MemoryFile file(bytes);
    return ReadProjectFromTrailer(file);
}

// 64 bytes: a name at 28; the 28-byte tail at 36 holds "_PJ" and, in its last four bytes,
// the offset field (28), whose low half is also the tail length.
const Bytes kTrailer =
    Bytes(28, 'x') + "Spot30" + Hex("0000") + "_PJ" + Bytes(21, '\0') + Hex("1c000000");

TEST(TrailerRegressions, OffsetFieldInTheLastFourBytes) {
    ASSERT_EQ(kTrailer.size(), 64u);
    EXPECT_EQ(Project(kTrailer), Bytes("Spot30"));
}

TEST(TrailerRegressions, NameFieldRunningPastTheEndOfAShortFile) {
    // 30 bytes: the tail of 28 at 2 holds "_PJ" and, in the last four bytes, the offset 28;
    // the 32-byte name field at 28 has two bytes, both NUL.
    const Bytes bytes = "xx_PJ" + Bytes(21, '\0') + Hex("1c00 0000");
    ASSERT_EQ(bytes.size(), 30u);
    EXPECT_EQ(Project(bytes), Bytes());
}

TEST(TrailerRegressions, TailLengthMinusOneOrZero) {
    EXPECT_EQ(Project("_PJ" + Bytes(21, '\0') + Hex("ffff0000")), std::nullopt);
    EXPECT_EQ(Project("_PJ" + Bytes(21, '\0') + Hex("00000000")), std::nullopt);
    EXPECT_EQ(Project("_PJ" + Bytes(21, '\0') + Hex("0080ffff")), std::nullopt);
}

TEST(TrailerRegressions, TailLongerThanTheFile) {
    Bytes bytes = kTrailer;
    bytes.replace(60, 2, Hex("4100"));  // 65 bytes of a 64-byte file
    EXPECT_EQ(Project(bytes), std::nullopt);
    bytes.replace(60, 2, Hex("4000"));  // the whole file: the marker is still there
    bytes.replace(62, 2, Hex("0000"));
    EXPECT_EQ(Project(bytes), std::nullopt);  // but the offset field now says 64: past the end
}

TEST(TrailerRegressions, MarkerEndingAtTheLastByte) {
    // The tail length "10 5f" (24,336) is the whole file, and "_PJ" its last three bytes:
    // the offset field would lie past the end.
    const Bytes bytes = Bytes(0x5F10 - 4, '\0') + Hex("10") + "_PJ";
    EXPECT_EQ(Project(bytes), std::nullopt);
    EXPECT_EQ(Project(Bytes(0x5F10 - 4, 'Q') + Hex("10") + "_PJ"), std::nullopt);
}

// 40 bytes: "_PJ" at 0, the offset field at 24, the tail length 40 at 36, "YZ" at 38.
Bytes FortyBytesWithOffset(const Bytes& offsetField) {
    return "_PJ" + Bytes(21, '\0') + offsetField + Bytes(8, 'n') + Hex("2800") + "YZ";
}

TEST(TrailerRegressions, NameAtTheLastByte) {
    const Bytes bytes = FortyBytesWithOffset(Hex("27000000"));
    ASSERT_EQ(bytes.size(), 40u);
    EXPECT_EQ(Project(bytes), Bytes("Z"));
}

TEST(TrailerRegressions, OffsetsAtAndPastTheEnd) {
    EXPECT_EQ(Project(FortyBytesWithOffset(Hex("28000000"))), std::nullopt);  // 40: the end
    EXPECT_EQ(Project(FortyBytesWithOffset(Hex("ffffff7f"))), std::nullopt);
    EXPECT_EQ(Project(FortyBytesWithOffset(Hex("ffffffff"))), std::nullopt);  // -1
    EXPECT_EQ(Project(FortyBytesWithOffset(Hex("00000080"))), std::nullopt);  // -2^31
    Bytes bytes = kTrailer;
    bytes.replace(60, 4, Hex("1c00ffff"));  // the tail length 28 is the low half of -65,508
    EXPECT_EQ(Project(bytes), std::nullopt);
}

TEST(TrailerRegressions, NameWithoutNulIsCutAt32Bytes) {
    const Bytes bytes =
        Bytes(40, 'A') + "_PJ" + Bytes(21, '\0') + Hex("00000000") + Hex("2000 0000");
    EXPECT_EQ(Project(bytes), Bytes(32, 'A'));
}

TEST(TrailerRegressions, FilesOfFourBytesOrFewer) {
    for (const Bytes& bytes : {Bytes(), Hex("04"), Hex("0400"), Hex("04005f"), Hex("04005f50"),
                               Bytes("_PJ") + Hex("00")}) {
        EXPECT_EQ(Project(bytes), std::nullopt) << bytes.size();
    }
}

// A fork with the resource 'OMF1' 1000 holding the bytes: data at 16, the map after it.
Bytes Omf1Fork(const Bytes& payload) {
    const auto dataLength = static_cast<uint32_t>(4 + payload.size());
    Bytes bytes = BigEndian32Bytes(16) + BigEndian32Bytes(16 + dataLength) +
                  BigEndian32Bytes(dataLength) + BigEndian32Bytes(50);
    bytes += BigEndian32Bytes(static_cast<uint32_t>(payload.size())) + payload;
    bytes += Bytes(24, '\0') + Hex("001c 0032") + Hex("0000") + "OMF1" + Hex("0000 000a");
    bytes += Hex("03e8 ffff 00000000 00000000");
    return bytes;
}

TEST(TrailerRegressions, Omf1ResourceShorterThanItsNameField) {
    EXPECT_EQ(ReadProjectFromOmf1Resource(Omf1Fork("")), Bytes());
    EXPECT_EQ(ReadProjectFromOmf1Resource(Omf1Fork("12345")), Bytes());
    EXPECT_EQ(ReadProjectFromOmf1Resource(Omf1Fork(Bytes(12, '1'))), Bytes());
    EXPECT_EQ(ReadProjectFromOmf1Resource(Omf1Fork(Bytes(12, '1') + "S")), Bytes("S"));
    EXPECT_EQ(ReadProjectFromOmf1Resource(Omf1Fork(Bytes(12, '1') + "Spot30" + Bytes(26, '\0'))),
              Bytes("Spot30"));
    EXPECT_EQ(ReadProjectFromOmf1Resource(Omf1Fork(Bytes(12, '1') + Bytes(50, 'L'))),
              Bytes(32, 'L'));
}

TEST(TrailerRegressions, Omf1ResourceWithItsLengthCut) {
    Bytes bytes = Omf1Fork(Bytes(12, '1') + "Spot30");
    bytes.replace(16, 4, Hex("00000013"));  // one byte more than the data holds
    EXPECT_EQ(ReadProjectFromOmf1Resource(bytes), std::nullopt);
    EXPECT_EQ(ReadProjectFromOmf1Resource(bytes.substr(0, bytes.size() - 1)), std::nullopt);
}

}  // namespace
}  // namespace mt::regressions

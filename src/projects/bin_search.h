#pragma once
// The search behind a bin: many byte strings looked for at once in a file read piece by
// piece, so that memory stays a fixed window plus the strings whatever the size of the file,
// and the file is read once for all of them.

#include <cstddef>
#include <functional>
#include <vector>

#include "platform/file_system.h"

namespace mt {

// The size of the pieces a search reads.
inline constexpr size_t kBinSearchWindow = size_t(1) << 20;

// For each needle, whether its bytes occur anywhere in file (an empty needle never does).
// Reads file once from its start in pieces of kBinSearchWindow bytes, each searched together
// with the last (longest needle - 1) bytes before it, so that no occurrence across two pieces
// is missed. Stops early once every needle is found, and at the first read that gives
// nothing (the end, or a file cut short). afterPiece, when given, runs after each piece.
std::vector<bool> FindEach(ReadableFile& file, const std::vector<Bytes>& needles,
                           const std::function<void()>& afterPiece = {});

}  // namespace mt

#include "projects/bin_class.h"

#include <algorithm>
#include <cstring>

namespace mt {

namespace {
constexpr size_t kIdSize = 8;
// Below this many searches a plain scan of the bin is cheaper than building the index.
constexpr int kSearchesBeforeIndex = 16;

uint64_t WindowAt(const char* p) {
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
}  // namespace

bool BinClass::Contains(const Bytes& id) {
    if (id.size() != kIdSize || s.size() < kIdSize) return s.find(id) != Bytes::npos;
    if (windows_.empty() && ++searches_ > kSearchesBeforeIndex) {
        windows_.reserve(s.size() - kIdSize + 1);
        for (size_t i = 0; i + kIdSize <= s.size(); ++i) windows_.push_back(WindowAt(&s[i]));
        std::sort(windows_.begin(), windows_.end());
    }
    if (windows_.empty()) return s.find(id) != Bytes::npos;
    return std::binary_search(windows_.begin(), windows_.end(), WindowAt(id.data()));
}

bool BinClass::Used(const MediaFile& media) {
    if (s.empty() && file && file->Exists()) {
        if (auto data = ReadWholeFile(file->fileSystem(), file->ShellPath())) {
            s = std::move(*data);
            windows_.clear();
            searches_ = 0;
        }
    }
    if (media.premob.empty()) return false;
    return Contains(media.premob);
}

void BinClass::AddMediaFiles(const MediaFileList& files) {
    for (const MediaFilePtr& media : files) {
        if (media && Used(*media)) MediaFiles.push_back(media);
        YieldToEventLoop();
    }
}

Bytes BinClass::Name() const { return file ? file->Name() : Bytes(); }

int BinClass::GetCount() { return CountMembersOnDisk(); }

std::string BinClass::DumpStatus() {
    return Name() + " - " + std::to_string(GetCount()) + " Files " + MegaString(GetSize());
}

void BinClass::CopyBin(const FolderItem& folder) {
    std::vector<std::string> lines{DateStamp() + " Copy Bin " + Name()};
    SetProgress(0);
    const size_t count = MediaFiles.size();
    size_t done = 0;
    bool errors = false;
    for (size_t i = 0; i < count && i < MediaFiles.size(); ++i) {
        MediaFilePtr media = MediaFiles[i];
        media->CopyFile(folder);
        if (!media->error.empty()) {
            lines.push_back(media->error);
            errors = true;
        }
        ++done;
        SetProgress(static_cast<double>(done) / static_cast<double>(count));
        YieldToEventLoop();
    }
    SetProgress(-1);
    lines.push_back(DateStamp() + " end ");
    lines.push_back("");
    SetLog(std::move(lines));
    if (errors) ShowMessageBox("There were some errors. See the log tab.");
}

}  // namespace mt

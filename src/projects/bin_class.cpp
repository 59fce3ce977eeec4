#include "projects/bin_class.h"

#include <algorithm>

#include "projects/bin_search.h"

namespace mt {

std::vector<bool> BinClass::Search(const std::vector<Bytes>& ids) {
    const bool anyId =
        std::any_of(ids.begin(), ids.end(), [](const Bytes& id) { return !id.empty(); });
    if (!file || !anyId) return std::vector<bool>(ids.size(), false);
    auto data = file->OpenData();
    if (!data) return std::vector<bool>(ids.size(), false);
    return FindEach(*data, ids, YieldToEventLoop);
}

bool BinClass::Used(const MediaFile& media) { return Search({media.premob}).front(); }

void BinClass::AddMediaFiles(const MediaFileList& files) {
    std::vector<Bytes> ids;
    ids.reserve(files.size());
    for (const MediaFilePtr& media : files) ids.push_back(media ? media->premob : Bytes());
    const std::vector<bool> used = Search(ids);
    for (size_t i = 0; i < files.size(); ++i) {
        if (used[i]) MediaFiles.push_back(files[i]);
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
    const CopyProgress within = ProgressWithinFile(done, count);
    for (size_t i = 0; i < count && i < MediaFiles.size(); ++i) {
        MediaFilePtr media = MediaFiles[i];
        media->CopyFile(folder, within);
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

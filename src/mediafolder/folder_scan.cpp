// The file-by-file scan of a media folder and of its "_sifted" subfolders.

#include "mediafolder/tarnwicker.h"
#include "platform/file_list.h"

namespace mt {

namespace {
bool IsMediaExtension(std::string_view name) {
    size_t dot = name.rfind('.');
    std::string_view extension = dot == std::string_view::npos ? name : name.substr(dot + 1);
    for (std::string_view known : {"omf", "wav", "aif", "sd2"}) {
        if (EqualsIgnoringCase(extension, known)) return true;
    }
    return false;
}
}  // namespace

void Tarnwicker::ReadFolders(bool includeMediaFolder) {
    if (includeMediaFolder) ReadAFolder(mediafolder);
    if (!mediafolder) return;
    FileList list(*mediafolder);
    for (int i = 0; i < list.Count(); ++i) {
        if (list.Directory(i) && EndsWithIgnoringCase(list.Name(i), kSiftedSuffix)) {
            ReadAFolder(list.Item(i));
        }
        YieldToEventLoop();
    }
}

bool Tarnwicker::ListedByDatabase(const Bytes& name,
                                  const std::unordered_set<Bytes>& entries) const {
    auto it = listedNames_.find(LowerAscii(name));
    if (it == listedNames_.end()) return false;
    // A record whose name differs in case names this very file only where the volume
    // ignores case: there, the record's own spelling is no entry of the listing.
    for (const Bytes& recorded : it->second) {
        if (recorded == name || !entries.count(recorded)) return true;
    }
    return false;
}

void Tarnwicker::ReadAFolder(const std::optional<FolderItem>& folder) {
    if (!folder) return;
    const Bytes folderName = folder->Name();
    FileList list(*folder);
    // In the media folder, the files that the database lists are catalogued from their
    // records, not a second time here.
    std::unordered_set<Bytes> entries;
    const bool inMediaFolder =
        !listedNames_.empty() && mediafolder && folder->ShellPath() == mediafolder->ShellPath();
    if (inMediaFolder) {
        for (int i = 0; i < list.Count(); ++i) entries.insert(list.Name(i));
    }
    for (int i = 0; i < list.Count(); ++i) {
        if (list.Visible(i) && !list.Directory(i) && IsMediaExtension(list.Name(i)) &&
            !(inMediaFolder && ListedByDatabase(list.Name(i), entries))) {
            auto media = std::make_shared<MediaFile>();
            media->filename = list.Name(i);
            media->file = list.Item(i);
            media->fileproject = media->GetProjectFromFile();
            media->project = *media->fileproject + "[" + folderName + "]";
            projectdict.Set(media->project, media->project);
            media->informationsource = "F";
            MediaFiles.push_back(std::move(media));
        }
        YieldToEventLoop();
    }
}

}  // namespace mt

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

void Tarnwicker::ReadAFolder(const std::optional<FolderItem>& folder) {
    if (!folder) return;
    const Bytes folderName = folder->Name();
    FileList list(*folder);
    for (int i = 0; i < list.Count(); ++i) {
        if (list.Visible(i) && !list.Directory(i) && IsMediaExtension(list.Name(i))) {
            auto media = std::make_shared<MediaFile>();
            media->filename = list.Name(i);
            media->file = list.Item(i);
            media->project = media->GetProjectFromFile() + "[" + folderName + "]";
            projectdict.Set(folderName, media->project);
            media->informationsource = "F";
            MediaFiles.push_back(std::move(media));
        }
        YieldToEventLoop();
    }
}

}  // namespace mt

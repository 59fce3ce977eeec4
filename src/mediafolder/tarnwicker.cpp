#include "mediafolder/tarnwicker.h"

#include <unordered_map>

#include "mediafolder/media_database_reader.h"
#include "platform/binary_stream.h"

namespace mt {

namespace {
// The database opened for reading; nullopt, with error set, when it cannot be opened.
std::optional<BinaryStream> OpenDatabase(const FolderItem& database, std::string& error) {
    auto data = database.OpenData();
    if (!data) {
        error = "cannot read database";
        return std::nullopt;
    }
    return BinaryStream(std::move(data));
}
}  // namespace

Tarnwicker::Tarnwicker(std::optional<FolderItem> item, bool isFolder) {
    if (isFolder) {
        mediafolder = std::move(item);
        CheckMediaFolder();
    } else {
        myvolume = std::move(item);
        CheckVolume();
    }
}

void Tarnwicker::CheckVolume() {
    mediafolder.reset();
    databasefile.reset();
    databasecount = 0;
    error.clear();
    if (!myvolume) {
        error = "no volume";
        return;
    }
    mediafolder = myvolume->Child(Bytes(kMediaFolderName));
    CheckMediaFolder();
}

void Tarnwicker::CheckMediaFolder() {
    // A link in place of the media folder is not followed: it counts as no media folder.
    if (!mediafolder || !mediafolder->IsFolder()) {
        error = "no OMFI MediaFolder";
        return;
    }
    databasefile = mediafolder->Child(Bytes(kDatabaseName));
    if (!databasefile->Exists()) {
        error = "no Media Database";
        return;
    }
    auto stream = OpenDatabase(*databasefile, error);
    if (!stream) return;
    DatabaseHeader header = ReadDatabaseHeader(*stream);
    databasecount = header.count;
    databaseLittleEndian = header.littleEndian;
    if (static_cast<int64_t>(mediafolder->Count()) < static_cast<int64_t>(databasecount) + 2) {
        error = "database not up to date";
    }
}

void Tarnwicker::ReadDatabase() {
    projectdict.Clear();
    MediaFiles.clear();
    listedNames_.clear();
    if (!databasefile || !databasefile->Exists()) {
        ReadFolders(true);
        return;
    }
    auto stream = OpenDatabase(*databasefile, error);
    if (!stream) return;
    DatabaseHeader header{databasecount, databaseLittleEndian};
    ReadDatabaseRecords(*stream, header, [&](DatabaseRecord&& record) {
        projectdict.Set(record.project, record.project);
        auto media = std::make_shared<MediaFile>();
        media->file = mediafolder->Child(record.filename);
        media->premob = std::move(record.premob);
        media->filename = std::move(record.filename);
        media->project = std::move(record.project);
        media->postmob = std::move(record.postmob);
        media->informationsource = "D";
        media->online = true;
        if (media->file->Exists()) {
            listedNames_[LowerAscii(media->file->Name())].push_back(media->file->Name());
        } else {
            error = "files missing";
        }
        MediaFiles.push_back(std::move(media));
        YieldToEventLoop();
    });
    Scanned(true);
    ReadFolders(true);
}

std::vector<Bytes> Tarnwicker::GetProjectList() { return DictExtension::List(projectdict); }

MediaFileList Tarnwicker::GetFilesForProject(const Bytes& name) {
    MediaFileList result;
    for (size_t i = 0; i < MediaFiles.size(); ++i) {
        const MediaFilePtr& member = MediaFiles[i];
        if (name.empty() || EqualsIgnoringCase(member->project, name)) result.push_back(member);
        YieldToEventLoop();
    }
    return result;
}

std::vector<MediaFileList> Tarnwicker::GetFilesForProjects(const std::vector<Bytes>& names) {
    std::vector<MediaFileList> result(names.size());
    std::unordered_map<Bytes, std::vector<size_t>> wanted;
    for (size_t k = 0; k < names.size(); ++k) wanted[LowerAscii(names[k])].push_back(k);
    for (size_t i = 0; i < MediaFiles.size(); ++i) {
        const MediaFilePtr& member = MediaFiles[i];
        if (auto it = wanted.find(LowerAscii(member->project)); it != wanted.end()) {
            for (size_t k : it->second) result[k].push_back(member);
        }
        YieldToEventLoop();
    }
    return result;
}

std::string Tarnwicker::Name() const { return myvolume ? myvolume->Name() : std::string(); }

std::string Tarnwicker::DumpStatus() {
    std::string line;
    if (myvolume) {
        line = myvolume->Name();
    } else if (mediafolder) {
        line = mediafolder->ShellPath();
    } else {
        return {};
    }
    line += " - " + std::to_string(databasecount) + " Files " + MegaString(GetSize());
    if (!error.empty()) line += " - " + error;
    return line;
}

}  // namespace mt

#pragma once
// One media folder and its catalogue: the folder "OMFI MediaFiles" at the top of a volume,
// or a folder of media files that the user added. It locates and judges the folder and its
// media database when made, reads its media files into MediaFiles (from the database, then
// file by file), answers which projects it holds, and sifts them into folders of their own.

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "catalogue/media_file.h"
#include "catalogue/media_names.h"
#include "mediafolder/dict_extension.h"

namespace mt {

class Tarnwicker : public Worker {
public:
    // isFolder false: item is a mounted volume; true: item is a media folder the user added.
    // Runs the checks, which leave their verdict in error.
    Tarnwicker(std::optional<FolderItem> item, bool isFolder);

    // Locates and judges the media database: "no OMFI MediaFolder", "no Media Database",
    // "cannot read database" or "database not up to date" in error; empty when usable.
    void CheckMediaFolder();
    // Replaces the catalogue: the database's records, then the folder scan of the media
    // folder and its "_sifted" subfolders, which adds only what the records do not list
    // (each file is catalogued once). Without a database file, the folder scan alone.
    void ReadDatabase();
    // Scans the "_sifted" subfolders, and the media folder itself first when asked.
    void ReadFolders(bool includeMediaFolder);
    // Catalogues the media files lying directly in folder, each under the project read from
    // it followed by the folder's name in brackets; every such project enters projectdict.
    // In the media folder, files that the database's records name (ignoring letter case) are
    // left to those records. Appends; clears nothing.
    void ReadAFolder(const std::optional<FolderItem>& folder);
    // The project names of the folder, sorted ignoring letter case.
    std::vector<Bytes> GetProjectList();
    // The members of the project (ignoring letter case); every member for the empty name.
    MediaFileList GetFilesForProject(const Bytes& name);
    // The members of each project (ignoring letter case), in one pass over the catalogue.
    // Unlike GetFilesForProject, the empty name gives only the members whose project is
    // empty: this is how projects are built and sifted.
    std::vector<MediaFileList> GetFilesForProjects(const std::vector<Bytes>& names);
    // Sifts every project of the folder that is not sifted yet into its own folder.
    void Sift();
    // The volume's name; empty for a folder that the user added.
    std::string Name() const;
    bool Scanned() const { return pscanned; }
    void Scanned(bool value) { pscanned = value; }
    // "<name or path> - <database count> Files <size>[ - <error>]".
    std::string DumpStatus();

    std::optional<FolderItem> myvolume;
    std::optional<FolderItem> mediafolder;
    std::optional<FolderItem> databasefile;
    int32_t databasecount = 0;
    bool databaseLittleEndian = false;
    std::string error;
    CaseInsensitiveDictionary projectdict;

private:
    void CheckVolume();
    bool pscanned = false;
    // Whether the entry of that name in the media folder is a file that a database record
    // names (the record's name equals it, or equals it ignoring case and stands for it on a
    // volume that ignores case); entries holds every name of the folder's listing.
    bool ListedByDatabase(const Bytes& name, const std::unordered_set<Bytes>& entries) const;
    // The names of the records whose files exist, by their folded name.
    std::unordered_map<Bytes, std::vector<Bytes>> listedNames_;
};

using TarnwickerPtr = std::shared_ptr<Tarnwicker>;

}  // namespace mt

// Writes a small sample volume for trying MacTarnwick by hand:
//   DIR/Media/OMFI MediaFiles   media files of the projects Spot30 and Trailer, the databases
//   DIR/Scene 12.avb            a bin that uses three of them
//   DIR/Other                   loose media files, for "--folder"

#include <cstdio>
#include <string>
#include <vector>

#include "fixtures/database_builders.h"
#include "fixtures/media_files.h"

using namespace mt::fixtures;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: mactarnwick-sample-volume DIR\n");
        return 2;
    }
    const std::string root = MakeFolder(argv[1]);
    const std::string volume = MakeVolume(root, "Media");
    const std::string media = MakeMediaFolder(volume);
    struct Clip {
        const char* name;
        const char* project;
        size_t megabytes;
    };
    const std::vector<Clip> clips = {
        {"Spot30 V1 01.omf", "Spot30", 3},   {"Spot30 A1 01.omf", "Spot30", 1},
        {"Spot30 V1 02.omf", "Spot30", 2},   {"Trailer V1 01.omf", "Trailer", 4},
        {"Trailer A1 01.omf", "Trailer", 1},
    };
    std::vector<DatabaseRecord> records;
    for (size_t i = 0; i < clips.size(); ++i) {
        WriteMediaFile(media + "/" + clips[i].name, clips[i].project, clips[i].megabytes << 20);
        records.push_back({MobId(static_cast<uint32_t>(i + 1)), clips[i].name, clips[i].project});
    }
    WriteDatabase(media + "/" + std::string(mt::kDatabaseName), records);
    // The editing system keeps a second database beside the first; MacTarnwick only counts it.
    WriteFileBytes(media + "/msmMMOB.mdb", Payload(4096));
    WriteBin(root + "/Scene 12.avb", {records[0].mobId, records[2].mobId, records[3].mobId});
    const std::string other = MakeFolder(root + "/Other");
    WriteMediaFile(other + "/Interview 01.wav", "Interviews", 1 << 20);
    WriteMediaFile(other + "/Interview 02.wav", "Interviews", 1 << 20);
    std::printf("Sample volume: %s/Media\nSample bin:    %s/Scene 12.avb\nLoose folder:  %s\n",
                root.c_str(), root.c_str(), other.c_str());
    return 0;
}

// Measures the catalogue's hot paths on a generated volume and prints each time as a ratio
// against a floor measured in the same run: the system calls or memory passes that the
// operation cannot avoid.
//
//   mactarnwick-bench [FILES] [PROJECTS]

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "mediafolder/tarnwicker.h"
#include "projects/bin_class.h"
#include "projects/volume_scan.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(const std::function<void()>& work) {
    auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void Report(const char* name, double measured, double floor) {
    std::printf("%-28s %9.1f ms   floor %9.1f ms   ratio %6.2f\n", name, measured * 1e3,
                floor * 1e3, floor > 0 ? measured / floor : 0.0);
}

void PutLE16(std::string& s, int v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
void PutLE32(std::string& s, int v) {
    for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}
void PutBE16(std::string& s, int v) {
    s += static_cast<char>((v >> 8) & 0xFF);
    s += static_cast<char>(v & 0xFF);
}
void PutBE32(std::string& s, int v) {
    for (int i = 3; i >= 0; --i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::string MediaBytes(const std::string& project, size_t payload) {
    std::string data(payload, '\x11');
    std::string name = project;
    name.resize(32, '\0');
    int nameAt = static_cast<int>(data.size());
    data += name;
    std::string tail = "_PJ" + std::string(21, '\0');
    PutLE32(tail, nameAt);
    tail += std::string(4, '\0');
    PutLE16(tail, static_cast<int>(tail.size()) + 4);
    tail += std::string(2, '\0');
    return data + tail;
}

std::string MobId(int i) {
    std::string id;
    PutBE32(id, 0x4D540000 + i);
    PutBE32(id, i * 2654435761u);
    return id;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace

int main(int argc, char** argv) {
    const int files = argc > 1 ? std::atoi(argv[1]) : 20000;
    const int projects = argc > 2 ? std::atoi(argv[2]) : 200;
    char pattern[] = "/tmp/mactarnwick-bench-XXXXXX";
    if (!mkdtemp(pattern)) return 1;
    const std::string root = pattern;
    const std::string volume = root + "/Media";
    const std::string media = volume + "/" + std::string(mt::kMediaFolderName);
    std::filesystem::create_directories(media);

    std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::printf("%d media files in %d projects\n", files, projects);
    std::string database(8, '\0');
    PutBE32(database, files);
    std::string bin = "bin header";
    for (int i = 0; i < files; ++i) {
        std::string project = "Project" + std::to_string(i % projects);
        std::string name = "clip" + std::to_string(i) + ".omf";
        WriteFile(media + "/" + name, MediaBytes(project, 256));
        database += MobId(i);
        PutBE16(database, static_cast<int>(name.size()));
        database += name;
        PutBE16(database, static_cast<int>(project.size()));
        database += project;
        database += std::string(12, '\0');
        if (i % 10 == 0) bin += "filler" + MobId(i);
    }
    bin.resize(bin.size() + (8 << 20), 'b');  // bins carry much besides the ids
    WriteFile(media + "/" + std::string(mt::kDatabaseName), database);
    WriteFile(root + "/bench.avb", bin);

    // Folder scan: open, read the tail and close every file, against the same system calls.
    double scanFloor = Seconds([&] {
        DIR* dir = opendir(media.c_str());
        char buffer[128];
        while (dirent* d = readdir(dir)) {
            int fd = openat(dirfd(dir), d->d_name, O_RDONLY);
            if (fd < 0) continue;
            struct stat st;
            fstat(fd, &st);
            if (st.st_size > 4) pread(fd, buffer, 4, st.st_size - 4);
            if (st.st_size > 64) pread(fd, buffer, 64, st.st_size - 64);
            pread(fd, buffer, 32, 0);
            close(fd);
        }
        closedir(dir);
    });
    double floor = scanFloor;
    auto folder = std::make_shared<mt::Tarnwicker>(
        mt::FolderItem::Volume(volume, mt::RealFileSystem()), false);
    double measured = Seconds([&] {
        folder->MediaFiles.clear();
        folder->projectdict.Clear();
        folder->ReadFolders(true);
    });
    Report("folder scan", measured, floor);

    // Database read: the records plus an existence check per file.
    floor = Seconds([&] {
                std::ifstream in(media + "/" + std::string(mt::kDatabaseName), std::ios::binary);
                std::string all((std::istreambuf_iterator<char>(in)), {});
                struct stat st;
                for (int i = 0; i < files; ++i) {
                    std::string path = media + "/clip" + std::to_string(i) + ".omf";
                    stat(path.c_str(), &st);
                }
            }) +
            scanFloor;
    measured = Seconds([&] { folder->ReadDatabase(); });
    Report("database read + scan", measured, floor);

    // Project building: one pass over the members.
    std::vector<mt::TarnwickerPtr> folders{folder};
    mt::CaseInsensitiveDictionary names;
    for (const auto& name : folder->GetProjectList()) names.Set(name, name);
    floor = Seconds([&] {
        std::unordered_map<std::string, std::vector<mt::MediaFilePtr>> groups;
        for (const auto& m : folder->MediaFiles) groups[m->project].push_back(m);
    });
    measured = Seconds([&] { mt::BuildProjects(names, folders, nullptr); });
    Report("project building", measured, floor);

    // Bin matching: every member against the bin, against one pass over the bin's bytes.
    floor = Seconds([&] {
        std::ifstream in(root + "/bench.avb", std::ios::binary);
        std::string all((std::istreambuf_iterator<char>(in)), {});
        volatile size_t found = all.find("nothing like this");
        (void)found;
    });
    mt::BinClass matcher;
    matcher.file = mt::FolderItem::OnItsVolume(root + "/bench.avb", mt::RealFileSystem());
    measured = Seconds([&] { matcher.AddMediaFiles(folder->MediaFiles); });
    Report("bin matching", measured, floor);
    std::printf("  bin uses %zu files\n", matcher.MediaFiles.size());

    // Sift of every file against plain renames of as many files.
    const std::string scratch = media + "/scratch" + std::string(mt::kSiftedSuffix);
    std::filesystem::create_directories(scratch);
    floor = Seconds([&] {
                for (int i = 0; i < files; ++i) {
                    std::string name = "/clip" + std::to_string(i) + ".omf";
                    rename((media + name).c_str(), (scratch + name).c_str());
                }
                for (int i = 0; i < files; ++i) {
                    std::string name = "/clip" + std::to_string(i) + ".omf";
                    rename((scratch + name).c_str(), (media + name).c_str());
                }
            }) /
            2;
    folder->ReadDatabase();
    measured = Seconds([&] { folder->Sift(); });
    Report("volume sift", measured, floor);

    // Copy of large media files against a plain read/write copy of the same files.
    const std::string bigVolume = root + "/Big";
    const std::string bigMedia = bigVolume + "/" + std::string(mt::kMediaFolderName);
    std::filesystem::create_directories(bigMedia);
    const int bigFiles = 16;
    for (int i = 0; i < bigFiles; ++i) {
        WriteFile(bigMedia + "/take" + std::to_string(i) + ".omf", MediaBytes("Big", 16 << 20));
    }
    auto big = std::make_shared<mt::Tarnwicker>(
        mt::FolderItem::Volume(bigVolume, mt::RealFileSystem()), false);
    big->ReadDatabase();
    const std::string floorTarget = root + "/floor-copy";
    std::filesystem::create_directories(floorTarget);
    auto plainCopies = [&](bool flush) {
        std::filesystem::remove_all(floorTarget);
        std::filesystem::create_directories(floorTarget);
        std::vector<char> buffer(1 << 20);
        for (const auto& m : big->MediaFiles) {
            int in = open(m->file->ShellPath().c_str(), O_RDONLY);
            int out = open((floorTarget + "/" + m->filename).c_str(), O_WRONLY | O_CREAT, 0644);
            ssize_t n;
            while ((n = read(in, buffer.data(), buffer.size())) > 0)
                (void)!write(out, buffer.data(), n);
            if (flush) fsync(out);
            close(in);
            close(out);
        }
    };
    floor = Seconds([&] { plainCopies(false); });
    double flushedFloor = Seconds([&] { plainCopies(true); });
    mt::Project project("Big");
    project.AddMediaFiles(big->MediaFiles);
    measured = Seconds([&] {
        project.CopyProject(mt::FolderItem::OnItsVolume(root + "/copy", mt::RealFileSystem()));
    });
    Report("project copy (16 x 16 MB)", measured, floor);
    Report("  against flushed copies", measured, flushedFloor);
    std::printf(
        "  each copy is flushed to the disk before it gets its name, as the second floor\n");

    std::filesystem::remove_all(root);
    return 0;
}

#include "cli/cli.h"

#include <filesystem>
#include <map>
#include <ostream>

#include "platform/hooks.h"
#include "projects/bin_class.h"
#include "projects/volume_scan.h"

namespace mt {

namespace {

constexpr const char* kUsage =
    "usage: mactarnwick-cli COMMAND [ARGUMENTS] [--folder DIR]... [VOLUME]...\n"
    "\n"
    "Commands:\n"
    "  scan                       list folders, projects, sifted projects and files\n"
    "  sift-volume                sift every project of every given folder\n"
    "  sift-project NAME          sift one project of the Projects list\n"
    "  unsift-project NAME        unsift one project of the Sifted Projects list\n"
    "  copy-project NAME TARGET   copy one project's media files into TARGET\n"
    "  copy-bin BIN TARGET        copy the media files that BIN uses into TARGET\n"
    "  bin BIN                    list the media files that BIN uses\n"
    "\n"
    "VOLUME is the top folder of a volume holding \"OMFI MediaFiles\"; --folder adds a\n"
    "folder of media files as it is. At least one of them is needed.\n";

struct Command {
    std::string name;
    size_t arguments;
};

const std::vector<Command> kCommands = {
    {"scan", 0},         {"sift-volume", 0}, {"sift-project", 1}, {"unsift-project", 1},
    {"copy-project", 2}, {"copy-bin", 2},    {"bin", 1},
};

std::string AbsolutePath(const std::string& path) {
    std::error_code ec;
    auto absolute = std::filesystem::absolute(std::filesystem::path(path), ec);
    std::string result = (ec ? std::filesystem::path(path) : absolute).lexically_normal().string();
    while (result.size() > 1 && result.back() == '/') result.pop_back();
    return result;
}

// Collects the message boxes shown while it lives, printing each as it comes.
class MessagePrinter {
public:
    explicit MessagePrinter(std::ostream& out) : saved_(CurrentHooks().messageBox) {
        CurrentHooks().messageBox = [this, &out](const std::string& text) {
            out << "message\t" << CliField(text) << "\n";
            ++shown_;
        };
    }
    ~MessagePrinter() { CurrentHooks().messageBox = saved_; }
    MessagePrinter(const MessagePrinter&) = delete;
    MessagePrinter& operator=(const MessagePrinter&) = delete;
    int shown() const { return shown_; }

private:
    std::function<void(const std::string&)> saved_;
    int shown_ = 0;
};

void PrintLog(std::ostream& out, const Worker& worker) {
    for (const std::string& line : worker.loglines) out << "log\t" << CliField(line) << "\n";
}

std::string OnlineCell(MediaFile& media, double size) {
    if (size > 0) return media.online ? "X" : "";
    return "-";
}

void PrintFileRow(std::ostream& out, MediaFile& media) {
    double size = media.GetSize();
    out << "file\t" << CliField(media.GetVolume()) << "\t" << CliField(media.project) << "\t"
        << CliField(media.GetName()) << "\t" << CliField(media.GetDateString()) << "\t"
        << Worker::MegaString(size) << "\t" << media.GetInformationSource() << "\t"
        << OnlineCell(media, size) << "\n";
}

// The window's state after a scan: the folder rows and the two project lists.
struct Catalogue {
    std::vector<TarnwickerPtr> folders;
    ProjectLists lists;

    void Scan(bool force) {
        CaseInsensitiveDictionary names = ReadVolumeCatalogues(folders, force, nullptr);
        lists = BuildProjects(names, folders, nullptr);
    }
};

ProjectPtr FindProject(const std::vector<ProjectPtr>& list, const std::string& name) {
    for (const auto& project : list) {
        if (project->projectname == name) return project;
    }
    for (const auto& project : list) {
        if (EqualsIgnoringCase(project->projectname, name)) return project;
    }
    return nullptr;
}

int ExitStatus(const MessagePrinter& messages) { return messages.shown() > 0 ? 1 : 0; }

}  // namespace

std::string CliField(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '\t': out += "\\t"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            default: out += c;
        }
    }
    return out;
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    auto usage = [&err](const std::string& problem) {
        if (!problem.empty()) err << "mactarnwick-cli: " << problem << "\n";
        err << kUsage;
        return 2;
    };
    if (args.empty()) return usage("");
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        out << kUsage;
        return 0;
    }
    const Command* command = nullptr;
    for (const Command& c : kCommands) {
        if (c.name == args[0]) command = &c;
    }
    if (!command) return usage("unknown command \"" + args[0] + "\"");
    if (args.size() < 1 + command->arguments) {
        return usage(command->name + " needs " + std::to_string(command->arguments) +
                     " argument(s)");
    }
    std::vector<std::string> operands(args.begin() + 1, args.begin() + 1 + command->arguments);
    std::vector<std::string> volumes, folders;
    for (size_t i = 1 + command->arguments; i < args.size(); ++i) {
        if (args[i] == "--folder") {
            if (i + 1 >= args.size()) return usage("--folder needs a folder");
            folders.push_back(args[++i]);
        } else if (args[i].rfind("--", 0) == 0) {
            return usage("unknown option \"" + args[i] + "\"");
        } else {
            volumes.push_back(args[i]);
        }
    }
    if (volumes.empty() && folders.empty()) return usage("no volume or folder given");

    Catalogue catalogue;
    for (const auto& volume : volumes) {
        catalogue.folders.push_back(std::make_shared<Tarnwicker>(
            FolderItem::Volume(AbsolutePath(volume), RealFileSystem()), false));
    }
    for (const auto& folder : folders) {
        catalogue.folders.push_back(std::make_shared<Tarnwicker>(
            FolderItem::OnItsVolume(AbsolutePath(folder), RealFileSystem()), true));
    }
    catalogue.Scan(false);

    const std::string& name = command->name;
    if (name == "scan") {
        for (const auto& folder : catalogue.folders) {
            out << "volume\t" << CliField(folder->DumpStatus()) << "\n";
        }
        for (const auto& project : catalogue.lists.projects) {
            out << "project\t" << CliField(project->DumpStatus()) << "\n";
        }
        for (const auto& project : catalogue.lists.siftedProjects) {
            out << "sifted\t" << CliField(project->DumpStatus()) << "\n";
        }
        for (const auto& folder : catalogue.folders) {
            for (const auto& media : folder->MediaFiles) PrintFileRow(out, *media);
        }
        return 0;
    }

    MessagePrinter messages(out);
    if (name == "sift-volume") {
        for (const auto& folder : catalogue.folders) {
            folder->Sift();
            PrintLog(out, *folder);
        }
        catalogue.Scan(true);
        return ExitStatus(messages);
    }
    if (name == "sift-project" || name == "unsift-project" || name == "copy-project") {
        bool unsift = name == "unsift-project";
        ProjectPtr project = FindProject(
            unsift ? catalogue.lists.siftedProjects : catalogue.lists.projects, operands[0]);
        if (!project) {
            ShowMessageBox("No Project selected");
            return ExitStatus(messages);
        }
        if (name == "sift-project") {
            project->SiftProject();
        } else if (unsift) {
            project->UnsiftProject();
        } else {
            project->CopyProject(
                FolderItem::OnItsVolume(AbsolutePath(operands[1]), RealFileSystem()));
        }
        PrintLog(out, *project);
        return ExitStatus(messages);
    }

    // Bins are matched against every given folder, as if all were selected.
    auto bin = std::make_shared<BinClass>();
    bin->file = FolderItem::OnItsVolume(AbsolutePath(operands[0]), RealFileSystem());
    for (const auto& folder : catalogue.folders) {
        bin->AddMediaFiles(folder->GetFilesForProject(""));
    }
    if (name == "bin") {
        out << "bin\t" << CliField(bin->DumpStatus()) << "\n";
        for (const auto& media : bin->MediaFiles)
            out << "file\t" << CliField(media->filename) << "\n";
        return 0;
    }
    bin->CopyBin(FolderItem::OnItsVolume(AbsolutePath(operands[1]), RealFileSystem()));
    PrintLog(out, *bin);
    return ExitStatus(messages);
}

}  // namespace mt

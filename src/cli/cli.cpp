#include "cli/cli.h"

#include <deque>
#include <ostream>

#include "cli/terminal_progress.h"
#include "platform/hooks.h"
#include "session/picked_path.h"
#include "session/session.h"

#ifndef MT_VERSION
#define MT_VERSION "unknown"
#endif

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
    "folder of media files as it is. At least one of them is needed.\n"
    "mactarnwick-cli --version prints the version.\n";

struct Command {
    std::string name;
    size_t arguments;
};

const std::vector<Command> kCommands = {
    {"scan", 0},         {"sift-volume", 0}, {"sift-project", 1}, {"unsift-project", 1},
    {"copy-project", 2}, {"copy-bin", 2},    {"bin", 1},
};

void PrintLines(std::ostream& out, const std::string& kind, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) out << kind << "\t" << CliField(line) << "\n";
}

// Prints each message box as it is shown; the progress line makes way for it.
class MessagePrinter {
public:
    MessagePrinter(std::ostream& out, TerminalProgress& progress)
        : saved_(CurrentHooks().messageBox) {
        CurrentHooks().messageBox = [this, &out, &progress](const std::string& text) {
            progress.Clear();
            PrintLines(out, "message", {text});
            out.flush();
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

// Prints each log block as the session appends it. The block comes from the worker the
// command runs next; its lines are printed as that worker made them, names as bytes.
class LogPrinter : public SessionObserver {
public:
    LogPrinter(std::ostream& out, TerminalProgress& progress) : out_(out), progress_(progress) {}
    // The workers whose blocks the next command appends, in the order it runs them.
    void Expect(std::vector<const Worker*> workers) {
        expected_.assign(workers.begin(), workers.end());
    }
    void LogAppended(const std::string& text) override {
        progress_.Clear();
        if (!expected_.empty()) {
            PrintLines(out_, "log", expected_.front()->loglines);
            expected_.pop_front();
        } else {
            std::vector<std::string> lines;
            for (size_t start = 0; start < text.size();) {
                size_t end = text.find('\n', start);
                if (end == std::string::npos) end = text.size();
                lines.push_back(text.substr(start, end - start));
                start = end + 1;
            }
            PrintLines(out_, "log", lines);
        }
        out_.flush();
    }

private:
    std::ostream& out_;
    TerminalProgress& progress_;
    std::deque<const Worker*> expected_;
};

// Selects the project of that name in the list (none when there is no such project) and
// returns it.
ProjectPtr SelectProject(Session& session, ListId list, const std::string& name) {
    std::optional<size_t> row = session.FindProjectRow(list, name);
    session.SetSelection(list, row ? std::vector<size_t>{*row} : std::vector<size_t>{});
    if (!row) return nullptr;
    const auto& rows =
        list == ListId::Projects ? session.projectRows() : session.siftedProjectRows();
    return rows[*row].project;
}

Chooser Answer(const std::string& path) {
    return [path](const std::string&) { return std::optional<std::string>(path); };
}

void PrintScan(std::ostream& out, const Session& session) {
    for (const auto& row : session.volumeRows()) {
        PrintLines(out, "volume", {row.folder->DumpStatus()});
    }
    for (const auto& row : session.projectRows()) {
        PrintLines(out, "project", {row.project->DumpStatus()});
    }
    for (const auto& row : session.siftedProjectRows()) {
        PrintLines(out, "sifted", {row.project->DumpStatus()});
    }
    for (const auto& row : session.volumeRows()) {
        for (const MediaFilePtr& media : row.folder->MediaFiles) {
            const FileRow file = FileRowOfBytes(*media);
            out << "file";
            for (const std::string& cell : file.cells) out << "\t" << CliField(cell);
            out << "\n";
        }
    }
}

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

std::string CliVersion() { return MT_VERSION; }

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           bool errIsTerminal) {
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
    if (args[0] == "--version") {
        out << "mactarnwick-cli " << CliVersion() << "\n";
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

    FileSystem& fs = RealFileSystem();
    // The volumes named on the command line stand for the mounted volumes; no log is saved.
    Session session(fs,
                    [&fs, &volumes] {
                        std::vector<FolderItem> items;
                        for (const auto& volume : volumes) {
                            items.push_back(FolderItem::Volume(ResolvePicked(fs, volume), fs));
                        }
                        return items;
                    },
                    {});
    TerminalProgress progress(err, errIsTerminal);
    session.SetProgressBar(&progress);
    session.SetStatusLabel(&progress);
    MessagePrinter messages(out, progress);
    LogPrinter log(out, progress);
    session.SetObserver(&log);

    session.BuildVolumeList();
    if (folders.empty()) {
        session.FirstScan();
    } else {
        session.AddFolders(folders);
    }

    const std::string& name = command->name;
    if (name == "scan") {
        progress.Clear();
        PrintScan(out, session);
    } else if (name == "sift-volume") {
        // Every folder is selected, as listed.
        std::vector<const Worker*> sifted;
        for (const auto& row : session.volumeRows()) sifted.push_back(row.folder.get());
        log.Expect(sifted);
        session.SiftVolumes();
    } else if (name == "sift-project" || name == "copy-project") {
        ProjectPtr project = SelectProject(session, ListId::Projects, operands[0]);
        if (project) log.Expect({project.get()});
        if (name == "sift-project") {
            session.SiftProject();
        } else {
            session.CopyProject(Answer(operands[1]));
        }
    } else if (name == "unsift-project") {
        ProjectPtr project = SelectProject(session, ListId::SiftedProjects, operands[0]);
        if (project) log.Expect({project.get()});
        session.UnsiftProject();
    } else {
        // Bins are matched against every given folder, all of them selected.
        session.AddBinFile(operands[0]);
        BinClassPtr bin = session.binRows().empty() ? nullptr : session.binRows().back().bin;
        if (!bin) {
            // The session has said why in a message.
        } else if (name == "bin") {
            progress.Clear();
            PrintLines(out, "bin", {bin->DumpStatus()});
            for (const auto& media : bin->MediaFiles) PrintLines(out, "file", {media->filename});
        } else {
            log.Expect({bin.get()});
            session.CopyBin(Answer(operands[1]));
        }
    }
    progress.Clear();
    session.SetObserver(nullptr);
    session.SetProgressBar(nullptr);
    session.SetStatusLabel(nullptr);
    return messages.shown() > 0 ? 1 : 0;
}

}  // namespace mt

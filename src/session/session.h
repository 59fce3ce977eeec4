#pragma once
// Session: the state behind one main window and everything its controls do, without a
// window. It holds the rows of the Volumes, Projects, Sifted Projects and Bins lists with
// their selections, the file rows, the enabled state of the buttons, the log book and the
// busy guard, and runs the commands on the selected rows. The window maps it onto widgets;
// mactarnwick-cli drives the same object headlessly. Qt-free.
//
// Every entry point is guarded: while one command runs (including while it yields to the
// event loop), a second one is refused with Outcome::Refused and the status label says why;
// nothing starts inside another. A failure inside a command ends that command with a message
// box, never the application. Message boxes go through ShowMessageBox, yields through
// YieldToEventLoop (platform/hooks.h).
//
// Row texts, file cells, status texts and log text are for display (UTF-8, each name or line
// decoded on its own); the objects behind the rows keep names and paths as bytes. What the
// user picks (a folder, a bin, a copy target) is resolved once, so a link the user chose
// works. The catalogue objects of the rows reach the disk and the widgets through the
// session: use them only while it lives.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "platform/folder_item.h"
#include "platform/hooks.h"
#include "projects/bin_class.h"
#include "projects/project.h"
#include "session/button_rule.h"
#include "session/file_row.h"
#include "session/log_book.h"
#include "session/relay_widgets.h"
#include "session/scan_cache.h"
#include "session/session_observer.h"

namespace mt {

// The mounted volumes to list when the window opens: the machine's in the application,
// folders standing in for volumes in tests and in mactarnwick-cli.
using VolumeSource = std::function<std::vector<FolderItem>()>;

// Asks the user for a folder or a file, showing the prompt; nullopt when the user cancels.
// The path it gives is resolved once (a symbolic link the user chose is followed).
using Chooser = std::function<std::optional<std::string>(const std::string& prompt)>;

enum class Outcome {
    Done,       // the command ran to its end (also when it reported failures)
    Refused,    // another command was running; nothing happened
    Cancelled,  // the user cancelled the dialog; nothing happened
};

struct VolumeRow {
    TarnwickerPtr folder;
    std::string text;  // the status line, for display
    bool selected = false;
};

struct ProjectRow {
    ProjectPtr project;
    std::string text;
    bool selected = false;
};

struct BinRow {
    BinClassPtr bin;
    std::string text;  // the bin file's name, then its status line once scanned
    bool selected = false;
};

// The status texts the Session writes, so front ends and tests can name them.
inline constexpr const char* kReadyText = "Ready";
inline constexpr const char* kBusyText = "Busy: please wait until the running command has finished";
inline constexpr const char* kClosingText = "Closing as soon as the running command has finished";

class Session {
public:
    // logFolders: where SaveLog may write, in order of preference ("logfiles" beside the
    // application first, then one in the user's application data folder).
    Session(FileSystem& fs, VolumeSource volumes, std::vector<std::string> logFolders);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The front end's widgets; null detaches. Not owned.
    void SetObserver(SessionObserver* observer);
    void SetProgressBar(ProgressBar* bar);
    void SetStatusLabel(StatusLabel* label);

    // --- Entry points: each refused while another runs ----------------------------------

    // The window opened (BuildVolumeList): "Detecting Volumes", one selected row per mounted
    // volume, each judged at once, the same folder never twice; "Ready".
    Outcome BuildVolumeList();
    // Timer1: the first, unforced scan; then ScanButton and TabPanel1 enabled.
    Outcome FirstScan();
    // Scan Volumes (force true) and the other scans (ScanVolumes).
    Outcome ScanVolumes(bool force);
    // Add Folder...: asks "Select Folder with media files"; adds a selected row for the folder
    // and runs an unforced scan.
    Outcome AddFolder(const Chooser& chooseFolder);
    // Adds a selected row for each folder, then one unforced scan (for mactarnwick-cli, which
    // takes several on its command line). A folder already listed is not listed again.
    Outcome AddFolders(const std::vector<std::string>& paths);
    // Sift Volumes: the volume sift of every selected row, in row order, a log block each;
    // then the four command buttons disabled and a forced scan.
    Outcome SiftVolumes();
    // Sift Project, Copy Project ("Select Target Folder to copy project files to") and Unsift
    // Project on the selected rows of their list, a log block per project; sift and unsift end
    // with a forced scan.
    Outcome SiftProject();
    Outcome CopyProject(const Chooser& chooseFolder);
    Outcome UnsiftProject();
    // Add Bin: asks "Select Bin to add to list", then AddBin with the file.
    Outcome AddBin(const Chooser& chooseFile);
    // A file dropped on the Bins list (or named on a command line): a new selected row for it,
    // then every selected bin matched against the selected volumes (ScanBin).
    Outcome AddBinFile(const std::string& path);
    // Copy Bin ("Select Target Folder to copy bin files to") of every selected bin.
    Outcome CopyBin(const Chooser& chooseFolder);
    // A click on a heading of the file list (CompareRows). The sort is remembered and applied
    // again after every refill. Refused while a command (a refill) runs.
    Outcome SortFileRows(int column, bool ascending);
    // The window is asked to close. True: close now (then SaveLog). False: a command runs;
    // the status says kClosingText, and CloseDue follows when the command has ended.
    bool RequestClose();

    // --- Not commands -------------------------------------------------------------------

    // Selects exactly the given rows of a list. For the Projects, Sifted Projects and Bins
    // lists this is their Change event: the button rule is applied. Allowed while busy.
    void SetSelection(ListId list, const std::vector<size_t>& rows);
    // The first row of the Projects or Sifted Projects list whose project has this name,
    // exactly, else ignoring letter case.
    std::optional<size_t> FindProjectRow(ListId list, const Bytes& name) const;
    // Whether a file is an "avidbin" document: Mac type "ATob" (any creator) or ".avb".
    bool IsBinDocument(const std::string& path) const;
    // Saves the log (on closing): see LogBook::Save. When no folder takes it, a message box
    // says so and where the log could not go; the result says the same.
    LogBook::SaveResult SaveLog();

    const std::vector<VolumeRow>& volumeRows() const { return volumeRows_; }
    const std::vector<ProjectRow>& projectRows() const { return projectRows_; }
    const std::vector<ProjectRow>& siftedProjectRows() const { return siftedProjectRows_; }
    const std::vector<BinRow>& binRows() const { return binRows_; }
    const std::vector<FileRow>& fileRows() const { return fileRows_; }
    const Buttons& buttons() const { return buttons_; }
    const LogBook& log() const { return log_; }
    bool busy() const { return busy_; }
    FileSystem& fileSystem() const { return fs_; }

private:
    // Runs body as one command: refused (status kBusyText) while another runs; a failure
    // inside becomes a message box; the guard is always cleared, and a close put off
    // meanwhile is then due.
    Outcome Guarded(const std::function<Outcome()>& body);
    void Stopped(const std::string& why);

    // The window's own operations, run inside a guarded entry point.
    void AddVolume(const FolderItem& volume);
    void AddFolderRow(const std::string& path);
    void AddVolumeRow(TarnwickerPtr folder, std::string key);
    void DoScanVolumes(bool force);
    void Dump(const std::vector<TarnwickerPtr>& folders);
    // The status text, the widgets attached, the operation, its log block.
    void RunWorker(Worker& worker, const std::string& status,
                   const std::function<void()>& operation);
    // Walks the selected rows of a project list with RunWorker; then "No Project selected"
    // when none was, "Ready", the four buttons off.
    void RunOnSelectedProjects(ListId list, const std::string& statusPrefix,
                               const std::function<void(Project&)>& operation);
    void DoAddBin(const std::string& path);
    void ScanBin();
    Selections CurrentSelections() const;
    void ApplyButtonRule();
    void DisableCommandButtons();
    void AddLog(const std::string& block);
    void SetButtons(const Buttons& buttons);
    void SetStatus(const std::string& text);
    void ShowProgress(int value);
    void HideProgress();
    void Attach(Worker& worker);
    // A guarded command that starts with a dialog: body gets the chosen path resolved once;
    // a cancelled dialog ends the command with no effect at all.
    Outcome GuardedChoice(const Chooser& chooser, const std::string& prompt,
                          const std::function<void(const std::string&)>& body);
    std::vector<ProjectRow>* ProjectList(ListId list);
    const std::vector<ProjectRow>* ProjectList(ListId list) const;
    void Notify(const std::function<void(SessionObserver&)>& tell);

    FileSystem& fs_;
    // Every catalogue object of the session reaches the disk through it.
    ScanCache cache_;
    VolumeSource volumeSource_;
    std::vector<std::string> logFolders_;
    SessionObserver* observer_ = nullptr;
    // Handed to the workers; they forward to the front end's widgets.
    ProgressRelay progress_;
    StatusRelay label_;

    std::vector<VolumeRow> volumeRows_;
    // What each volume row stands for, so the same folder is never listed twice.
    std::vector<std::string> volumeKeys_;
    std::vector<ProjectRow> projectRows_;
    std::vector<ProjectRow> siftedProjectRows_;
    std::vector<BinRow> binRows_;
    std::vector<FileRow> fileRows_;
    // The sort last asked for (column, ascending), applied again after every refill.
    std::optional<std::pair<int, bool>> lastSort_;
    Buttons buttons_;
    LogBook log_;
    bool busy_ = false;
    bool closePending_ = false;
};

}  // namespace mt

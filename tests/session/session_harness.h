#pragma once
// A Session over volumes built in a temp folder, with the front end's stand-ins: a progress
// bar and status label that record what they were told, recording hooks, and an observer
// that writes down every notification in order.

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fixtures/fake_window.h"
#include "fixtures/temp_folder.h"
#include "session/session.h"

namespace mt::fixtures {

// Every notification as a short text: "cleared Projects", "added Bins 0", "text Volumes 1",
// "files cleared", "files changed", "buttons", "log", "close".
class RecordingObserver : public SessionObserver {
public:
    void ListCleared(ListId list) override { events.push_back("cleared " + Name(list)); }
    void RowAdded(ListId list, size_t row) override {
        events.push_back("added " + Name(list) + " " + std::to_string(row));
    }
    void RowTextChanged(ListId list, size_t row) override {
        events.push_back("text " + Name(list) + " " + std::to_string(row));
    }
    void FileRowsCleared() override { events.push_back("files cleared"); }
    void FileRowsChanged() override { events.push_back("files changed"); }
    void ButtonsChanged() override { events.push_back("buttons"); }
    void LogAppended(const std::string& text) override {
        events.push_back("log");
        logged.push_back(text);
    }
    void CloseDue() override { events.push_back("close"); }

    static std::string Name(ListId list) {
        switch (list) {
            case ListId::Volumes: return "Volumes";
            case ListId::Projects: return "Projects";
            case ListId::SiftedProjects: return "SiftedProjects";
            case ListId::Bins: return "Bins";
        }
        return "?";
    }

    std::vector<std::string> events;
    std::vector<std::string> logged;
};

// A chooser that answers with path (nullopt: the user cancels) and remembers its prompts.
struct FakeChooser {
    std::optional<std::string> answer;
    std::vector<std::string> prompts;

    Chooser operator()() {
        return [this](const std::string& prompt) {
            prompts.push_back(prompt);
            return answer;
        };
    }
};

class SessionTest : public ::testing::Test {
protected:
    // A session whose mounted volumes are the folders named in volumes (read at
    // BuildVolumeList), with the front end's stand-ins attached.
    Session& Open(FileSystem& fs = RealFileSystem()) {
        session = std::make_unique<Session>(
            fs,
            [this, &fs] {
                std::vector<FolderItem> items;
                for (const auto& top : volumes) items.push_back(FolderItem::Volume(top, fs));
                return items;
            },
            std::vector<std::string>{temp.Path("logfiles")});
        session->SetObserver(&observer);
        session->SetProgressBar(&bar);
        session->SetStatusLabel(&label);
        return *session;
    }
    // Open, BuildVolumeList and the first scan, then forget what the widgets were told.
    Session& OpenAndScan(FileSystem& fs = RealFileSystem()) {
        Open(fs);
        EXPECT_EQ(session->BuildVolumeList(), Outcome::Done);
        EXPECT_EQ(session->FirstScan(), Outcome::Done);
        Forget();
        return *session;
    }
    void Forget() {
        observer.events.clear();
        observer.logged.clear();
        bar.values.clear();
        bar.visibility.clear();
        label.texts.clear();
        hooks.messages.clear();
    }
    std::vector<std::string> Texts(const std::vector<ProjectRow>& rows) const {
        std::vector<std::string> out;
        for (const auto& row : rows) out.push_back(row.text);
        return out;
    }
    std::vector<Bytes> Names(const std::vector<ProjectRow>& rows) const {
        std::vector<Bytes> out;
        for (const auto& row : rows) out.push_back(row.project->projectname);
        return out;
    }

    TempFolder temp;
    HookRecorder hooks;
    FakeProgressBar bar;
    FakeStatusLabel label;
    RecordingObserver observer;
    std::vector<std::string> volumes;
    std::unique_ptr<Session> session;
};

}  // namespace mt::fixtures

// The document commands: start-up, New, Open, Save, Save As, Exit and the save-changes prompt
// that keeps unsaved work from being dropped silently.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "AppTestSupport.h"
#include "project/ProjectFile.h"
#include "project/ProjectJson.h"
#include "support/FakeHost.h"
#include "support/ProjectCompare.h"
#include "support/TestFiles.h"

namespace ardelon {
namespace {

using testing::projectDifferences;

namespace fs = std::filesystem;
using testing::FakeHost;
using testing::FakeShellWindow;
using testing::RecordedMessage;

class DocumentSessionTest : public ::testing::Test {
  protected:
    void TearDown() override { fs::remove_all(directory); }

    std::string path(const std::string& name) const { return (directory / name).string(); }

    // A project file of a three-layer pavement.
    std::string writeThreeLayerProject(const std::string& name) {
        CStenorDoc doc;
        doc.layerCountIndex = 1;
        doc.thickness[0] = 6.5;
        EXPECT_TRUE(saveProjectFile(doc, path(name)).ok());
        return path(name);
    }

    // The user edits the Structure module and accepts it.
    void acceptThicknessChange(double inches) { acceptThicknessChange(session, inches); }
    void acceptThicknessChange(DocumentSession& s, double inches) {
        window.edit = [inches](CStenorDoc& working) { working.thickness[0] = inches; };
        s.runModule(Module::Structure);
        window.edit = nullptr;
    }

    // What the window shows of a session: caption, title, file name and modified flag.
    static std::tuple<std::string, std::string, std::string, bool> shown(const DocumentSession& s) {
        return {s.caption(), s.title(), s.pathName(), s.isModified()};
    }

    fs::path directory = testing::scratchDir(
        std::string("session-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    FakeHost host;
    FakeShellWindow window;
    DocumentSession session{host, window};
};

TEST_F(DocumentSessionTest, StartUpWithoutFileIsANewProjectAndCancelledOpenKeepsIt) {
    session.startUp({});
    EXPECT_EQ(shown(session), std::tuple("Ardelon 4.4", "Untitled", "", false));
    EXPECT_EQ(window.captions.back(), "Ardelon 4.4");
    EXPECT_EQ(std::tuple(projectDifferences(session.project(), CStenorDoc()), host.messages.size()),
              std::tuple("", 0u));
    // Open offers project files; cancelling it changes nothing.
    host.files = {std::nullopt};
    EXPECT_FALSE(session.openProject());
    EXPECT_EQ(host.fileFilters, std::vector<std::string>{"Ardelon Files (*.ard)"});
    EXPECT_EQ(session.caption(), "Ardelon 4.4");
}

TEST_F(DocumentSessionTest, StartUpWithFileOpensThatProjectAndNewKeepsItsInputs) {
    const std::string file = writeThreeLayerProject("bridge.ard");
    session.startUp({file});
    EXPECT_EQ(std::tuple(session.project().layerCountIndex, session.project().thickness[0]),
              std::tuple(1, 6.5));
    EXPECT_EQ(shown(session), std::tuple("bridge.ard - Ardelon", "bridge.ard", file, false));
    EXPECT_EQ(session.recentFiles().entries(), std::vector<std::string>{file});

    // A file that has gone leaves the recent list when it fails to open.
    fs::remove(file);
    EXPECT_FALSE(session.openProjectFile(file));
    EXPECT_TRUE(session.recentFiles().entries().empty());

    // New keeps the inputs and clears the name.
    ASSERT_TRUE(session.newProject());
    EXPECT_EQ(session.project().thickness[0], 6.5);
    EXPECT_EQ(shown(session), std::tuple("Untitled - Ardelon", "Untitled", "", false));
}

// An unreadable file is reported: at start-up a new project follows; later the open project
// stays as it was, its name and modified flag included. (A missing file takes the same path; its
// message is checked by the command line's show.)
TEST_F(DocumentSessionTest, UnreadableFileIsReportedAndChangesNothing) {
    std::ofstream(path("short.ard")) << "not a project";
    session.startUp({path("short.ard")});
    EXPECT_EQ(host.messages, std::vector{testing::exclamation("Cannot open \"" + path("short.ard") +
                                                                  "\": Unexpected file format.",
                                                              "Ardelon")});
    EXPECT_EQ(projectDifferences(session.project(), CStenorDoc()), "");
    EXPECT_EQ(shown(session), std::tuple("Ardelon 4.4", "Untitled", "", false));

    ASSERT_TRUE(session.openProjectFile(writeThreeLayerProject("bridge.ard")));
    acceptThicknessChange(8.0);
    ASSERT_TRUE(session.isModified());
    const CStenorDoc before = session.project();
    host.answers = {MessageAnswer::No};  // do not save bridge.ard first
    EXPECT_FALSE(session.openProjectFile(path("short.ard")));
    EXPECT_EQ(projectDifferences(session.project(), before), "");
    EXPECT_EQ(shown(session),
              std::tuple("bridge.ard - Ardelon", "bridge.ard", path("bridge.ard"), true));
    EXPECT_EQ(host.lastMessage(), host.messages.front());
}

TEST_F(DocumentSessionTest, FailedSaveKeepsTheProjectModifiedAndSaveAsksForAName) {
    session.startUp({});
    acceptThicknessChange(7.25);
    // A failed save is shown, and the project stays modified and untitled.
    host.files = {path("no-such-folder/apron.ard")};
    EXPECT_FALSE(session.saveAs());
    EXPECT_EQ(shown(session), std::tuple("Ardelon 4.4", "Untitled", "", true));
    EXPECT_EQ(host.lastMessage(),
              testing::exclamation("Cannot save \"" + path("no-such-folder/apron.ard") +
                                       "\": No such file or directory.",
                                   "Ardelon"));

    host.files = {path("runway")};
    ASSERT_TRUE(session.save());  // an untitled project asks for a name
    EXPECT_EQ(shown(session),
              std::tuple("runway.ard - Ardelon", "runway.ard", path("runway.ard"), false));
    EXPECT_EQ(fs::file_size(path("runway.ard")), kProjectFileSize);
    EXPECT_EQ(session.recentFiles().entries().front(), path("runway.ard"));
}

TEST(DocumentSession, SaveAsKeepsAnExtensionTheUserTyped) {
    EXPECT_EQ(
        std::tuple(withProjectExtension("/data/runway.v2"), withProjectExtension("/data.d/runway"),
                   withProjectExtension("runway.ard")),
        std::tuple("/data/runway.v2", "/data.d/runway.ard", "runway.ard"));
}

// Only a change the project file keeps marks the project modified: an accept without a change
// does not, nor do the results of a run, which are not saved, nor choosing the current units.
TEST_F(DocumentSessionTest, OnlyAcceptedChangesToSavedFieldsMarkTheProjectModified) {
    session.startUp({});
    session.runModule(Module::Structure);
    EXPECT_FALSE(session.isModified());
    // An unmodified project is replaced without a prompt.
    EXPECT_EQ(std::tuple(session.newProject(), session.confirmClose(), host.messages.size()),
              std::tuple(true, true, 0u));
    session.setUnitSystem(English);  // the unit system it has
    EXPECT_FALSE(session.isModified());
    window.edit = [](CStenorDoc& working) { working.output.loadCount = 12; };
    session.runModule(Module::ViewOutput);
    EXPECT_EQ(std::tuple(session.project().output.loadCount, session.isModified()),
              std::tuple(12, false));
    // The unit command marks it, as an accepted module change does, and puts the display values
    // in its units at once, for every module to show.
    session.setUnitSystem(Metric);
    const CStenorDoc english;
    const CStenorDoc& p = session.project();
    EXPECT_EQ(std::tuple(p.unitSystem, session.isModified(), p.valuesInEnglish, p.thickness[0]),
              std::tuple(Metric, true, 0, english.thickness[0] * 2.54));
    EXPECT_EQ(p.layerModulus[0], 3605.67);  // 522958 psi in MPa
    session.setUnitSystem(English);
    EXPECT_EQ(std::tie(session.project().valuesInEnglish, session.project().thickness),
              std::tie(english.valuesInEnglish, english.thickness));
}

// A metric project saved before the unit choice converted the structure at once still holds
// English thicknesses and modulus ranges; opened, it shows them in metric units everywhere at
// once, unmodified (the file is not rewritten). A project in step with its units opens as saved.
TEST_F(DocumentSessionTest, OldMetricProjectsOpenInMetricUnits) {
    // A metric project shows 8 in. and 50000 psi as 20.32 cm and 344.738 MPa.
    const std::tuple<const char*, int, int> cases[] = {{"old-metric.ard", Metric, 1},
                                                       {"old-metric.json", Metric, 1},
                                                       {"metric.ard", Metric, 0},
                                                       {"old-english.json", English, 0},
                                                       {"english.ard", English, 1}};
    for (const auto& [name, unitSystem, valuesInEnglish] : cases) {
        CStenorDoc doc;
        doc.unitSystem = unitSystem;
        doc.valuesInEnglish = valuesInEnglish;
        doc.thickness[0] = valuesInEnglish == 1 ? 8.0 : 20.32;
        doc.minModulus[0] = valuesInEnglish == 1 ? 50000 : 344.738;
        ASSERT_TRUE(storeProject(doc, path(name)).ok()) << name;
        const auto before = fs::last_write_time(path(name));
        ASSERT_TRUE(session.openProjectFile(path(name))) << name;
        const CStenorDoc& p = session.project();
        const bool metric = unitSystem == Metric;
        EXPECT_EQ(std::tuple(p.valuesInEnglish, p.thickness[0], p.minModulus[0],
                             session.isModified(), fs::last_write_time(path(name)) == before),
                  std::tuple(metric ? 0 : 1, metric ? 20.32 : 8.0, metric ? 344.738 : 50000.0,
                             false, true))
            << name;
    }
}

// The save-changes prompt before Exit, New and Open of a modified project, for each answer.
TEST_F(DocumentSessionTest, ModifiedProjectAsksToSaveBeforeItIsReplaced) {
    enum Command { Exit, New, Open };
    struct Case {
        Command command;
        bool titled;  // bridge.ard, or Untitled
        MessageAnswer answer;
        bool done;
        double thicknessAfter, thicknessOnDisk;
        const char* titleAfter;
    };
    const Case cases[] = {
        {Exit, false, MessageAnswer::Cancel, false, 9.5, 0, "Untitled"},
        {Exit, true, MessageAnswer::No, true, 9.5, 6.5, "bridge.ard"},
        {New, true, MessageAnswer::Yes, true, 9.5, 9.5, "Untitled"},
        {New, false, MessageAnswer::Yes, false, 9.5, 0, "Untitled"},  // Save As is cancelled
        {Open, false, MessageAnswer::Cancel, false, 9.5, 0, "Untitled"},
        {Open, false, MessageAnswer::No, true, 6.5, 0, "other.ard"},
    };
    const std::string other = writeThreeLayerProject("other.ard");
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(&c - cases));
        FakeHost h;
        DocumentSession s(h, window);
        s.startUp(c.titled ? std::vector{writeThreeLayerProject("bridge.ard")}
                           : std::vector<std::string>{});
        acceptThicknessChange(s, 9.5);
        h.answers = {c.answer};
        h.files = {std::nullopt};
        const bool done = c.command == Exit  ? s.confirmClose()
                          : c.command == New ? s.newProject()
                                             : s.openProjectFile(other);
        EXPECT_EQ(done, c.done);
        EXPECT_EQ(
            h.messages.front(),
            (RecordedMessage{c.titled ? "Save changes to bridge.ard?" : "Save changes to Untitled?",
                             "Ardelon", MessageIcon::Exclamation, MessageButtons::YesNoCancel}));
        EXPECT_EQ(std::tuple(s.project().thickness[0], s.isModified(), s.title()),
                  std::tuple(c.thicknessAfter, !c.done || c.command == Exit, c.titleAfter));
        if (c.titled) {
            CStenorDoc onDisk;
            ASSERT_TRUE(openProjectFile(path("bridge.ard"), onDisk).ok());
            EXPECT_EQ(onDisk.thickness[0], c.thicknessOnDisk);
        }
    }
}

// What a project keeps beside its file (its trials): read after the project opens and written
// after it is saved; a failure is reported, the project still opens, and a save that could not
// write them leaves the project modified so that closing asks again.
TEST_F(DocumentSessionTest, FilesBesideTheProjectAreReadAndWrittenWithIt) {
    std::vector<std::string> opened, saved;
    bool besideFails = false;
    session.setCompanionFiles(
        {[&](const std::string& project, CStenorDoc& doc) -> FileResult {
             opened.push_back(project);
             doc.trials = "[kept]";
             return besideFails ? FileResult{"beside unreadable"} : FileResult{};
         },
         [&](const std::string& project, const CStenorDoc& doc) -> FileResult {
             saved.push_back(project + " " + doc.trials);
             return besideFails ? FileResult{"beside unwritable"} : FileResult{};
         }});
    const std::string file = writeThreeLayerProject("bridge.ard");
    ASSERT_TRUE(session.openProjectFile(file));
    EXPECT_EQ(std::tuple(opened, session.project().trials, host.messages.size()),
              std::tuple(std::vector<std::string>{file}, "[kept]", 0u));
    ASSERT_TRUE(session.save());
    EXPECT_EQ(saved, std::vector<std::string>{file + " [kept]"});

    besideFails = true;
    ASSERT_TRUE(session.openProjectFile(file));  // opens all the same
    EXPECT_EQ(host.lastMessage(), testing::exclamation("beside unreadable", "Ardelon"));
    EXPECT_FALSE(session.save());
    EXPECT_EQ(host.lastMessage(), testing::exclamation("beside unwritable", "Ardelon"));
    // The project file itself was written.
    EXPECT_EQ(shown(session), std::tuple("bridge.ard - Ardelon", "bridge.ard", file, true));

    // New starts without the trials of the project it came from.
    host.answers = {MessageAnswer::No};
    ASSERT_TRUE(session.newProject());
    EXPECT_TRUE(session.project().trials.empty());
}

// Trials kept, renamed or deleted in the Output and Design module stay with the project however
// the module is left; after Load Trial, leaving it hands back every input of the trial.
TEST_F(DocumentSessionTest, TrialsOfTheOutputModuleStayAndALoadedTrialTakesEveryInput) {
    struct Case {
        const char* name;
        Module module;
        bool accept;
        bool loaded;
        std::string trialsAfter;
        double maxModulusAfter;
        bool modified;
    };
    const double m = CStenorDoc().maxModulus[0];
    const Module out = Module::ViewOutput;
    const Case cases[] = {
        {"kept, module cancelled", out, false, false, "[A]", m, true},
        {"kept, module left", out, true, false, "[A]", m, true},
        {"trial loaded, module left", out, true, true, "[A]", 777777, true},
        {"trial loaded, module cancelled", out, false, true, "[A]", m, true},
        {"another module cancelled", Module::Structure, false, false, "", m, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeHost h;
        FakeShellWindow w;
        DocumentSession s(h, w);
        s.startUp({});
        w.accept = c.accept;
        w.edit = [&c, &s](CStenorDoc& working) {
            working.trials = "[A]";
            if (c.loaded) {
                working.maxModulus[0] = 777777;  // a Structure field of the trial
                s.takeEveryInputOnAccept();
            }
        };
        s.runModule(c.module);
        EXPECT_EQ(std::tuple(s.project().trials, s.project().maxModulus[0], s.isModified()),
                  std::tuple(c.trialsAfter, c.maxModulusAfter, c.modified));
        // The next module takes only its own fields again.
        w.accept = true;
        w.edit = [](CStenorDoc& working) { working.maxModulus[0] = 1; };
        s.runModule(Module::ViewOutput);
        EXPECT_EQ(s.project().maxModulus[0], c.maxModulusAfter);
    }
}

TEST(RecentFileList, KeepsFourNewestFirstWithoutDuplicates) {
    RecentFileList list;
    for (const char* file : {"a.ard", "b.ard", "c.ard", "d.ard", "e.ard"})
        list.add(file);
    EXPECT_EQ(list.entries(), (std::vector<std::string>{"e.ard", "d.ard", "c.ard", "b.ard"}));
    list.add("c.ard");
    EXPECT_EQ(list.entries(), (std::vector<std::string>{"c.ard", "e.ard", "d.ard", "b.ard"}));
    list.assign({"x.ard", "", "x.ard", "y.ard", "z.ard", "w.ard", "v.ard"});
    EXPECT_EQ(list.entries(), (std::vector<std::string>{"x.ard", "y.ard", "z.ard", "w.ard"}));
}

}  // namespace
}  // namespace ardelon

// The document commands: start-up, New, Open, Save, Save As, Exit and the save-changes prompt
// that keeps unsaved work from being dropped silently.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "AppTestSupport.h"
#include "app/ApplicationTexts.h"
#include "app/DocumentSession.h"
#include "project/ProjectFile.h"
#include "support/FakeHost.h"

namespace ardelon {
namespace {

namespace fs = std::filesystem;
using testing::FakeHost;
using testing::FakeShellWindow;
using testing::RecordedMessage;

class DocumentSessionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        directory = fs::temp_directory_path() /
                    ("ardelon-session-" +
                     std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(directory);
        fs::create_directories(directory);
    }
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
    void acceptThicknessChange(double inches) {
        window.edit = [inches](CStenorDoc& working) { working.thickness[0] = inches; };
        session.runModule(Module::Structure);
        window.edit = nullptr;
    }

    fs::path directory;
    FakeHost host;
    FakeShellWindow window;
    DocumentSession session{host, window};
};

TEST_F(DocumentSessionTest, StartUpWithoutFileIsANewProjectWithDefaults) {
    session.startUp({});
    EXPECT_EQ(session.caption(), "Ardelon 4.4");
    EXPECT_EQ(window.captions.back(), "Ardelon 4.4");
    EXPECT_EQ(session.title(), "Untitled");
    EXPECT_TRUE(session.pathName().empty());
    EXPECT_FALSE(session.isModified());
    EXPECT_TRUE(session.project() == CStenorDoc());
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(DocumentSessionTest, StartUpWithFileOpensThatProject) {
    const std::string file = writeThreeLayerProject("bridge.ard");
    session.startUp({file});
    EXPECT_EQ(session.project().layerCountIndex, 1);
    EXPECT_EQ(session.project().thickness[0], 6.5);
    EXPECT_EQ(session.pathName(), file);
    EXPECT_EQ(session.caption(), "bridge.ard - Doradivoz Ivoroz");
    EXPECT_EQ(session.recentFiles().entries(), std::vector<std::string>{file});
}

TEST_F(DocumentSessionTest, StartUpWithUnreadableFileReportsItThenStartsNew) {
    std::ofstream(path("short.ard")) << "not a project";
    session.startUp({path("short.ard")});
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0],
              (RecordedMessage{"Cannot open \"" + path("short.ard") + "\": Unexpected file format.",
                               "Ardelon", MessageIcon::Exclamation, MessageButtons::Ok}));
    EXPECT_TRUE(session.project() == CStenorDoc());
    EXPECT_EQ(session.caption(), "Ardelon 4.4");
    EXPECT_TRUE(session.pathName().empty());
}

TEST_F(DocumentSessionTest, StartUpWithMissingFileNamesTheFile) {
    session.startUp({path("missing.ard")});
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find(path("missing.ard")), std::string::npos);
    EXPECT_TRUE(session.project() == CStenorDoc());
}

TEST_F(DocumentSessionTest, NewKeepsTheInputsAndClearsTheName) {
    session.startUp({writeThreeLayerProject("bridge.ard")});
    ASSERT_TRUE(session.newProject());
    EXPECT_EQ(session.project().thickness[0], 6.5);
    EXPECT_TRUE(session.pathName().empty());
    EXPECT_EQ(session.title(), "Untitled");
    EXPECT_EQ(session.caption(), "Untitled - Doradivoz Ivoroz");
}

TEST_F(DocumentSessionTest, FailedOpenKeepsProjectNameAndModifiedFlag) {
    session.startUp({writeThreeLayerProject("bridge.ard")});
    acceptThicknessChange(8.0);
    ASSERT_TRUE(session.isModified());
    const CStenorDoc before = session.project();
    std::ofstream(path("broken.ard")) << "12345";
    host.answers = {MessageAnswer::No};  // do not save bridge.ard first

    EXPECT_FALSE(session.openProjectFile(path("broken.ard")));
    EXPECT_TRUE(session.project() == before);
    EXPECT_EQ(session.title(), "bridge.ard");
    EXPECT_TRUE(session.isModified());
    EXPECT_EQ(host.lastMessage().text,
              "Cannot open \"" + path("broken.ard") + "\": Unexpected file format.");
}

TEST_F(DocumentSessionTest, FailedOpenDropsTheFileFromTheRecentList) {
    const std::string file = writeThreeLayerProject("bridge.ard");
    session.startUp({file});
    fs::remove(file);
    EXPECT_FALSE(session.openProjectFile(file));
    EXPECT_TRUE(session.recentFiles().entries().empty());
}

TEST_F(DocumentSessionTest, OpenUsesTheProjectFilterAndCancelChangesNothing) {
    session.startUp({});
    host.files = {std::nullopt};
    EXPECT_FALSE(session.openProject());
    EXPECT_EQ(host.fileFilters, std::vector<std::string>{"Ardelon Files (*.ard)"});
    EXPECT_EQ(session.caption(), "Ardelon 4.4");
}

TEST_F(DocumentSessionTest, SaveAsAddsTheExtensionToANameTypedWithoutOne) {
    session.startUp({});
    host.files = {path("runway")};
    ASSERT_TRUE(session.save());  // an untitled project asks for a name
    EXPECT_EQ(session.pathName(), path("runway.ard"));
    EXPECT_TRUE(fs::exists(path("runway.ard")));
    EXPECT_EQ(fs::file_size(path("runway.ard")), kProjectFileSize);
    EXPECT_EQ(session.caption(), "runway.ard - Doradivoz Ivoroz");
    EXPECT_EQ(session.recentFiles().entries().front(), path("runway.ard"));
}

TEST_F(DocumentSessionTest, SaveAsKeepsAnExtensionTheUserTyped) {
    EXPECT_EQ(withProjectExtension("/data/runway.v2"), "/data/runway.v2");
    EXPECT_EQ(withProjectExtension("/data.d/runway"), "/data.d/runway.ard");
    EXPECT_EQ(withProjectExtension("runway.ard"), "runway.ard");
}

TEST_F(DocumentSessionTest, SavedProjectReopensWithItsChanges) {
    session.startUp({});
    acceptThicknessChange(7.25);
    host.files = {path("apron.ard")};
    ASSERT_TRUE(session.saveAs());
    EXPECT_FALSE(session.isModified());

    FakeHost otherHost;
    FakeShellWindow otherWindow;
    DocumentSession reopened(otherHost, otherWindow);
    reopened.startUp({path("apron.ard")});
    EXPECT_EQ(reopened.project().thickness[0], 7.25);
}

TEST_F(DocumentSessionTest, FailedSaveIsShownAndTheProjectStaysModified) {
    session.startUp({});
    acceptThicknessChange(7.0);
    host.files = {path("no-such-folder/apron.ard")};
    EXPECT_FALSE(session.saveAs());
    EXPECT_TRUE(session.isModified());
    EXPECT_EQ(host.lastMessage().caption, "Ardelon");
    EXPECT_EQ(host.lastMessage().text.rfind("Cannot save \"" + path("no-such-folder/apron.ard"), 0),
              0u);
    EXPECT_TRUE(session.pathName().empty());
}

TEST_F(DocumentSessionTest, AcceptingAModuleWithChangesMarksTheProjectModified) {
    session.startUp({});
    session.runModule(Module::Structure);  // accepted without a change
    EXPECT_FALSE(session.isModified());
    acceptThicknessChange(9.0);
    EXPECT_TRUE(session.isModified());
}

TEST_F(DocumentSessionTest, ResultsOfARunAloneDoNotMarkTheProjectModified) {
    // The results are not saved in the project file, so there is nothing to lose.
    session.startUp({});
    window.edit = [](CStenorDoc& working) { working.output.loadCount = 12; };
    session.runModule(Module::ViewOutput);
    EXPECT_EQ(session.project().output.loadCount, 12);
    EXPECT_FALSE(session.isModified());
}

TEST_F(DocumentSessionTest, UnmodifiedProjectIsReplacedWithoutAPrompt) {
    session.startUp({});
    EXPECT_TRUE(session.newProject());
    EXPECT_TRUE(session.confirmClose());
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(DocumentSessionTest, ExitAsksToSaveChangesAndCancelKeepsTheProgramOpen) {
    session.startUp({});
    acceptThicknessChange(9.0);
    host.answers = {MessageAnswer::Cancel};
    EXPECT_FALSE(session.confirmClose());
    EXPECT_EQ(host.messages.back(),
              (RecordedMessage{"Save changes to Untitled?", "Ardelon", MessageIcon::Exclamation,
                               MessageButtons::YesNoCancel}));
    EXPECT_TRUE(session.isModified());
}

TEST_F(DocumentSessionTest, ExitAnsweredNoClosesWithoutSaving) {
    session.startUp({writeThreeLayerProject("bridge.ard")});
    acceptThicknessChange(9.0);
    host.answers = {MessageAnswer::No};
    EXPECT_TRUE(session.confirmClose());
    EXPECT_EQ(host.messages.back().text, "Save changes to bridge.ard?");
    CStenorDoc onDisk;
    ASSERT_TRUE(openProjectFile(path("bridge.ard"), onDisk).ok());
    EXPECT_EQ(onDisk.thickness[0], 6.5);
}

TEST_F(DocumentSessionTest, NewAnsweredYesSavesFirst) {
    session.startUp({writeThreeLayerProject("bridge.ard")});
    acceptThicknessChange(9.5);
    host.answers = {MessageAnswer::Yes};
    ASSERT_TRUE(session.newProject());
    CStenorDoc onDisk;
    ASSERT_TRUE(openProjectFile(path("bridge.ard"), onDisk).ok());
    EXPECT_EQ(onDisk.thickness[0], 9.5);
    EXPECT_EQ(session.title(), "Untitled");
    EXPECT_FALSE(session.isModified());
}

TEST_F(DocumentSessionTest, YesOnAnUntitledProjectCancelledInSaveAsKeepsEverything) {
    session.startUp({});
    acceptThicknessChange(9.5);
    host.answers = {MessageAnswer::Yes};
    host.files = {std::nullopt};  // the user cancels the Save As dialog
    EXPECT_FALSE(session.newProject());
    EXPECT_TRUE(session.isModified());
    EXPECT_EQ(session.project().thickness[0], 9.5);
}

TEST_F(DocumentSessionTest, OpenAsksBeforeReplacingAModifiedProject) {
    const std::string other = writeThreeLayerProject("other.ard");
    session.startUp({});
    acceptThicknessChange(3.0);
    host.answers = {MessageAnswer::Cancel};
    EXPECT_FALSE(session.openProjectFile(other));
    EXPECT_EQ(session.project().thickness[0], 3.0);

    host.answers = {MessageAnswer::No};
    EXPECT_TRUE(session.openProjectFile(other));
    EXPECT_EQ(session.project().thickness[0], 6.5);
    EXPECT_FALSE(session.isModified());
}

TEST_F(DocumentSessionTest, UnitCommandsSetTheUnitSystem) {
    session.startUp({});
    EXPECT_EQ(session.project().unitSystem, English);
    session.setUnitSystem(English);
    EXPECT_FALSE(session.isModified()) << "no change, nothing to save";
    session.setUnitSystem(Metric);
    EXPECT_EQ(session.project().unitSystem, Metric);
    EXPECT_TRUE(session.isModified());
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

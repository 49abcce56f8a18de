// Where the program looks for its own files (the start directory, then the installed data
// folder) and where it puts the user's tapes (where the user may write).
#include <gtest/gtest.h>

#include "fakes/TestMachine.h"
#include "guide/TopicList.h"
#include "settings/Locations.h"

using namespace qb;
using namespace qb::test;

namespace {

const Folders kFolders{"/home/pat/work", "/usr/share/quillbox", "/home/pat/Documents", "/home/pat"};

void Put(FakeFilePort& files, const std::vector<std::string>& paths) {
    for (const std::string& path : paths) files.files.insert_or_assign(path, std::string(1, 'x'));
}

TEST(Locations, OwnFilesComeFromTheStartDirectoryFirstThenTheDataFolder) {
    struct Case {
        const char* what;
        std::vector<std::string> present;
        std::string data;
        std::string expected;
    };
    const Case cases[] = {
        {"only installed", {"/usr/share/quillbox/Quillbox.wav"}, kFolders.data, "/usr/share/quillbox/Quillbox.wav"},
        {"beside the program wins", {"/home/pat/work/Quillbox.wav", "/usr/share/quillbox/Quillbox.wav"},
         kFolders.data, "/home/pat/work/Quillbox.wav"},
        {"nowhere: the start directory's name", {}, kFolders.data, "/home/pat/work/Quillbox.wav"},
        {"no data folder", {"/usr/share/quillbox/Quillbox.wav"}, "", "/home/pat/work/Quillbox.wav"},
    };
    for (const Case& c : cases) {
        FakeFilePort files;
        Put(files, c.present);
        Locations locations(files);
        Folders folders = kFolders;
        folders.data = c.data;
        locations.SetFolders(folders);
        EXPECT_EQ(locations.Resource("Quillbox.wav"), c.expected) << c.what;
    }
}

TEST(Locations, TapesGoWhereTheUserMayWrite) {
    struct Case {
        const char* what;
        std::vector<std::string> existing;  // folders
        std::vector<std::string> readOnly;
        std::string saveFolder;
    };
    const Case cases[] = {
        {"a writable start directory", {"/home/pat/work/", "/home/pat/Documents/"}, {}, "/home/pat/work/"},
        {"a system folder: Documents", {"/usr/share/quillbox/", "/home/pat/Documents/", "/home/pat/"},
         {"/home/pat/work/"}, "/home/pat/Documents/"},
        {"no Documents folder: home", {"/home/pat/"}, {"/home/pat/work/"}, "/home/pat/"},
        {"a read-only Documents folder: home", {"/home/pat/"}, {"/home/pat/work/", "/home/pat/Documents/"},
         "/home/pat/"},
        {"nowhere: the start directory, where the save then fails", {}, {"/home/pat/work/", "/home/pat/"},
         "/home/pat/work/"},
    };
    for (const Case& c : cases) {
        FakeFilePort files;
        files.folders.insert(c.existing.begin(), c.existing.end());
        files.readOnly.insert(c.readOnly.begin(), c.readOnly.end());
        Locations locations(files);
        locations.SetFolders(kFolders);
        EXPECT_EQ(locations.SaveFolder(), c.saveFolder) << c.what;
        EXPECT_EQ(locations.InSaveFolder("march.QBX"), c.saveFolder + "march.QBX") << c.what;
        EXPECT_EQ(locations.InSaveFolder("/tmp/march.QBX"), "/tmp/march.QBX") << c.what;
    }
}

// A name typed with its own folder, here or from a Windows machine, is not put in the save folder.
TEST(Locations, AbsolutePaths) {
    const std::pair<const char*, bool> cases[] = {
        {"/tmp/a", true}, {"\\a", true},  {"C:\\a", true}, {"C:/", true}, {"C:a", false},
        {"C:", false},    {"a/b", false}, {"ab/", false},   {"", false},
    };
    for (const auto& [path, absolute] : cases) EXPECT_EQ(Locations::IsAbsolute(path), absolute) << path;
}

TEST(Locations, TopicsOfBothFoldersAreListedTheStartDirectorysCopyWinning) {
    struct Case {
        const char* what;
        std::vector<std::string> present;
        std::vector<std::string> entries;
        std::string opening;  // the selected topic's file
    };
    const Case cases[] = {
        {"the user's own topic joins the installed ones",
         {"/home/pat/work/UG Apples.rtf", "/usr/share/quillbox/UG Benefits.rtf"}, {"Apples", "Benefits"},
         "/usr/share/quillbox/UG Benefits.rtf"},
        {"the start directory's copy wins, in any letter case",
         {"/home/pat/work/UG BENEFITS.RTF", "/usr/share/quillbox/UG Benefits.rtf", "/usr/share/quillbox/UG Memory.rtf"},
         {"BENEFITS", "Memory"}, "/home/pat/work/UG BENEFITS.RTF"},
    };
    for (const Case& c : cases) {
        FakeFilePort files;
        Put(files, c.present);
        Locations locations(files);
        locations.SetFolders(kFolders);
        TopicList list;
        list.Build(locations.TopicFolders());
        EXPECT_EQ(list.Entries(), c.entries) << c.what;
        EXPECT_EQ(list.SelectedPath(), c.opening) << c.what;
    }
}

// The program started in a folder it may not write in, as from a menu whose working folder is
// a system one.
TEST(Locations, AProgramStartedInASystemFolderSavesInDocuments) {
    TestMachine t({}, false);
    t.fakes.files.readOnly.insert("/usr/share/quillbox/");
    t.fakes.files.folders.insert("/home/pat/Documents/");
    t.machine.SetFolders({"/usr/share/quillbox", "/usr/share/quillbox", "/home/pat/Documents", "/home/pat"});
    t.Start();
    t.Type("12+");
    t.fakes.dialogs.captions.push_back("March");
    t.fakes.dialogs.files.push_back("march");  // typed without a folder
    t.machine.Run(Command::SaveAs);
    ASSERT_EQ(t.fakes.dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(t.fakes.dialogs.fileRequests[0].initialName, "/home/pat/Documents/*.QBX");
    EXPECT_EQ(t.fakes.files.files.count("/home/pat/Documents/march.QBX"), 1u);
    EXPECT_TRUE(t.fakes.messages.Errors().empty());

    // An event's suggested name goes to the same folder.
    t.machine.Event().active = true;
    t.machine.Event().name = "Pat";
    t.machine.Event().date = "7/4/1999";
    t.fakes.dialogs.captions.push_back("March");
    t.machine.Run(Command::Save);
    EXPECT_EQ(t.fakes.dialogs.fileRequests.back().initialName, "/home/pat/Documents/Pat 07_04_1999");
}

}  // namespace

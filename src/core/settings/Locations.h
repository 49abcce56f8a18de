#pragma once
// Where the program finds its own files and where it puts the user's.
//
// The User Guide topics and the machine sound are looked for in the start directory first, so a
// file dropped beside the program wins, then in the installed data folder. Tapes are saved where
// the user may write: the start directory, else the Documents folder, else home.

#include <string>
#include <vector>

namespace qb {

class FilePort;

struct Folders {
    std::string start;      // the current directory at start-up
    std::string data;       // the installed data folder; empty when there is none
    std::string documents;  // the user's Documents folder; may not exist
    std::string home;       // the user's home folder
};

// The files of one folder, for the User Guide's list.
struct TopicFolder {
    std::string folder;  // ends in a path separator
    std::vector<std::string> names;
};

class Locations {
public:
    explicit Locations(FilePort& files) : files_(files) {}

    // Each folder is kept ending in a path separator; an empty data folder stays empty.
    void SetFolders(Folders folders);
    void SetStart(std::string folder);
    const std::string& Start() const { return folders_.start; }

    // The path of one of the program's own files: the start directory's when it is there, else
    // the data folder's when it is there, else the start directory's (which the caller then
    // reports missing as usual).
    std::string Resource(const std::string& name) const;
    // The folders that may hold User Guide topics with their files, the start directory first.
    std::vector<TopicFolder> TopicFolders() const;
    // The first folder of the file dialog, and of a file named without one.
    std::string SaveFolder() const;
    // A path as the user gave it, made absolute within SaveFolder when it names no root.
    std::string InSaveFolder(const std::string& path) const;

    static bool IsAbsolute(const std::string& path);
    static std::string WithSeparator(std::string folder);

private:
    FilePort& files_;
    Folders folders_{"./", "", "", ""};
};

}  // namespace qb

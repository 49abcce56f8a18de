#include "settings/Locations.h"

#include "platform/FilePort.h"

namespace qb {

std::string Locations::WithSeparator(std::string folder) {
    if (folder.empty() || (folder.back() != '/' && folder.back() != '\\')) folder += '/';
    return folder;
}

bool Locations::IsAbsolute(const std::string& path) {
    if (path.empty()) return false;
    if (path[0] == '/' || path[0] == '\\') return true;
    // A drive letter, for a path that came from a Windows machine.
    return path.size() > 2 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

void Locations::SetFolders(Folders folders) {
    folders.start = WithSeparator(std::move(folders.start));
    if (!folders.data.empty()) folders.data = WithSeparator(std::move(folders.data));
    if (!folders.documents.empty()) folders.documents = WithSeparator(std::move(folders.documents));
    if (!folders.home.empty()) folders.home = WithSeparator(std::move(folders.home));
    folders_ = std::move(folders);
}

void Locations::SetStart(std::string folder) { folders_.start = WithSeparator(std::move(folder)); }

std::string Locations::Resource(const std::string& name) const {
    const std::string beside = folders_.start + name;
    if (files_.Exists(beside) || folders_.data.empty()) return beside;
    const std::string installed = folders_.data + name;
    return files_.Exists(installed) ? installed : beside;
}

std::vector<TopicFolder> Locations::TopicFolders() const {
    std::vector<TopicFolder> folders{{folders_.start, files_.ListFiles(folders_.start)}};
    if (!folders_.data.empty() && folders_.data != folders_.start)
        folders.push_back({folders_.data, files_.ListFiles(folders_.data)});
    return folders;
}

std::string Locations::SaveFolder() const {
    for (const std::string* folder : {&folders_.start, &folders_.documents, &folders_.home})
        if (!folder->empty() && files_.CanWriteIn(*folder)) return *folder;
    // Nowhere to write: the start directory, where a save then fails and says so.
    return folders_.start;
}

std::string Locations::InSaveFolder(const std::string& path) const {
    return IsAbsolute(path) ? path : SaveFolder() + path;
}

}  // namespace qb

#include "fakes/FakePorts.h"

#include <algorithm>
#include <new>

#include <gtest/gtest.h>

#include <cstdio>

namespace qb::test {
namespace {

// The next scripted answer, taken from the script; none once it is empty.
template <class T>
T Next(std::deque<T>& script, T none = T()) {
    if (script.empty()) return none;
    T answer = std::move(script.front());
    script.pop_front();
    return answer;
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('/') + 1); }

}  // namespace

MessageAnswer FakeMessagePort::ShowMessage(const MessageRequest& request) {
    shown.push_back(request);
    if (whileShown) whileShown(request);
    // Boxes with OK alone are never answered from the script.
    if (request.buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    return Next(answers, request.defaultAnswer);
}

std::vector<std::string> FakeMessagePort::Errors() const {
    std::vector<std::string> texts;
    for (const auto& m : shown)
        if (m.title == "Oops!") texts.push_back(m.text);
    return texts;
}

std::string FakeSettingsPort::Get(const std::string& application, const std::string& section,
                                  const std::string& key) {
    EXPECT_EQ(application, "the Quillbox");
    EXPECT_EQ(section, "Settings");
    auto it = values.find(key);
    return it == values.end() ? std::string() : it->second;
}

bool FakeSettingsPort::Save(const std::string& application, const std::string& section, const std::string& key,
                            const std::string& value) {
    EXPECT_EQ(application, "the Quillbox");
    EXPECT_EQ(section, "Settings");
    if (failSaves) return false;
    values[key] = value;
    ++writes;
    return true;
}

std::optional<std::string> FakeDialogPort::FileDialog(const FileDialogRequest& request) {
    fileRequests.push_back(request);
    return Next(files);
}

std::optional<std::string> FakeDialogPort::FileDialogOfType(const FileDialogRequest& request, int& type) {
    fileTypesOffered.push_back(type);
    type = Next(fileTypes, type);
    return FileDialog(request);
}

std::optional<std::string> FakeDialogPort::NotePrompt(const std::string& initial, bool& tooltipsOn) {
    tooltipsOn ^= ctrlT;
    notePrompts.push_back(initial);
    return Next(notes);
}

bool FakeDialogPort::TaxRatesDialog(TaxRatesForm& form, bool& tooltipsOn) {
    tooltipsOn ^= ctrlT;
    taxRatesShown.push_back(form);
    const std::optional<TaxRatesForm> answer = Next(taxRates);
    if (answer) form = *answer;
    return answer.has_value();
}

std::optional<std::string> FakeDialogPort::FindPrompt(const std::string& initial, bool& tooltipsOn) {
    tooltipsOn ^= ctrlT;
    findPrompts.push_back(initial);
    return Next(finds);
}

std::optional<std::string> FakeDialogPort::CaptionPrompt(const std::string& initial, bool& tooltipsOn) {
    tooltipsOn ^= ctrlT;
    captionPrompts.push_back(initial);
    return Next(captions);
}

std::optional<int> FakeDialogPort::PrinterDialog(const std::string& /*title*/) { return Next(printerAnswers); }

std::optional<char> FakeDialogPort::ChooseCopy(bool selectedOffered, bool& tooltipsOn) {
    tooltipsOn ^= ctrlT;
    copyOffers.push_back(selectedOffered);
    return Next(copyChoices);
}

bool FakeDialogPort::TimedEventDialog(TimedEventForm& form, bool& tooltipsOn, const TimedEventRules& rules) {
    tooltipsOn ^= ctrlT;
    eventFormsShown.push_back(form);
    if (eventForms.empty()) return false;
    TimedEventForm typed = Next(eventForms);
    if (rules.Check(typed)) return false;
    form = typed;
    return true;
}

std::optional<std::string> FakeClockPort::ParseDate(const std::string& text) {
    int a = 0, b = 0, c = 0;
    char s1 = 0, s2 = 0;
    if (std::sscanf(text.c_str(), "%d%c%d%c%d", &a, &s1, &b, &s2, &c) != 5) return std::nullopt;
    int month = a, day = b, year = c;
    if (s1 == '-' && s2 == '-') month = b, day = c, year = a;
    else if (s1 != '/' || s2 != '/') return std::nullopt;
    if (year < 100) year += year < 30 ? 2000 : 1900;
    if (month < 1 || month > 12 || day < 1 || day > 31) return std::nullopt;
    return std::to_string(month) + "/" + std::to_string(day) + "/" + std::to_string(year);
}

ReadOutcome FakeFilePort::ReadAll(const std::string& path, std::string& bytes, std::uint64_t limit) {
    lastLimit = limit;
    if (outOfMemory) throw std::bad_alloc();
    if (tooLarge.count(path)) return ReadOutcome::TooLarge;
    auto it = files.find(path);
    if (it == files.end()) return ReadOutcome::Failed;
    if (it->second.size() > limit) return ReadOutcome::TooLarge;
    bytes = it->second;
    return ReadOutcome::Read;
}

bool FakeFilePort::WriteAll(const std::string& path, const std::string& bytes) {
    ++writes;
    const std::string folder = FolderOf(path);
    const bool inPlace = WritesInPlace(path);
    filesAtWrite = files;
    // The temporary renamed into place, named as a save names it, told of before it is made.
    if (!inPlace && temporaryWatcher) temporaryWatcher(folder + "." + path.substr(folder.size()) + "-tmp.saving");
    log.push_back((inPlace ? "in place " : "write ") + path);
    // A read-only folder still lets a writable file in it be written over.
    if (failWrites || (readOnly.count(folder) && !files.count(path))) return false;
    files[path] = bytes;
    return true;
}

bool FakeFilePort::SyncPrivate(const std::string& path) {
    log.push_back("sync " + path);
    return files.count(path) != 0;
}

bool FakeFilePort::SyncFolder(const std::string& folder) {
    log.push_back("sync folder " + folder);
    return !failFolderSync;
}

std::vector<std::string> FakeFilePort::LogFrom(const std::string& from) const {
    auto it = std::find_if(log.begin(), log.end(), [&](const std::string& entry) { return entry.rfind(from, 0) == 0; });
    return std::vector<std::string>(it, log.end());
}

PrinterPort& FakePdfPort::Open(const std::string& pdfPath, const std::string& title) {
    printer = FakePrinter(printer.pageWidth, printer.pageHeight, printer.lineHeight);
    path = pdfPath;
    titles.push_back(title);
    return printer;
}

bool FakePdfPort::Finish(std::string& reason) {
    if (failure) {
        reason = *failure;
        return false;
    }
    std::string text;
    for (const PrintedJob& job : printer.jobs)
        for (std::size_t page = 0; page < job.size(); ++page) {
            if (page > 0) text += '\f';
            for (const std::string& line : FakePrinter::Texts(job[page])) text += line + '\n';
        }
    files_.files[path] = text;
    return true;
}

std::vector<std::string> FakeFilePort::ListFiles(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& [path, bytes] : files)
        if (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
            path.find('/', folder.size()) == std::string::npos)
            names.push_back(path.substr(folder.size()));
    return names;
}

bool FakeFilePort::CanWriteIn(const std::string& folder) {
    if (readOnly.count(folder)) return false;
    if (folders.count(folder)) return true;
    for (const auto& [path, bytes] : files)
        if (path.compare(0, folder.size(), folder) == 0) return true;
    return false;
}

PathKind FakeFilePort::KindOf(const std::string& path) {
    if (files.count(path) || tooLarge.count(path)) return PathKind::File;
    if (specials.count(path)) return PathKind::Other;
    const std::string folder = path.empty() || path.back() == '/' ? path : path + "/";
    if (folders.count(path) || folders.count(folder)) return PathKind::Folder;
    for (const auto& [name, bytes] : files)
        if (name.compare(0, folder.size(), folder) == 0) return PathKind::Folder;
    return PathKind::Missing;
}

bool FakeFilePort::MakePrivateFolder(const std::string& folder) {
    if (readOnly.count(folder) || notPrivate.count(folder)) return false;
    privateFolders.insert(folder);
    folders.insert(folder);
    return true;
}

bool FakeFilePort::WritePrivate(const std::string& path, ByteSource& source) {
    ++privateWrites;
    log.push_back("write private " + path);
    if (!privateFolders.count(FolderOf(path))) return false;
    if (failPrivateWrites > 0) {
        --failPrivateWrites;
        return false;
    }
    std::string bytes;
    for (std::string_view piece = source.Next(); !piece.empty(); piece = source.Next()) bytes += piece;
    files[path] = std::move(bytes);
    return true;
}

bool FakeFilePort::AppendPrivate(const std::string& path, std::string_view bytes) {
    ++appends;
    log.push_back("append " + path);
    auto it = files.find(path);
    if (it == files.end()) return false;
    if (tearNextAppend) {
        it->second.append(bytes.substr(0, *tearNextAppend));
        tearNextAppend.reset();
        return false;
    }
    it->second.append(bytes);
    return true;
}

bool FakeFilePort::Rename(const std::string& from, const std::string& to) {
    auto it = files.find(from);
    if (it == files.end() || files.count(to) || !folders.count(FolderOf(to))) return false;
    files[to] = std::move(it->second);
    files.erase(from);
    return true;
}

bool FakeFilePort::Remove(const std::string& path) {
    log.push_back("remove " + path);
    return files.erase(path) != 0;
}

ReadOutcome FakeFilePort::ReadPrivate(const std::string& path, std::string& bytes, std::uint64_t limit) {
    bytes.clear();
    if (notPrivate.count(path)) return ReadOutcome::NotPrivate;
    return ReadAll(path, bytes, limit);
}

LockOutcome FakeFilePort::LockPrivate(const std::string& path) {
    if (lockedElsewhere.count(path)) return LockOutcome::HeldElsewhere;
    if (noLocks || !privateFolders.count(FolderOf(path))) return LockOutcome::Failed;
    locks.insert(path);
    files.emplace(path, std::string());
    return LockOutcome::Held;
}

void FakeFilePort::UnlockPrivate(const std::string& path, bool remove) {
    if (!locks.erase(path)) return;
    if (remove) files.erase(path);
}

bool FakeDialogPort::CorrectLineDialog(CorrectLineForm& form, bool& tooltipsOn) {
    tooltipsOn ^= ctrlT;
    correctionsShown.push_back(form);
    const std::optional<CorrectLineForm> answer = Next(corrections);
    if (answer) form = *answer;
    return answer.has_value();
}

}  // namespace qb::test

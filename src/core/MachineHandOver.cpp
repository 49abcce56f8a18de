// A tape file from outside the program: named on the command line, or handed over by a second
// start to the copy that runs.
#include "Machine.h"

#include "documents/HandOver.h"
#include "platform/ErrorMessage.h"

namespace qb {

std::string Machine::OpenProblem(const std::string& path) {
    // The file port names files in UTF-8: another name would reach some other file, or none.
    if (!IsUtf8(path))
        return "The file name " + ShownName(path) + " is not valid for the Quillbox!\r\n\r\n" +
               "Rename the file, its name is not UTF-8 text";
    switch (files_.KindOf(path)) {
    case PathKind::File: return {};
    case PathKind::Missing: return "There is no file " + path;
    case PathKind::Folder: return path + " is a folder, not a tape file";
    case PathKind::Other: break;
    }
    return path + " is a pipe or a device, not a tape file";
}

void Machine::OpenFileCommand(const std::string& path) {
    HideShortcutKeys();
    if (!CheckPausedTimer()) {
        const std::string problem = OpenProblem(path);
        if (!problem.empty()) {
            ShowErrorMessage(ports_.messages, problem);
        } else if (AskSaveTape()) {
            OpenTapeFile(path);
            stopwatch_.ShowStoredTime(stopwatch_.ElapsedTime);
        }
    }
    FinalFocusStep();
    KeepRecoveryRecord();
}

}  // namespace qb

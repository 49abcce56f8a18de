#pragma once
// The documents room: the tape as a document. Its caption, its file and title, the questions
// before a tape is given up, New Tape, Open, Save, Save As and printing.

#include <optional>
#include <string>
#include <utility>

#include "documents/RecoveryFlow.h"
#include "documents/TapeFile.h"
#include "platform/DialogPort.h"

namespace qb {

class Desk;
class Timers;

class Documents final : public RecoverySource {
public:
    Documents(Desk& desk, Timers& timers, RecoveryFlow& recovery)
        : desk_(desk), timers_(timers), recovery_(recovery) {}

    static constexpr const char* kProduct = "the Quillbox";

    // Start-up: no file, the caption as the settings keep it.
    void Reset();
    void LoadCaption();

    const std::string& Caption() const { return caption_; }
    bool UseCaptionWithoutPrompt() const { return useCaptionWithoutPrompt_; }
    const std::string& LastTapeFile() const { return lastTapeFile_; }
    const std::string& TapeFileName() const { return tapeFileName_; }
    // The expanded window's title: the program, the tape's file, and whether it was recovered.
    std::string Title() const;
    // The tape came back from a record and has not been saved since.
    bool Recovered() const { return recovered_; }
    // After every event: a recovered tape that is unchanged again (saved, or new) is just a tape.
    void SettleRecovered();

    void NewCaption();
    void ClearCaption();

    // The bool results are false where the user cancelled, and the command that asked stops.
    enum class SaveOutcome { Saved, Cancelled, Failed };
    bool AskSaveTape();
    SaveOutcome SaveTape();
    SaveOutcome SaveTapeAs();
    // "... already exists. Do you want to replace it?": true on Yes.
    bool AskReplace(const std::string& name);
    bool AskReplaceChanged();
    // The user answered No to "Save the tape?" since the last call.
    bool TakeTapeDropped() { return std::exchange(tapeDropped_, false); }

    void NewTape();
    void OpenCommand();
    // A tape file named from outside (the command line, a second start): opened as Open
    // opens the file chosen in its dialog, after "Save the tape?"; a name that is no file's
    // says so, and nothing changes.
    void OpenFromOutside(const std::string& path);

    // The caption a printout (or its PDF) carries, asked for when the option says so; nothing
    // when the prompt was cancelled. And the heading of a timed event's printout.
    std::optional<std::string> CaptionToPrint();
    std::string EventHeading() const;
    // The name a printout or its PDF goes by (UTF-8): the caption, else the tape file's name,
    // else the program's.
    std::string DocumentTitle() const;
    void PrintTape();

    // The recovery record's view of the tape, and a recovered tape taken back.
    RecoveryState RecoveryStateNow() const override;
    void Recover(const RecoveredTape& tape) override;

private:
    static std::string CleanCaption(std::string caption);
    void ShowCaption();
    bool PromptForCaption();
    FileDialogRequest PrepareFileDialog(bool save) const;
    bool WriteTapeFile(const std::string& path, const std::string& caption);
    TapeReadResult ReadTapeFile(const std::string& path);
    // The tape's caption, calculator state and timer reading, as a tape file keeps them; and
    // the same taken back (the Entry box and the operation indicator follow).
    TapeValues TapeValuesNow() const;
    void TakeTapeValues(const TapeValues& values);
    void OpenTapeFile(const std::string& path);
    // Why a path given from outside cannot be opened, as the user is told; empty when it can.
    std::string OpenProblem(const std::string& path);

    Desk& desk_;
    Timers& timers_;
    RecoveryFlow& recovery_;
    std::string caption_;
    bool useCaptionWithoutPrompt_ = false;
    std::string lastTapeFile_;
    // The version of the tape's file it was read from or last written as; empty for none. A
    // recovered tape's file may have been written since by another copy: its version is unknown.
    std::string fileStamp_;
    static constexpr const char* kUnknownVersion = "unknown";
    std::string tapeFileName_;
    std::string writingInPlace_;  // a tape file being rewritten in place
    bool tapeDropped_ = false;
    bool recovered_ = false;
};

}  // namespace qb

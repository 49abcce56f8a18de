#pragma once
// Everything the program needs of the outside world, handed to the machine in one piece.

#include "platform/AudioPort.h"
#include "platform/ClipboardPort.h"
#include "platform/ClockPort.h"
#include "platform/DialogPort.h"
#include "platform/FilePort.h"
#include "platform/MessagePort.h"
#include "platform/PdfPort.h"
#include "platform/ProgressPort.h"
#include "platform/SettingsPort.h"

namespace qb {

struct Ports {
    MessagePort& messages;
    AudioPort* audio = nullptr;        // none: the machine runs silent
    SettingsPort* settings = nullptr;  // none: the settings live for this run only
    DialogPort* dialogs = nullptr;     // none: every dialog is cancelled, no printer
    FilePort* files = nullptr;         // none: no file can be read or written
    ClockPort* clock = nullptr;        // none: midnight forever, and no date can be read
    ClipboardPort* clipboard = nullptr;  // none: a clipboard of this program's own
    PdfPort* pdf = nullptr;            // none: no PDF can be written
    ProgressPort* progress = nullptr;  // none: long work shows no progress and cannot be cancelled
};

}  // namespace qb

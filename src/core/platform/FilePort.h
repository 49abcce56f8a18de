#pragma once
// Whole-file reads and writes, and the few questions the program asks of folders. A write
// replaces the file only once every byte is written: a failed write leaves the previous file
// exactly as it was and no partial file behind. (Only where the folder refuses a temporary file
// but the file itself may be written is it written in place.)

#include <cstdint>
#include <string>
#include <vector>

namespace qb {

enum class ReadOutcome {
    Read,
    Failed,    // the file cannot be opened or read
    TooLarge,  // it holds more than the limit (or never ends, as a device may not)
};

class FilePort {
public:
    virtual ~FilePort() = default;
    // The whole file, when it holds at most limit bytes; bytes is left empty otherwise.
    virtual ReadOutcome ReadAll(const std::string& path, std::string& bytes, std::uint64_t limit) = 0;
    virtual bool WriteAll(const std::string& path, const std::string& bytes) = 0;
    // A file (not a folder) of that path exists.
    virtual bool Exists(const std::string& path) = 0;
    // The names of the files in a folder, without the folder; none when it cannot be read.
    virtual std::vector<std::string> ListFiles(const std::string& folder) = 0;
    // The folder exists and this user may create files in it.
    virtual bool CanWriteIn(const std::string& folder) = 0;
};

}  // namespace qb

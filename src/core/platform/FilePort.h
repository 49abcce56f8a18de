#pragma once
// Whole-file reads and writes. A write replaces the file only once every byte is written: a
// failed write leaves the previous file exactly as it was and no partial file behind.

#include <string>

namespace qb {

class FilePort {
public:
    virtual ~FilePort() = default;
    // False when the file cannot be opened or read.
    virtual bool ReadAll(const std::string& path, std::string& bytes) = 0;
    virtual bool WriteAll(const std::string& path, const std::string& bytes) = 0;
};

}  // namespace qb

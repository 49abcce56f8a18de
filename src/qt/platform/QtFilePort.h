#pragma once
// Whole files through QFile and QSaveFile. Paths are UTF-8.

#include "platform/FilePort.h"

namespace qb {

class QtFilePort final : public FilePort {
public:
    bool ReadAll(const std::string& path, std::string& bytes) override;
    // Written to a temporary file beside the target and renamed over it only when complete.
    bool WriteAll(const std::string& path, const std::string& bytes) override;
};

}  // namespace qb

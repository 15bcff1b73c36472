#pragma once

// Every batch the server receives, verbatim, each followed by a line holding the record
// separator 0x1E, so tests can assert the exact text the program sent. Flushed per batch
// because tests read it while the server runs.

#include <fstream>
#include <mutex>
#include <string>
#include <string_view>

namespace simserver {

class BatchLog {
public:
    explicit BatchLog(const std::string &path); // empty path: logs nothing
    void append(std::string_view batch);

private:
    std::mutex mutex_;
    std::ofstream file_;
};

} // namespace simserver

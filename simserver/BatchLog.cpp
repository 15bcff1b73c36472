#include "BatchLog.h"

#include <stdexcept>

namespace simserver {

BatchLog::BatchLog(const std::string &path)
{
    if (path.empty())
        return;
    file_.open(path, std::ios::binary | std::ios::app);
    if (!file_)
        throw std::runtime_error("cannot open batch log " + path);
}

void BatchLog::append(std::string_view batch)
{
    if (!file_.is_open())
        return;
    const std::lock_guard lock(mutex_);
    file_ << batch << "\n\x1E\n";
    file_.flush();
}

} // namespace simserver

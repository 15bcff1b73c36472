#include "TdsDialect.h"

#include "DoneStatus.h"

namespace simserver {

Bytes TdsDialect::batchReply(const BatchOutcome &outcome, std::string database) const
{
    ByteWriter out;
    if (outcome.statements.empty())
        writeDone(out, 0, 0);
    for (std::size_t i = 0; i < outcome.statements.size(); ++i) {
        const StatementOutcome &statement = outcome.statements[i];
        const std::uint16_t more = i + 1 < outcome.statements.size() ? done::more : 0;
        if (statement.newDatabase) {
            writeDatabaseChange(out, *statement.newDatabase, database);
            database = *statement.newDatabase;
        }
        if (statement.error) {
            writeMessage(out, *statement.error);
            writeDone(out, more | (statement.error->severity > 10 ? done::error : 0), 0);
            continue;
        }
        if (statement.result)
            writeResult(out, *statement.result);
        const bool counted = statement.result || statement.rowCount > 0;
        writeDone(out, more | (counted ? done::count : 0), statement.rowCount);
    }
    return out.bytes();
}

Bytes TdsDialect::refusal(const ServerError &error) const
{
    ByteWriter out;
    writeMessage(out, error);
    writeDone(out, done::error, 0);
    return out.bytes();
}

Bytes TdsDialect::housekeepingDone() const
{
    ByteWriter out;
    writeDone(out, 0, 0);
    return out.bytes();
}

Bytes TdsDialect::attentionAcknowledged() const
{
    ByteWriter out;
    writeDone(out, done::attention, 0);
    return out.bytes();
}

} // namespace simserver

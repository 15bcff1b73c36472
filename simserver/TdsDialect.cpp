#include "TdsDialect.h"

#include "CellValue.h"
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

void writeIntN(ByteWriter &out, const Value &value, int width)
{
    if (!value) {
        out.u8(0);
        return;
    }
    const std::int64_t integer = cell::asInteger(*value);
    out.u8(static_cast<std::uint8_t>(width));
    if (width == 4)
        out.u32(static_cast<std::uint32_t>(integer));
    else
        out.u64(static_cast<std::uint64_t>(integer));
}

void writeFltN(ByteWriter &out, const Value &value)
{
    if (!value) {
        out.u8(0);
        return;
    }
    out.u8(8);
    out.f64(cell::asFloat(*value));
}

} // namespace simserver

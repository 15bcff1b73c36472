#pragma once

// What differs between TDS 7.4 and TDS 5.0: how the login and requests are read and how
// results, errors and acknowledgements are written. ClientConnection drives either one.

#include "ByteWriter.h"
#include "Engine.h"
#include "PacketChannel.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace simserver {

struct LoginRequest {
    std::string user;     // UTF-8
    std::string password; // UTF-8
    std::string database; // empty when the client names none
    std::size_t packetSize = 0;
};

struct ClientRequest {
    enum class Kind { Batch, Housekeeping, Refused };
    Kind kind = Kind::Refused;
    std::string text;  // Batch: the SQL as UTF-8
    ServerError error; // Refused: what the client is told
};

class TdsDialect {
public:
    virtual ~TdsDialect() = default;

    virtual std::optional<LoginRequest> parseLogin(const Message &message) const = 0;
    virtual Bytes loginAccepted(const std::string &database, std::size_t packetSize) const = 0;
    virtual Bytes loginRejected(const std::string &user) const = 0;

    virtual ClientRequest parseRequest(const Message &message) const = 0;

    // `database` is the one in use before the batch ran; `use` statements report the change.
    Bytes batchReply(const BatchOutcome &outcome, std::string database) const;
    Bytes refusal(const ServerError &error) const;
    Bytes housekeepingDone() const;
    Bytes attentionAcknowledged() const;

protected:
    virtual void writeDatabaseChange(ByteWriter &out, const std::string &database, const std::string &previous) const = 0;
    virtual void writeMessage(ByteWriter &out, const ServerError &error) const = 0;
    virtual void writeResult(ByteWriter &out, const ResultSet &result) const = 0;
    virtual void writeDone(ByteWriter &out, std::uint16_t status, std::int64_t count) const = 0;
};

// INTN and FLTN cells look the same in both versions: a length byte (0 for NULL), then the value.
void writeIntN(ByteWriter &out, const Value &value, int width);
void writeFltN(ByteWriter &out, const Value &value);

} // namespace simserver

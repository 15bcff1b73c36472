#pragma once

// TDS 5.0 as Adaptive Server speaks it: a fixed login record, LANGUAGE requests, ROWFMT
// results, EED messages and 4-byte row counts. Text travels as UTF-8 (charset utf8).

#include "TdsDialect.h"

namespace simserver {

class Tds5Dialect : public TdsDialect {
public:
    explicit Tds5Dialect(Persona persona) : persona_(persona) {}

    std::optional<LoginRequest> parseLogin(const Message &message) const override;
    Bytes loginAccepted(const std::string &database, std::size_t packetSize) const override;
    Bytes loginRejected(const std::string &user) const override;

    ClientRequest parseRequest(const Message &message) const override;

protected:
    void writeDatabaseChange(ByteWriter &out, const std::string &database, const std::string &previous) const override;
    void writeMessage(ByteWriter &out, const ServerError &error) const override;
    void writeResult(ByteWriter &out, const ResultSet &result) const override;
    void writeDone(ByteWriter &out, std::uint16_t status, std::int64_t count) const override;

private:
    void writeLoginAck(ByteWriter &out, std::uint8_t status) const;

    Persona persona_;
};

} // namespace simserver

#pragma once

// TDS 7.4 as SQL Server speaks it: UTF-16 strings, PRELOGIN before LOGIN7, 8-byte row counts.

#include "TdsDialect.h"

namespace simserver {

class Tds7Dialect : public TdsDialect {
public:
    explicit Tds7Dialect(Persona persona) : persona_(persona) {}

    // Refuses encryption: answering "off" would make the client start TLS for the login.
    static Bytes preloginReply();

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
    Persona persona_;
};

} // namespace simserver

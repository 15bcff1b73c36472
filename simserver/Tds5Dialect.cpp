#include "Tds5Dialect.h"

#include "CellValue.h"
#include "DoneStatus.h"

#include <algorithm>
#include <charconv>

namespace simserver {

namespace {
constexpr std::uint8_t tokenLanguage = 0x21;
constexpr std::uint8_t tokenLogout = 0x71;
constexpr std::uint8_t tokenLoginAck = 0xAD;
constexpr std::uint8_t tokenRow = 0xD1;
constexpr std::uint8_t tokenEnvChange = 0xE3;
constexpr std::uint8_t tokenEed = 0xE5;
constexpr std::uint8_t tokenDynamic = 0xE7;
constexpr std::uint8_t tokenRowFormat = 0xEE;
constexpr std::uint8_t tokenDone = 0xFD;
constexpr std::uint8_t tokenDynamic2 = 0x62;

constexpr std::uint8_t envDatabase = 1;
constexpr std::uint8_t envCharset = 3;
constexpr std::uint8_t envPacketSize = 4;

constexpr std::uint8_t typeVarChar = 0x27;
constexpr std::uint8_t typeIntN = 0x26;
constexpr std::uint8_t typeFloatN = 0x6D;
constexpr std::uint8_t typeLongChar = 0xAF;

constexpr std::uint8_t loginSucceeded = 5;
constexpr std::uint8_t loginFailed = 6;
constexpr std::uint8_t columnNullable = 0x20;
constexpr std::size_t varcharMaxBytes = 255;

// Offsets in the login record.
constexpr std::size_t userAt = 31, userLengthAt = 61;
constexpr std::size_t passwordAt = 62, passwordLengthAt = 92;
constexpr std::size_t packetSizeAt = 557, packetSizeLengthAt = 563;

const char *serverName = "SIMSERVER";

void writeShortString(ByteWriter &out, std::string_view text)
{
    const std::string_view cut = text.substr(0, 255);
    out.u8(static_cast<std::uint8_t>(cut.size()));
    out.raw(cut);
}

void writeDoneToken(ByteWriter &out, std::uint16_t status, std::int64_t count)
{
    out.u8(tokenDone);
    out.u16(status);
    out.u16(0); // transaction state
    out.u32(static_cast<std::uint32_t>(std::clamp<std::int64_t>(count, 0, 0x7FFFFFFF)));
}

void writeEnvChange(ByteWriter &out, std::uint8_t type, std::string_view newValue, std::string_view oldValue)
{
    const std::size_t mark = out.openToken(tokenEnvChange);
    out.u8(type);
    writeShortString(out, newValue);
    writeShortString(out, oldValue);
    out.closeToken(mark);
}

void writeEed(ByteWriter &out, const ServerError &error)
{
    const std::size_t mark = out.openToken(tokenEed);
    out.u32(static_cast<std::uint32_t>(error.number));
    out.u8(static_cast<std::uint8_t>(error.state));
    out.u8(static_cast<std::uint8_t>(error.severity));
    writeShortString(out, "ZZZZZ");
    out.u8(0);  // no parameters follow
    out.u16(0); // transaction state
    const std::string_view message = std::string_view(error.message).substr(0, 0xFFFF);
    out.u16(static_cast<std::uint16_t>(message.size()));
    out.raw(message);
    writeShortString(out, serverName);
    writeShortString(out, "");
    out.u16(1);
    out.closeToken(mark);
}

// ASE turns '' into a single blank: a zero length means NULL on the wire.
std::string wireText(const cell::Present &value)
{
    std::string text = cell::asText(value);
    return text.empty() ? std::string(" ") : text;
}

std::size_t longestText(const ResultSet &result, std::size_t column)
{
    std::size_t longest = 0;
    for (const std::vector<Value> &row : result.rows)
        if (row[column])
            longest = std::max(longest, wireText(*row[column]).size());
    return longest;
}

void writeResultTokens(ByteWriter &out, const ResultSet &result)
{
    std::vector<bool> longChar(result.columns.size());
    std::vector<int> intWidth(result.columns.size());
    const std::size_t mark = out.openToken(tokenRowFormat);
    out.u16(static_cast<std::uint16_t>(result.columns.size()));
    for (std::size_t c = 0; c < result.columns.size(); ++c) {
        writeShortString(out, result.columns[c].name);
        out.u8(columnNullable);
        out.u32(0); // user type
        switch (result.columns[c].type) {
        case ColumnType::Integer:
            intWidth[c] = cell::integerWidth(result, c);
            out.u8(typeIntN);
            out.u8(static_cast<std::uint8_t>(intWidth[c]));
            break;
        case ColumnType::Float:
            out.u8(typeFloatN);
            out.u8(8);
            break;
        case ColumnType::Text: {
            const std::size_t longest = longestText(result, c);
            longChar[c] = longest > varcharMaxBytes;
            if (longChar[c]) {
                out.u8(typeLongChar);
                out.u32(static_cast<std::uint32_t>(longest));
            } else {
                out.u8(typeVarChar);
                out.u8(static_cast<std::uint8_t>(varcharMaxBytes));
            }
            break;
        }
        }
        out.u8(0); // no locale
    }
    out.closeToken(mark);

    for (const std::vector<Value> &row : result.rows) {
        out.u8(tokenRow);
        for (std::size_t c = 0; c < result.columns.size(); ++c) {
            const Value &value = row[c];
            switch (result.columns[c].type) {
            case ColumnType::Integer:
                writeIntN(out, value, intWidth[c]);
                break;
            case ColumnType::Float:
                writeFltN(out, value);
                break;
            case ColumnType::Text: {
                const std::string text = value ? wireText(*value) : std::string();
                if (longChar[c])
                    out.u32(static_cast<std::uint32_t>(text.size()));
                else
                    out.u8(static_cast<std::uint8_t>(text.size()));
                out.raw(text);
                break;
            }
            }
        }
    }
}

std::string fixedField(const Bytes &p, std::size_t at, std::size_t lengthAt, std::size_t capacity)
{
    if (p.size() <= lengthAt)
        return {};
    const std::size_t length = std::min<std::size_t>(p[lengthAt], capacity);
    return std::string(reinterpret_cast<const char *>(p.data() + at), length);
}
} // namespace

std::optional<LoginRequest> Tds5Dialect::parseLogin(const Message &message) const
{
    const Bytes &p = message.payload;
    if (message.type != packet::login || p.size() <= passwordLengthAt)
        return std::nullopt;
    LoginRequest login;
    login.user = fixedField(p, userAt, userLengthAt, 30);
    login.password = fixedField(p, passwordAt, passwordLengthAt, 30);
    const std::string packetSize = fixedField(p, packetSizeAt, packetSizeLengthAt, 6);
    std::from_chars(packetSize.data(), packetSize.data() + packetSize.size(), login.packetSize);
    return login;
}

void Tds5Dialect::writeLoginAck(ByteWriter &out, std::uint8_t status) const
{
    const std::size_t mark = out.openToken(tokenLoginAck);
    out.u8(status);
    out.raw(Bytes{5, 0, 0, 0}); // TDS 5.0
    if (persona_ == Persona::Ase) {
        writeShortString(out, "Adaptive Server Enterprise");
        out.raw(Bytes{16, 0, 0, 0});
    } else {
        writeShortString(out, "Microsoft SQL Server");
        out.raw(Bytes{16, 0, 0x03, 0xE8});
    }
    out.closeToken(mark);
}

Bytes Tds5Dialect::loginAccepted(const std::string &database, std::size_t packetSize) const
{
    ByteWriter out;
    writeEnvChange(out, envDatabase, database, "");
    writeEnvChange(out, envCharset, "utf8", "");
    writeEnvChange(out, envPacketSize, std::to_string(packetSize), "512");
    writeLoginAck(out, loginSucceeded);
    writeDoneToken(out, 0, 0);
    return out.bytes();
}

Bytes Tds5Dialect::loginRejected(const std::string &) const
{
    ByteWriter out;
    writeEed(out, ServerError{4002, 14, 1, "Login failed."});
    writeLoginAck(out, loginFailed);
    writeDoneToken(out, done::error, 0);
    return out.bytes();
}

ClientRequest Tds5Dialect::parseRequest(const Message &message) const
{
    ClientRequest request;
    const Bytes &p = message.payload;
    if (message.type == packet::sqlBatch) {
        request.kind = ClientRequest::Kind::Batch;
        request.text.assign(p.begin(), p.end());
        return request;
    }
    if (message.type != packet::tokens || p.empty()) {
        request.error = ServerError{4016, 16, 1, "This request type is not supported by this server."};
        return request;
    }
    switch (p[0]) {
    case tokenLanguage: {
        // Length (4 bytes, counting the status byte), status, then the text.
        if (p.size() < 6)
            break;
        const std::size_t length = p[1] | (p[2] << 8) | (p[3] << 16) | (static_cast<std::size_t>(p[4]) << 24);
        const std::size_t textLength = std::min(length > 0 ? length - 1 : 0, p.size() - 6);
        request.kind = ClientRequest::Kind::Batch;
        request.text.assign(p.begin() + 6, p.begin() + 6 + static_cast<std::ptrdiff_t>(textLength));
        return request;
    }
    case tokenLogout:
        request.kind = ClientRequest::Kind::Housekeeping;
        return request;
    case tokenDynamic:
    case tokenDynamic2:
        // Refusing makes the client run its statements as plain language text instead.
        request.error = ServerError{2782, 16, 1, "Dynamic SQL is not supported by this server."};
        return request;
    default:
        break;
    }
    request.error = ServerError{4016, 16, 1, "This request type is not supported by this server."};
    return request;
}

void Tds5Dialect::writeDatabaseChange(ByteWriter &out, const std::string &database, const std::string &previous) const
{
    writeEnvChange(out, envDatabase, database, previous);
}

void Tds5Dialect::writeMessage(ByteWriter &out, const ServerError &error) const { writeEed(out, error); }

void Tds5Dialect::writeResult(ByteWriter &out, const ResultSet &result) const { writeResultTokens(out, result); }

void Tds5Dialect::writeDone(ByteWriter &out, std::uint16_t status, std::int64_t count) const
{
    writeDoneToken(out, status, count);
}

} // namespace simserver

#include "Tds7Dialect.h"

#include "CellValue.h"
#include "DoneStatus.h"
#include "Utf16.h"

#include <algorithm>

namespace simserver {

namespace {
constexpr std::uint8_t tokenColMetadata = 0x81;
constexpr std::uint8_t tokenError = 0xAA;
constexpr std::uint8_t tokenInfo = 0xAB;
constexpr std::uint8_t tokenLoginAck = 0xAD;
constexpr std::uint8_t tokenRow = 0xD1;
constexpr std::uint8_t tokenEnvChange = 0xE3;
constexpr std::uint8_t tokenDone = 0xFD;

constexpr std::uint8_t envDatabase = 1;
constexpr std::uint8_t envPacketSize = 4;
constexpr std::uint8_t envCollation = 7;

constexpr std::uint8_t typeIntN = 0x26;
constexpr std::uint8_t typeFloatN = 0x6D;
constexpr std::uint8_t typeNVarChar = 0xE7;

constexpr std::uint16_t nvarcharMaxBytes = 8000;
constexpr std::uint16_t plpMarker = 0xFFFF; // nvarchar(max)
constexpr std::uint64_t plpUnknownLength = 0xFFFFFFFFFFFFFFFEull;
constexpr std::uint64_t plpNull = 0xFFFFFFFFFFFFFFFFull;

// Latin1_General_CI_AS: LCID 0x0409, case-insensitive, accent-sensitive.
constexpr std::uint8_t collation[5] = {0x09, 0x04, 0xD0, 0x00, 0x34};

const char *serverName = "SIMSERVER";

void writeUtf16(ByteWriter &out, const std::u16string &text)
{
    for (char16_t unit : text)
        out.u16(unit);
}

// B_VARCHAR: a length in characters (one byte), then UTF-16.
void writeBVarChar(ByteWriter &out, std::string_view utf8)
{
    std::u16string text = utf16::fromUtf8(utf8);
    if (text.size() > 255)
        text.resize(255);
    out.u8(static_cast<std::uint8_t>(text.size()));
    writeUtf16(out, text);
}

void writeUsVarChar(ByteWriter &out, std::string_view utf8)
{
    std::u16string text = utf16::fromUtf8(utf8);
    if (text.size() > 0xFFFF)
        text.resize(0xFFFF);
    out.u16(static_cast<std::uint16_t>(text.size()));
    writeUtf16(out, text);
}

void writeDoneToken(ByteWriter &out, std::uint16_t status, std::int64_t count)
{
    out.u8(tokenDone);
    out.u16(status);
    out.u16(done::selectCommand);
    out.u64(static_cast<std::uint64_t>(count));
}

void writeEnvChange(ByteWriter &out, std::uint8_t type, std::string_view newValue, std::string_view oldValue)
{
    const std::size_t mark = out.openToken(tokenEnvChange);
    out.u8(type);
    writeBVarChar(out, newValue);
    writeBVarChar(out, oldValue);
    out.closeToken(mark);
}

void writeMessageToken(ByteWriter &out, const ServerError &error)
{
    const std::size_t mark = out.openToken(error.severity > 10 ? tokenError : tokenInfo);
    out.u32(static_cast<std::uint32_t>(error.number));
    out.u8(static_cast<std::uint8_t>(error.state));
    out.u8(static_cast<std::uint8_t>(error.severity));
    writeUsVarChar(out, error.message);
    writeBVarChar(out, serverName);
    writeBVarChar(out, "");
    out.u32(1);
    out.closeToken(mark);
}

bool needsPlp(const ResultSet &result, std::size_t column)
{
    return std::any_of(result.rows.begin(), result.rows.end(), [column](const std::vector<Value> &row) {
        const Value &value = row[column];
        return value && std::holds_alternative<std::string>(*value) &&
               utf16::fromUtf8(std::get<std::string>(*value)).size() * 2 > nvarcharMaxBytes;
    });
}

void writeResultTokens(ByteWriter &out, const ResultSet &result)
{
    std::vector<bool> plp(result.columns.size());
    std::vector<int> intWidth(result.columns.size());
    out.u8(tokenColMetadata);
    out.u16(static_cast<std::uint16_t>(result.columns.size()));
    for (std::size_t c = 0; c < result.columns.size(); ++c) {
        out.u32(0);      // user type
        out.u16(0x0001); // nullable
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
        case ColumnType::Text:
            plp[c] = needsPlp(result, c);
            out.u8(typeNVarChar);
            out.u16(plp[c] ? plpMarker : nvarcharMaxBytes);
            out.raw(std::string_view(reinterpret_cast<const char *>(collation), sizeof collation));
            break;
        }
        writeBVarChar(out, result.columns[c].name);
    }
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
                if (!value) {
                    if (plp[c])
                        out.u64(plpNull);
                    else
                        out.u16(0xFFFF);
                    break;
                }
                const std::u16string text = utf16::fromUtf8(cell::asText(*value));
                const auto bytes = static_cast<std::uint32_t>(text.size() * 2);
                if (plp[c]) {
                    out.u64(plpUnknownLength);
                    if (bytes > 0) {
                        out.u32(bytes);
                        writeUtf16(out, text);
                    }
                    out.u32(0);
                } else {
                    out.u16(static_cast<std::uint16_t>(bytes));
                    writeUtf16(out, text);
                }
                break;
            }
            }
        }
    }
}
} // namespace

Bytes Tds7Dialect::preloginReply()
{
    // Option table (token, big-endian offset and length), 0xFF, then the option data.
    struct Option {
        std::uint8_t token;
        Bytes data;
    };
    const Option options[] = {
        {0x00, {16, 0, 0x03, 0xE8, 0, 0}}, // version 16.0.1000, sub-build 0
        {0x01, {0x02}},                    // encryption not supported
        {0x02, {0x00}},                    // instance: accepted
        {0x03, {0, 0, 0, 0}},              // thread id
        {0x04, {0x00}},                    // no MARS
    };
    ByteWriter out;
    std::uint16_t offset = sizeof options / sizeof options[0] * 5 + 1;
    for (const Option &option : options) {
        out.u8(option.token);
        out.u16be(offset);
        out.u16be(static_cast<std::uint16_t>(option.data.size()));
        offset += static_cast<std::uint16_t>(option.data.size());
    }
    out.u8(0xFF);
    for (const Option &option : options)
        out.raw(option.data);
    return out.bytes();
}

std::optional<LoginRequest> Tds7Dialect::parseLogin(const Message &message) const
{
    const Bytes &p = message.payload;
    if (message.type != packet::login7 || p.size() < 94)
        return std::nullopt;
    const auto u16At = [&p](std::size_t at) { return static_cast<std::size_t>(p[at] | (p[at + 1] << 8)); };
    // Offsets and lengths (in characters) of the variable part; each must lie inside the record.
    const auto field = [&](std::size_t at) -> std::optional<std::pair<std::size_t, std::size_t>> {
        const std::size_t offset = u16At(at);
        const std::size_t chars = u16At(at + 2);
        if (offset + chars * 2 > p.size())
            return std::nullopt;
        return std::pair{offset, chars};
    };
    const auto user = field(40);
    const auto password = field(44);
    const auto database = field(68);
    if (!user || !password || !database)
        return std::nullopt;

    LoginRequest login;
    login.packetSize = p[8] | (p[9] << 8) | (p[10] << 16) | (static_cast<std::size_t>(p[11]) << 24);
    login.user = utf16::decodeLittleEndian(p.data() + user->first, user->second);
    login.database = utf16::decodeLittleEndian(p.data() + database->first, database->second);
    // The password's bytes are nibble-swapped and XORed with 0xA5.
    Bytes clear(password->second * 2);
    for (std::size_t i = 0; i < clear.size(); ++i) {
        const std::uint8_t b = p[password->first + i] ^ 0xA5;
        clear[i] = static_cast<std::uint8_t>((b << 4) | (b >> 4));
    }
    login.password = utf16::decodeLittleEndian(clear.data(), password->second);
    while (!login.password.empty() && login.password.back() == '\0')
        login.password.pop_back();
    return login;
}

Bytes Tds7Dialect::loginAccepted(const std::string &database, std::size_t packetSize) const
{
    ByteWriter out;
    writeEnvChange(out, envDatabase, database, "master");

    std::size_t mark = out.openToken(tokenEnvChange);
    out.u8(envCollation);
    out.u8(sizeof collation);
    out.raw(std::string_view(reinterpret_cast<const char *>(collation), sizeof collation));
    out.u8(0);
    out.closeToken(mark);

    mark = out.openToken(tokenLoginAck);
    out.u8(1);              // interface: SQL
    out.u32be(0x74000004);  // TDS 7.4
    if (persona_ == Persona::Ase) {
        writeBVarChar(out, "Adaptive Server Enterprise");
        out.raw(Bytes{16, 0, 0, 0});
    } else {
        writeBVarChar(out, "Microsoft SQL Server");
        out.raw(Bytes{16, 0, 0x03, 0xE8});
    }
    out.closeToken(mark);

    writeEnvChange(out, envPacketSize, std::to_string(packetSize), "4096");
    writeDoneToken(out, 0, 0);
    return out.bytes();
}

Bytes Tds7Dialect::loginRejected(const std::string &user) const
{
    ByteWriter out;
    writeMessageToken(out, ServerError{18456, 14, 1, "Login failed for user '" + user + "'."});
    writeDoneToken(out, done::error, 0);
    return out.bytes();
}

ClientRequest Tds7Dialect::parseRequest(const Message &message) const
{
    ClientRequest request;
    switch (message.type) {
    case packet::sqlBatch: {
        // The batch follows ALL_HEADERS, whose first four bytes give its total length.
        const Bytes &p = message.payload;
        std::size_t start = 0;
        if (p.size() >= 4) {
            const std::size_t headers = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::size_t>(p[3]) << 24);
            if (headers >= 4 && headers <= p.size())
                start = headers;
        }
        request.kind = ClientRequest::Kind::Batch;
        request.text = utf16::decodeLittleEndian(p.data() + start, (p.size() - start) / 2);
        break;
    }
    case packet::transactionManager:
        request.kind = ClientRequest::Kind::Housekeeping;
        break;
    case packet::rpc:
        request.error = ServerError{2812, 16, 62, "Remote procedure calls are not supported by this server."};
        break;
    default:
        request.error = ServerError{4016, 16, 1, "This request type is not supported by this server."};
        break;
    }
    return request;
}

void Tds7Dialect::writeDatabaseChange(ByteWriter &out, const std::string &database, const std::string &previous) const
{
    writeEnvChange(out, envDatabase, database, previous);
}

void Tds7Dialect::writeMessage(ByteWriter &out, const ServerError &error) const { writeMessageToken(out, error); }

void Tds7Dialect::writeResult(ByteWriter &out, const ResultSet &result) const { writeResultTokens(out, result); }

void Tds7Dialect::writeDone(ByteWriter &out, std::uint16_t status, std::int64_t count) const
{
    writeDoneToken(out, status, count);
}

} // namespace simserver

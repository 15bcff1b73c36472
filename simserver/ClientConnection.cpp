#include "ClientConnection.h"

#include "Tds5Dialect.h"
#include "Tds7Dialect.h"

#include <algorithm>
#include <memory>

namespace simserver {

namespace {
constexpr std::size_t smallestPacket = 512;
constexpr std::size_t largestPacket = 32767;
constexpr std::size_t defaultPacket = 4096;
} // namespace

ClientConnection::ClientConnection(int socket, Engine &engine, const std::optional<std::string> &password,
                                   std::uint16_t spid)
    : channel_(socket), engine_(engine), password_(password), spid_(spid)
{
    channel_.setSpid(spid);
}

void ClientConnection::run()
{
    std::optional<Message> first = channel_.receive();
    if (!first)
        return;
    std::unique_ptr<TdsDialect> dialect;
    if (first->type == packet::prelogin) {
        dialect = std::make_unique<Tds7Dialect>(engine_.persona());
        channel_.send(packet::reply, Tds7Dialect::preloginReply());
        first = channel_.receive();
        if (!first)
            return;
    } else {
        dialect = std::make_unique<Tds5Dialect>(engine_.persona());
    }
    const std::optional<LoginRequest> login = dialect->parseLogin(*first);
    if (!login)
        return;
    if (password_ && login->password != *password_) {
        channel_.send(packet::reply, dialect->loginRejected(login->user));
        return;
    }

    const std::unique_ptr<Session> session =
        engine_.openSession(spid_, login->user, login->database.empty() ? "master" : login->database);
    const std::size_t packetSize =
        login->packetSize == 0 ? defaultPacket : std::clamp(login->packetSize, smallestPacket, largestPacket);
    channel_.send(packet::reply, dialect->loginAccepted(session->database(), packetSize));
    channel_.setPacketSize(packetSize);

    const auto cancelled = [this] { return channel_.attentionArrived(); };
    while (std::optional<Message> message = channel_.receive()) {
        if (message->type == packet::attention) {
            channel_.send(packet::reply, dialect->attentionAcknowledged());
            continue;
        }
        const ClientRequest request = dialect->parseRequest(*message);
        switch (request.kind) {
        case ClientRequest::Kind::Batch: {
            const std::string database = session->database();
            const BatchOutcome outcome = session->execute(request.text, cancelled);
            // The client discards everything up to the acknowledgement, so a late cancel
            // replaces the results rather than following them.
            if (outcome.cancelled || channel_.attentionArrived()) {
                channel_.clearAttention();
                channel_.send(packet::reply, dialect->attentionAcknowledged());
            } else {
                channel_.send(packet::reply, dialect->batchReply(outcome, database));
            }
            break;
        }
        case ClientRequest::Kind::Housekeeping:
            channel_.send(packet::reply, dialect->housekeepingDone());
            break;
        case ClientRequest::Kind::Refused:
            channel_.send(packet::reply, dialect->refusal(request.error));
            break;
        }
    }
}

} // namespace simserver

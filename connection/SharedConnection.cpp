#include "SharedConnection.h"

#include "StatusPanels.h"

#include <algorithm>

namespace {

const QString waitingText = QStringLiteral("Waiting for the server...");
const QString abandonedText = QStringLiteral("Abandoned: the server's answer will be ignored");

} // namespace

SharedConnection::SharedConnection(StatusPanels &sbStatus) : sbStatus_(sbStatus)
{
}

bool SharedConnection::pending(Kind kind) const
{
    return worker_.isPending(ids_[index(kind)]);
}

void SharedConnection::abandon(Kind kind)
{
    worker_.abandon(ids_[index(kind)]);
    ids_[index(kind)] = 0;
}

void SharedConnection::abandonAll()
{
    bool any = false;
    for (ConnectionWorker::RequestId &id : ids_) {
        any = any || worker_.isPending(id);
        worker_.abandon(id);
        id = 0;
    }
    if (any)
        sbStatus_.setPanelText(2, abandonedText);
}

void SharedConnection::showWaiting()
{
    sbStatus_.setPanelText(2, waitingText);
}

void SharedConnection::answered()
{
    // The answer's own text, if any, follows; the waiting text must not outlive the wait.
    const bool stillWaiting = std::any_of(ids_.begin(), ids_.end(),
                                          [this](ConnectionWorker::RequestId id) { return worker_.isPending(id); });
    if (!stillWaiting && sbStatus_.panelText(2) == waitingText)
        sbStatus_.setPanelText(2, QString());
}

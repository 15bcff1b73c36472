#include "ConnectionWorker.h"

#include "DatabaseError.h"
#include "TConnection.h"
#include "TQuery.h"

#include <QCoreApplication>
#include <QMutex>
#include <QThread>
#include <algorithm>

namespace {

constexpr int millisecondsPerSecond = 1000;
// The driver cancels a statement at the query time-out; this long after it the window stops
// waiting for the cancel to come back.
constexpr int cancelGraceSeconds = 5;

int deadlineSeconds(ConnectionWorker::Deadline deadline)
{
    return deadline == ConnectionWorker::Deadline::Login ? TConnection::loginTimeoutSeconds
                                                         : TConnection::queryTimeoutSeconds() + cancelGraceSeconds;
}

} // namespace

// The worker's side: a thread and the connection and query created, used and destroyed on it.
// It outlives its owner when it is stuck, and deletes itself once its thread has ended; until
// then `owner` tells it whether anyone still listens.
struct ConnectionWorker::Thread {
    Thread(ConnectionWorker *owner, int generation, QString connectionString)
        : owner(owner), generation(generation), connectionString(std::move(connectionString))
    {
        context.moveToThread(&thread);
        thread.setObjectName(QStringLiteral("quintaro-connection"));
        thread.start();
    }

    // Runs on the worker's thread.
    void run(RequestId id, Deadline deadline, const Job &job)
    {
        tell([id, deadline, generation = generation](ConnectionWorker &owner) {
            if (generation == owner.generation_)
                owner.started(id, deadline);
        });
        QString error;
        bool failed = false;
        bool lost = false;
        try {
            if (!connection) {
                connection = std::make_unique<TConnection>();
                // A query on a closed connection opens it with the string it had last.
                connection->setConnectionString(connectionString);
                query = std::make_unique<TQuery>(*connection);
            }
            job(*connection, *query);
        } catch (const DatabaseError &e) {
            failed = true;
            error = e.message();
            // A dead link is never reused: the next request opens a fresh one.
            if (e.linkLost()) {
                close();
                lost = true;
            }
        } catch (const std::exception &e) {
            failed = true;
            error = QString::fromUtf8(e.what());
        }
        if (failed && error.isNull())
            error = QStringLiteral("");
        const bool open = connection && connection->connected();
        const QString string = connection ? connection->connectionString() : connectionString;
        tell([id, error, open, lost, string, generation = generation](ConnectionWorker &owner) {
            if (generation == owner.generation_) {
                owner.connectionString_ = string;
                owner.finished(id, error, open, lost);
            }
        });
    }

    void close()
    {
        if (query)
            query->close();
        if (connection)
            connection->close();
    }

    // Queued behind whatever runs now; the thread ends once it gets there.
    void retire()
    {
        {
            QMutexLocker locked(&ownerLock);
            owner = nullptr;
        }
        QMetaObject::invokeMethod(&context, [this] {
            query.reset();
            connection.reset();
            // Handed back so that the thread that deletes it owns it.
            context.moveToThread(qApp->thread());
            thread.quit();
        });
        // Deleted on the thread that made it, once the worker's thread has ended.
        QObject::connect(&thread, &QThread::finished, qApp, [this] {
            thread.wait();
            delete this;
        }, Qt::QueuedConnection);
    }

    // Hands a report to the owner's thread, unless the owner has let this thread go.
    void tell(std::function<void(ConnectionWorker &)> report)
    {
        QMutexLocker locked(&ownerLock);
        if (ConnectionWorker *listener = owner)
            QMetaObject::invokeMethod(listener, [listener, report = std::move(report)] { report(*listener); },
                                      Qt::QueuedConnection);
    }

    QMutex ownerLock;
    ConnectionWorker *owner;
    const int generation;
    const QString connectionString;
    QThread thread;
    QObject context;
    std::unique_ptr<TConnection> connection;
    std::unique_ptr<TQuery> query;
};

ConnectionWorker::ConnectionWorker(QObject *parent) : QObject(parent)
{
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, &ConnectionWorker::deadlinePassed);
}

ConnectionWorker::~ConnectionWorker()
{
    if (thread_)
        thread_->retire();
}

ConnectionWorker::Thread &ConnectionWorker::thread()
{
    if (!thread_)
        thread_ = new Thread(this, ++generation_, connectionString_);
    return *thread_;
}

ConnectionWorker::RequestId ConnectionWorker::post(Deadline deadline, Job job, Done done)
{
    const RequestId id = ++lastId_;
    pending_.push_back({id, std::move(done)});
    ++inFlight_;
    Thread &worker = thread();
    QMetaObject::invokeMethod(&worker.context, [&worker, id, deadline, job = std::move(job)] {
        worker.run(id, deadline, job);
    });
    return id;
}

void ConnectionWorker::abandon(RequestId id)
{
    std::erase_if(pending_, [id](const Pending &request) { return request.id == id; });
}

bool ConnectionWorker::isPending(RequestId id) const
{
    return std::any_of(pending_.begin(), pending_.end(), [id](const Pending &request) { return request.id == id; });
}

void ConnectionWorker::startAfresh()
{
    deadline_.stop();
    pending_.clear();
    if (thread_)
        thread_->retire();
    thread_ = nullptr;
    inFlight_ = 0;
    runningId_ = 0;
    connected_ = false;
}

void ConnectionWorker::started(RequestId id, Deadline deadline)
{
    runningId_ = id;
    runningDeadline_ = deadline;
    deadline_.start(deadlineSeconds(deadline) * millisecondsPerSecond);
}

void ConnectionWorker::finished(RequestId id, const QString &error, bool connected, bool lost)
{
    if (id == runningId_) {
        deadline_.stop();
        runningId_ = 0;
    }
    --inFlight_;
    connected_ = connected;
    lostLink_ = (lostLink_ || lost) && !connected;
    const auto request = std::find_if(pending_.begin(), pending_.end(),
                                      [id](const Pending &pending) { return pending.id == id; });
    if (request == pending_.end())
        return;
    const Done done = std::move(request->done);
    pending_.erase(request);
    done(error, true);
}

void ConnectionWorker::deadlinePassed()
{
    const QString error = runningDeadline_ == Deadline::Login
                              ? QStringLiteral("Login timeout expired: the server did not answer within %1 s")
                                    .arg(TConnection::loginTimeoutSeconds)
                              : QStringLiteral("Query timeout expired: the server did not answer within %1 s")
                                    .arg(TConnection::queryTimeoutSeconds());
    const std::vector<Pending> failed = std::move(pending_);
    const bool wasConnected = connected_;
    startAfresh();
    lostLink_ = lostLink_ || wasConnected;
    for (const Pending &request : failed)
        request.done(error, false);
}

#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

class TConnection;
class TQuery;

// One server connection living on a thread of its own, so that no server, however slow or
// silent, holds the window. Requests run there one after the other; each one's outcome comes
// back to the owner's thread, where its continuation runs, unless the request was abandoned.
// A request that outlives its deadline is failed with a time-out and its thread is cut loose:
// whatever the driver is stuck in, the window never waits for it and the connection is never
// used again; the next request gets a fresh thread and a closed connection with the same string.
class ConnectionWorker : public QObject {
    Q_OBJECT
public:
    // What a request gets back: what its job wrote into the value (read up to a failure), or
    // the error the server, the driver or the deadline gave. A request that ran out of time
    // leaves the value as it was made: its job may still be writing into its own.
    template <class Value>
    struct Reply {
        Value value{};
        QString error;
        bool ok() const { return error.isNull(); }
    };
    using RequestId = quint64;

    // A login waits at most TConnection::loginTimeoutSeconds; a statement its query time-out
    // and a few seconds more for the driver's own cancel to come back.
    enum class Deadline { Login, Query };

    explicit ConnectionWorker(QObject *parent = nullptr);
    // Never waits for the thread: a worker stuck in the driver is left to the operating system.
    ~ConnectionWorker() override;

    // Runs job(connection, query, value) on the worker's thread. The deadline starts when the
    // job does, not while it waits behind earlier ones.
    template <class Value>
    RequestId request(Deadline deadline, std::function<void(TConnection &, TQuery &, Value &)> job,
                      std::function<void(const Reply<Value> &)> done)
    {
        auto reply = std::make_shared<Reply<Value>>();
        return post(
            deadline,
            [job = std::move(job), reply](TConnection &connection, TQuery &query) {
                job(connection, query, reply->value);
            },
            [done = std::move(done), reply](const QString &error, bool jobEnded) {
                if (!jobEnded) {
                    Reply<Value> timedOut;
                    timedOut.error = error;
                    return done(timedOut);
                }
                reply->error = error;
                done(*reply);
            });
    }

    // The request's outcome is dropped; the job itself runs to its end on the worker.
    void abandon(RequestId id);
    bool isPending(RequestId id) const;
    // True while any request, abandoned or not, has not finished on the worker's thread.
    bool busy() const { return inFlight_ > 0; }
    // True from a successful open until a close, a lost link or a deadline; read on the
    // owner's thread from what the worker last reported.
    bool connected() const { return connected_; }
    // The connection was open until the server or the network dropped it, or until a deadline
    // cut it loose: the next statement on it logs in again with the same string.
    bool lostLink() const { return lostLink_; }

    // The next request starts on a new thread with a closed connection; this one's requests
    // are abandoned and its thread, stuck or not, is left to finish on its own.
    void startAfresh();

private:
    struct Thread;
    using Job = std::function<void(TConnection &, TQuery &)>;
    // Called with the job's error (null for none); jobEnded is false when the deadline failed it.
    using Done = std::function<void(const QString &error, bool jobEnded)>;

    RequestId post(Deadline deadline, Job job, Done done);
    Thread &thread();
    void started(RequestId id, Deadline deadline);
    void finished(RequestId id, const QString &error, bool connected, bool lost);
    void deadlinePassed();

    Thread *thread_ = nullptr;
    RequestId lastId_ = 0;
    RequestId runningId_ = 0;
    int inFlight_ = 0;
    bool connected_ = false;
    bool lostLink_ = false;
    Deadline runningDeadline_ = Deadline::Query;
    int generation_ = 0;
    // The connection's string as the last finished request left it, for a fresh thread.
    QString connectionString_;
    QTimer deadline_;
    struct Pending {
        RequestId id;
        Done done;
    };
    std::vector<Pending> pending_;
};

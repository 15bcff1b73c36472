#pragma once

#include "ConnectionWorker.h"

#include <QString>
#include <array>

class StatusPanels;

// The window's shared connection dblocal with its query, on a worker of its own: Connect, the
// monitoring catalogue and Test. While one of them waits for the server, panel 2 of the main
// status bar says so; a second Connect or Test meanwhile does nothing, a newer catalogue
// question replaces the older, and Escape abandons them all.
class SharedConnection {
public:
    // Connect; the table list; a table's description and columns; a column's description; Test.
    enum class Kind { Connect, Tables, Table, Column, Test, Count };

    explicit SharedConnection(StatusPanels &sbStatus);

    ConnectionWorker &worker() { return worker_; }
    bool connected() const { return worker_.connected(); }
    bool pending(Kind kind) const;

    template <class Value>
    void request(Kind kind, ConnectionWorker::Deadline deadline,
                 std::function<void(TConnection &, TQuery &, Value &)> job,
                 std::function<void(const ConnectionWorker::Reply<Value> &)> done)
    {
        abandon(kind);
        showWaiting();
        ids_[index(kind)] = worker_.request<Value>(
            deadline, std::move(job), [this, done = std::move(done)](const ConnectionWorker::Reply<Value> &reply) {
                answered();
                done(reply);
            });
    }

    // Escape: every answer still to come is dropped.
    void abandonAll();

private:
    static std::size_t index(Kind kind) { return std::size_t(kind); }
    void abandon(Kind kind);
    void showWaiting();
    void answered();

    StatusPanels &sbStatus_;
    ConnectionWorker worker_;
    std::array<ConnectionWorker::RequestId, std::size_t(Kind::Count)> ids_{};
};

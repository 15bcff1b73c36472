#pragma once

// Sits between one client and the server on 127.0.0.1 and keeps every chunk that passes, so a
// test can hand the exact bytes of a session to a protocol dissector.

#include <QByteArray>
#include <QList>
#include <thread>

class RecordingRelay {
public:
    explicit RecordingRelay(quint16 serverPort);
    ~RecordingRelay();
    RecordingRelay(const RecordingRelay &) = delete;
    RecordingRelay &operator=(const RecordingRelay &) = delete;

    quint16 port() const { return port_; }
    // Waits until the client has gone, then returns the session as text2pcap reads it with -D:
    // "O" before what the client sent, "I" before what the server sent.
    QByteArray text2pcapInput();

private:
    struct Chunk {
        bool fromClient;
        QByteArray bytes;
    };
    void relay();

    quint16 serverPort_;
    quint16 port_ = 0;
    int listener_ = -1;
    QList<Chunk> chunks_;
    std::thread thread_;
};

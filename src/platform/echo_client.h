#pragma once
// ICMP echo (ping) for IPv4. The host must be a numeric dotted address: a name
// is never looked up, a text that is not an address is an error.

#include <QByteArray>
#include <QString>
#include <memory>

namespace lw {

struct Echo_Result {
    bool Ok = false;          // false: the echo could not be sent (Error says why)
    int Bytes_Received = 0;   // size of the echo reply; 0 for a time-out or an error reply
    QString Error;
    bool No_Socket = false;   // the error is that no ICMP socket could be opened
    QString Socket_Kind;      // which kind of socket carried the echo, for reports
};

class Echo_Client {
public:
    virtual ~Echo_Client() = default;
    // Sends one echo request to host with data and sequence, then waits up to
    // timeoutMs for its reply.
    virtual Echo_Result Echo(const QString& host, const QByteArray& data, quint16 sequence, int timeoutMs) = 0;
};

// The platform's echo client.
std::unique_ptr<Echo_Client> Make_System_Echo_Client();

} // namespace lw

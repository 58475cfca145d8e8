// Qt adapter of the system's echo client in os/echo.h.

#include "platform/echo_client.h"

#include "platform/os/echo.h"

#include <chrono>

namespace lw {

namespace {

class System_Echo_Client final : public Echo_Client {
public:
    System_Echo_Client() : m_client(os::Make_System_Echo_Client()) {}

    Echo_Result Echo(const QString& host, const QByteArray& data, quint16 sequence, int timeoutMs) override
    {
        const QByteArray hostBytes = host.toUtf8();
        const os::Echo_Result r = m_client->Echo(std::string_view(hostBytes.constData(), size_t(hostBytes.size())),
                                                 std::string_view(data.constData(), size_t(data.size())), sequence,
                                                 std::chrono::milliseconds(timeoutMs));
        Echo_Result result;
        result.Ok = r.Ok;
        result.Bytes_Received = r.Bytes_Received;
        result.Error = QString::fromUtf8(r.Error.data(), qsizetype(r.Error.size()));
        result.No_Socket = r.No_Socket;
        result.Socket_Kind = QString::fromUtf8(r.Socket_Kind.data(), qsizetype(r.Socket_Kind.size()));
        return result;
    }

private:
    std::unique_ptr<os::Echo_Client> m_client;
};

} // namespace

std::unique_ptr<Echo_Client> Make_System_Echo_Client()
{
    return std::make_unique<System_Echo_Client>();
}

} // namespace lw

// Windows: IcmpCreateFile / IcmpSendEcho of the IP helper library, which need
// no administrator rights. One handle per echo. The reply's size is given as
// on Linux: the ICMP header (8 bytes) and the echoed data.

#include "platform/os/echo.h"
#include "platform/os/windows_text.h"

#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
#include <icmpapi.h>

#include <vector>

namespace lw::os {

namespace {

constexpr int Icmp_Header_Bytes = 8;

class Windows_Echo_Client final : public Echo_Client {
public:
    Echo_Result Echo(std::string_view host, std::string_view data, std::uint16_t, std::chrono::milliseconds timeout)
        override
    {
        Echo_Result result;
        const std::optional<std::uint32_t> address = Parse_Numeric_IPv4(host);
        if (!address) {
            result.Error = "'" + std::string(host) + "' is not a numeric IPv4 address";
            return result;
        }
        HANDLE icmp = IcmpCreateFile();
        if (icmp == INVALID_HANDLE_VALUE) {
            result.No_Socket = true;
            result.Error = "cannot open an ICMP handle: " + windows::Error_Text(GetLastError());
            return result;
        }
        result.Socket_Kind = "IcmpSendEcho";
        // Room for one reply, its data and an ICMP error message, as the system asks.
        std::vector<unsigned char> reply(sizeof(ICMP_ECHO_REPLY) + data.size() + 8 + 64);
        const long long ms = timeout.count() < 1 ? 1 : timeout.count();
        const DWORD replies = IcmpSendEcho(icmp, htonl(*address), const_cast<char*>(data.data()), WORD(data.size()),
                                           nullptr, reply.data(), DWORD(reply.size()), DWORD(ms));
        const DWORD err = GetLastError();
        IcmpCloseHandle(icmp);
        if (replies == 0) {
            // A time-out or an error reply (unreachable): a reply without data.
            if (err == IP_REQ_TIMED_OUT || err == IP_DEST_HOST_UNREACHABLE || err == IP_DEST_NET_UNREACHABLE
                || err == IP_DEST_PORT_UNREACHABLE || err == IP_TTL_EXPIRED_TRANSIT || err == ERROR_TIMEOUT) {
                result.Ok = true;
                return result;
            }
            result.Error = "cannot send an echo request to " + std::string(host) + ": " + windows::Error_Text(err);
            if (err == ERROR_ACCESS_DENIED || err == ERROR_NOT_SUPPORTED || err == ERROR_CALL_NOT_IMPLEMENTED)
                result.No_Socket = true;
            return result;
        }
        const auto* echo = reinterpret_cast<const ICMP_ECHO_REPLY*>(reply.data());
        result.Ok = true;
        if (echo->Status == IP_SUCCESS)
            result.Bytes_Received = Icmp_Header_Bytes + int(echo->DataSize);
        return result;
    }
};

} // namespace

std::unique_ptr<Echo_Client> Make_System_Echo_Client()
{
    return std::make_unique<Windows_Echo_Client>();
}

} // namespace lw::os

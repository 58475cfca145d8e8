// Linux: an unprivileged ICMP datagram socket when net.ipv4.ping_group_range
// admits this process's group (the kernel then sets the identifier and hands
// back only our replies), else a raw ICMP socket (replies are matched by
// source, identifier and sequence). A socket is opened for each echo and
// closed after it.

#include "platform/os/echo.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <netinet/in.h>
#include <netinet/ip.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <random>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace lw::os {

namespace {

constexpr int Max_Datagram = 65536;

std::string Errno_Text(int err)
{
    return std::strerror(err);
}

std::uint16_t Random_Identifier()
{
    std::random_device device;
    return std::uint16_t(std::uniform_int_distribution<int>(1, 0xFFFE)(device));
}

std::uint16_t Internet_Checksum(const unsigned char* data, size_t size)
{
    std::uint32_t sum = 0;
    for (size_t i = 0; i + 1 < size; i += 2)
        sum += std::uint32_t(data[i]) << 8 | data[i + 1];
    if (size % 2)
        sum += std::uint32_t(data[size - 1]) << 8;
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return std::uint16_t(~sum);
}

class Socket {
public:
    explicit Socket(int fd) : m_fd(fd) {}
    ~Socket() { if (m_fd >= 0) ::close(m_fd); }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int Fd() const { return m_fd; }

private:
    int m_fd;
};

class Linux_Echo_Client final : public Echo_Client {
public:
    Linux_Echo_Client() : m_identifier(Random_Identifier()) {}

    Echo_Result Echo(std::string_view host, std::string_view data, std::uint16_t sequence,
                     std::chrono::milliseconds timeout) override
    {
        Echo_Result result;
        const std::optional<std::uint32_t> address = Parse_Numeric_IPv4(host);
        if (!address) {
            result.Error = "'" + std::string(host) + "' is not a numeric IPv4 address";
            return result;
        }

        bool raw = false;
        int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
        const int datagramErr = errno;
        if (fd < 0) {
            fd = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
            raw = true;
        }
        if (fd < 0) {
            result.No_Socket = true;
            result.Error = "cannot open an ICMP socket (datagram: " + Errno_Text(datagramErr) + "; raw: "
                + Errno_Text(errno) + ")";
            return result;
        }
        const Socket socket(fd);
        result.Socket_Kind = raw ? "raw" : "datagram";

        sockaddr_in to {};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = htonl(*address);

        std::string packet(sizeof(icmphdr), '\0');
        packet += data;
        auto* header = reinterpret_cast<icmphdr*>(packet.data());
        header->type = ICMP_ECHO;
        header->code = 0;
        header->un.echo.id = htons(m_identifier);
        header->un.echo.sequence = htons(sequence);
        header->checksum = 0;
        header->checksum = htons(Internet_Checksum(reinterpret_cast<const unsigned char*>(packet.data()),
                                                   packet.size()));

        ssize_t sent;
        do {
            sent = ::sendto(fd, packet.data(), size_t(packet.size()), 0, reinterpret_cast<sockaddr*>(&to),
                            sizeof to);
        } while (sent < 0 && errno == EINTR);
        if (sent < 0) {
            result.Error = "cannot send an echo request to " + std::string(host) + ": " + Errno_Text(errno);
            return result;
        }

        result.Ok = true;
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        std::vector<unsigned char> buffer(Max_Datagram);
        while (true) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now()).count();
            if (left <= 0)
                return result; // time-out: no bytes
            pollfd p {fd, POLLIN, 0};
            const int ready = ::poll(&p, 1, int(left));
            if (ready < 0 && errno == EINTR)
                continue;
            if (ready <= 0)
                return result;
            sockaddr_in from {};
            socklen_t fromLen = sizeof from;
            const ssize_t got = ::recvfrom(fd, buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&from),
                                           &fromLen);
            if (got < 0) {
                if (errno == EINTR || errno == EAGAIN)
                    continue;
                return result; // an error reported for our echo: a reply without data
            }
            const int size = raw ? Raw_Reply_Size(buffer.data(), size_t(got), to, from, sequence)
                                 : Datagram_Reply_Size(buffer.data(), size_t(got), to, from, sequence);
            if (size < 0)
                continue; // someone else's packet
            result.Bytes_Received = size;
            return result;
        }
    }

private:
    // Size of the ICMP message when it is the echo reply awaited, 0 when it is
    // an error reply about our echo, -1 when it is not ours.
    static int Datagram_Reply_Size(const unsigned char* p, size_t size, const sockaddr_in& to,
                                   const sockaddr_in& from, std::uint16_t sequence)
    {
        if (size < sizeof(icmphdr) || from.sin_addr.s_addr != to.sin_addr.s_addr)
            return -1;
        const auto* icmp = reinterpret_cast<const icmphdr*>(p);
        if (icmp->type != ICMP_ECHOREPLY || ntohs(icmp->un.echo.sequence) != sequence)
            return -1;
        return int(size);
    }

    int Raw_Reply_Size(const unsigned char* p, size_t size, const sockaddr_in& to, const sockaddr_in& from,
                       std::uint16_t sequence) const
    {
        if (size < sizeof(iphdr))
            return -1;
        const auto* ip = reinterpret_cast<const iphdr*>(p);
        const size_t ipLen = size_t(ip->ihl) * 4;
        if (ipLen < sizeof(iphdr) || size < ipLen + sizeof(icmphdr))
            return -1;
        const auto* icmp = reinterpret_cast<const icmphdr*>(p + ipLen);
        const size_t icmpSize = size - ipLen;
        if (icmp->type == ICMP_ECHOREPLY) {
            if (from.sin_addr.s_addr != to.sin_addr.s_addr || ntohs(icmp->un.echo.id) != m_identifier
                || ntohs(icmp->un.echo.sequence) != sequence)
                return -1;
            return int(icmpSize);
        }
        if (icmp->type == ICMP_DEST_UNREACH || icmp->type == ICMP_TIME_EXCEEDED) {
            // The error carries the start of our request: its IP header and 8 bytes of ICMP.
            const unsigned char* inner = p + ipLen + sizeof(icmphdr);
            const size_t innerSize = icmpSize - sizeof(icmphdr);
            if (innerSize < sizeof(iphdr))
                return -1;
            const auto* innerIp = reinterpret_cast<const iphdr*>(inner);
            const size_t innerIpLen = size_t(innerIp->ihl) * 4;
            if (innerIpLen < sizeof(iphdr) || innerSize < innerIpLen + sizeof(icmphdr))
                return -1;
            const auto* innerIcmp = reinterpret_cast<const icmphdr*>(inner + innerIpLen);
            if (innerIp->daddr != to.sin_addr.s_addr || innerIcmp->type != ICMP_ECHO
                || ntohs(innerIcmp->un.echo.id) != m_identifier || ntohs(innerIcmp->un.echo.sequence) != sequence)
                return -1;
            return 0;
        }
        return -1;
    }

    std::uint16_t m_identifier;
};

} // namespace

std::unique_ptr<Echo_Client> Make_System_Echo_Client()
{
    return std::make_unique<Linux_Echo_Client>();
}

} // namespace lw::os

#pragma once
// ICMP echo (ping) for IPv4 in plain C++ (no Qt). The host must be a numeric
// dotted address: a name is never looked up, a text that is not an address is
// an error. Texts are UTF-8.

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace lw::os {

// Four decimal fields of one to three digits, each 0 to 255, joined by ".",
// nothing else (no blanks, no signs, no shortened forms). Leading zeros are
// read as decimal. Returns the address in host byte order.
std::optional<std::uint32_t> Parse_Numeric_IPv4(std::string_view text);

struct Echo_Result {
    bool Ok = false;          // false: the echo could not be sent (Error says why)
    int Bytes_Received = 0;   // size of the echo reply (ICMP header and data); 0 for a time-out or an error reply
    std::string Error;
    bool No_Socket = false;   // the error is that the system gives no way to send an echo
    std::string Socket_Kind;  // what carried the echo, for reports
};

class Echo_Client {
public:
    virtual ~Echo_Client() = default;
    // Sends one echo request to host with data and sequence, then waits up to
    // timeout for its reply.
    virtual Echo_Result Echo(std::string_view host, std::string_view data, std::uint16_t sequence,
                             std::chrono::milliseconds timeout) = 0;
};

// The system's echo client.
std::unique_ptr<Echo_Client> Make_System_Echo_Client();

} // namespace lw::os

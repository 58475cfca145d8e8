#pragma once
// The connection test of the update dialog: echoes to the converter until two
// replies with data came back or 10 s have passed; the last reply decides.
// Between echoes it pauses 10 ms and lets the window system process pending
// events, so the window stays responsive.

#include "platform/echo_client.h"

#include <QString>
#include <functional>

namespace lw {

inline constexpr int Ping_Echo_Timeout_Ms = 400;
inline constexpr int Ping_Pause_Ms = 10;
inline constexpr quint32 Ping_Bound_Ms = 10000;

// The clock of the test, replaceable so that tests run without waiting.
class Ping_Clock {
public:
    virtual ~Ping_Clock() = default;
    virtual quint32 Tick_Ms() = 0;
    virtual void Sleep_Ms(int ms) = 0;
};

class System_Ping_Clock final : public Ping_Clock {
public:
    quint32 Tick_Ms() override;
    void Sleep_Ms(int ms) override;
};

// State of the last echo (ping_): 0 no reply yet, 1 a reply that carried
// data, 2 a reply without data (time-out or error reply).
enum Ping_State { Ping_No_Reply = 0, Ping_Data = 1, Ping_No_Data = 2 };

// The echo reply handler: the state a reply with that count of received bytes gives.
int PingReply(int bytesReceived);

enum class Ping_Outcome { Found, Not_Found, Error };

struct Ping_Test_Result {
    Ping_Outcome Outcome = Ping_Outcome::Error;
    QString Error;      // when Error: the reason
    int Echoes = 0;     // echo requests sent
    int Successes = 0;  // replies that carried data
};

// Runs the test against host, used as given (neither validated nor stripped)
// and sent as the echo data with sequence 0.
Ping_Test_Result Ping_Test(const QString& host, Echo_Client& client, Ping_Clock& clock,
                           const std::function<void()>& processEvents);

// Language table entry that reports an outcome: 69, 70 or 71.
int Ping_Message_Index(Ping_Outcome outcome);

} // namespace lw

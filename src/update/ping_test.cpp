#include "update/ping_test.h"

#include "platform/tick_count.h"

#include <QThread>

namespace lw {

quint32 System_Ping_Clock::Tick_Ms()
{
    return Tick_Count_Ms();
}

void System_Ping_Clock::Sleep_Ms(int ms)
{
    QThread::msleep(ulong(ms));
}

int PingReply(int bytesReceived)
{
    return bytesReceived > 0 ? Ping_Data : Ping_No_Data;
}

Ping_Test_Result Ping_Test(const QString& host, Echo_Client& client, Ping_Clock& clock,
                           const std::function<void()>& processEvents)
{
    Ping_Test_Result result;
    const quint32 t0 = clock.Tick_Ms();
    int ping = Ping_No_Reply;
    const QByteArray data = host.toUtf8();
    do {
        const quint32 t1 = clock.Tick_Ms();
        ++result.Echoes;
        const Echo_Result reply = client.Echo(host, data, 0, Ping_Echo_Timeout_Ms);
        if (!reply.Ok) {
            result.Outcome = Ping_Outcome::Error;
            result.Error = reply.Error;
            return result;
        }
        ping = PingReply(reply.Bytes_Received);
        do {
            clock.Sleep_Ms(Ping_Pause_Ms);
            if (processEvents)
                processEvents();
        } while (ping == Ping_No_Reply && quint32(clock.Tick_Ms() - t1) <= quint32(Ping_Echo_Timeout_Ms));
        if (ping == Ping_Data)
            ++result.Successes;
    } while (result.Successes < 2 && quint32(clock.Tick_Ms() - t0) <= Ping_Bound_Ms);

    result.Outcome = ping == Ping_Data ? Ping_Outcome::Found : Ping_Outcome::Not_Found;
    return result;
}

int Ping_Message_Index(Ping_Outcome outcome)
{
    switch (outcome) {
    case Ping_Outcome::Found:
        return 69;
    case Ping_Outcome::Not_Found:
        return 70;
    case Ping_Outcome::Error:
        break;
    }
    return 71;
}

} // namespace lw

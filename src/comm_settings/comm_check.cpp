#include "comm_settings/comm_check.h"

#include "base/text_rules.h"
#include "knx_access/knx_address.h"

namespace lw {

namespace {

constexpr int Msg_ID_Device = 123;
constexpr int Msg_IP1 = 957;      // 957 to 960 the IP octets, 961 to 964 the mask
constexpr int Msg_Gateway1 = 965; // 965 to 968 the gateway octets

bool Is_Octet(const QString& text)
{
    const int value = Read_Integer_Or(text, -1);
    return value >= 0 && value <= 255;
}

} // namespace

Check_Result Controllo_Dati(const ParGen_Values& v)
{
    if (Check_KNX_Address(Strip(v.KNX_ID_DEV), false, false) != 0)
        return Check_Result::Fail(Msg_ID_Device);

    const QString* octets[] = {&v.PROFINET_IP1, &v.PROFINET_IP2, &v.PROFINET_IP3, &v.PROFINET_IP4,
                               &v.PROFINET_SM1, &v.PROFINET_SM2, &v.PROFINET_SM3, &v.PROFINET_SM4};
    for (int i = 0; i < 8; ++i) {
        if (!Is_Octet(*octets[i]))
            return Check_Result::Fail(Msg_IP1 + i);
    }
    if (v.PROFINET_EN_GAT) {
        const QString* gateway[] = {&v.PROFINET_GAT1, &v.PROFINET_GAT2, &v.PROFINET_GAT3, &v.PROFINET_GAT4};
        for (int i = 0; i < 4; ++i) {
            if (!Is_Octet(*gateway[i]))
                return Check_Result::Fail(Msg_Gateway1 + i);
        }
    }
    return Check_Result::Pass();
}

} // namespace lw

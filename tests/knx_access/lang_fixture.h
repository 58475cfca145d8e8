#pragma once
// A language table whose message texts the tests control: the English texts
// of the entries the data checks and row operations show, every other entry
// empty.

#include "base/program_state.h"

#include <utility>

namespace lw::test {

inline ProgramState State_With_Messages()
{
    static const std::pair<int, const char*> texts[] = {
        {123, "Error KNX!! ID Device must be a valid KNX Address (Ex. 1.1.20)"},
        {207, "Error row "},
        {218, "!! [KNX in Write] Source Address must be a valid KNX Individual Address (Ex. 15.15.255)"},
        {219, "!! [KNX in Write] Destination Address must be a valid KNX Individual Address (Ex. 15.15.255)"},
        {220, "!! [KNX in Write] APCI must be between 0 and 1023 or use the value Read or Write"},
        {221, "!! [KNX in Write] Priority must be System or Urgent or Normal or Low"},
        {222, "!! [KNX in Write] Poll Time must be between 1 and 100000000"},
        {223, "!! [KNX in Write] Position must be between 0 and "},
        {224, "!! [KNX in Write] Bit Mode must be \"No\" or between 0 and 7"},
        {225, "!! [KNX in Write] Length must be between 1 and "},
        {226, "!! [KNX in Write] Position plus Length must be minor or equal to "},
        {227, "Are you sure to delete the Row number "},
        {229, "!! [KNX in Write] Destination Address must be a valid KNX Group Address (Ex. 31/2047 or 31/7/255)"},
        {346, "Row Already used. Do you want to overwrite the values?"},
        {347, "Error in the Copy values!!! Copy a valid row before Paste it"},
        {348, "Error!!! Copy a valid row before Paste it"},
        {350, "!! [KNX in Write] Format is not correct"},
        {957, "Error SNMP!! IP Address 1 must be between 0 and 255"},
        {958, "Error SNMP!! IP Address 2 must be between 0 and 255"},
        {959, "Error SNMP!! IP Address 3 must be between 0 and 255"},
        {960, "Error SNMP!! IP Address 4 must be between 0 and 255"},
        {961, "Error SNMP!! SUBNET Mask 1 must be between 0 and 255"},
        {962, "Error SNMP!! SUBNET Mask 2 must be between 0 and 255"},
        {963, "Error SNMP!! SUBNET Mask 3 must be between 0 and 255"},
        {964, "Error SNMP!! SUBNET Mask 4 must be between 0 and 255"},
        {965, "Error SNMP!! GATEWAY IP 1 must be between 0 and 255"},
        {966, "Error SNMP!! GATEWAY IP 2 must be between 0 and 255"},
        {967, "Error SNMP!! GATEWAY IP 3 must be between 0 and 255"},
        {968, "Error SNMP!! GATEWAY IP 4 must be between 0 and 255"},
    };
    ProgramState state;
    for (int i = 0; i < 1200; ++i)
        state.Lang_Strings.append(QString());
    for (const auto& [index, text] : texts)
        state.Lang_Strings[index] = QString::fromUtf8(text);
    state.Lang_Count = 1200;
    return state;
}

} // namespace lw::test

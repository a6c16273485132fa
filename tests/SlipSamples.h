#pragma once
// Slips the tests start from.

#include "Verify/Kyuho.h"

inline mivrel::TKyuho BlankSlip()
{
    mivrel::TKyuho slip;
    mivrel::ClearSlip(slip);
    return slip;
}

inline mivrel::TKyuho SampleSlip()
{
    mivrel::TKyuho slip = BlankSlip();
    mivrel::FillSampleSlip(slip);
    return slip;
}

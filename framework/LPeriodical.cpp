#include "framework/LPeriodical.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<LPeriodical*>& Idlers()
{
    static std::vector<LPeriodical*> idlers;
    return idlers;
}

std::vector<LPeriodical*>& Repeaters()
{
    static std::vector<LPeriodical*> repeaters;
    return repeaters;
}

bool Contains(const std::vector<LPeriodical*>& list, const LPeriodical* periodical)
{
    return std::find(list.begin(), list.end(), periodical) != list.end();
}

void Add(std::vector<LPeriodical*>& list, LPeriodical* periodical)
{
    if (!Contains(list, periodical))
        list.push_back(periodical);
}

void DevoteTime(const std::vector<LPeriodical*>& list, const EventRecord& event)
{
    const std::vector<LPeriodical*> pass = list;
    for (LPeriodical* periodical : pass) {
        if (Contains(list, periodical))
            periodical->SpendTime(event);
    }
}

} // namespace

LPeriodical::~LPeriodical()
{
    StopIdling();
    StopRepeating();
}

void LPeriodical::StartIdling()
{
    Add(Idlers(), this);
}

void LPeriodical::StopIdling()
{
    std::erase(Idlers(), this);
}

Boolean LPeriodical::IsIdling() const
{
    return Contains(Idlers(), this);
}

void LPeriodical::StartRepeating()
{
    Add(Repeaters(), this);
}

void LPeriodical::StopRepeating()
{
    std::erase(Repeaters(), this);
}

Boolean LPeriodical::IsRepeating() const
{
    return Contains(Repeaters(), this);
}

void LPeriodical::DevoteTimeToIdlers(const EventRecord& event)
{
    DevoteTime(Idlers(), event);
}

void LPeriodical::DevoteTimeToRepeaters(const EventRecord& event)
{
    DevoteTime(Repeaters(), event);
}

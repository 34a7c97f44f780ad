#pragma once
// Work done by the event loop: idlers on every pass (the null event), repeaters on
// every pass as well, before the idlers. A periodical may start or stop any
// periodical, itself included, while it runs.

#include "framework/Events.h"

class LPeriodical {
public:
    LPeriodical() = default;
    virtual ~LPeriodical();
    LPeriodical(const LPeriodical&) = delete;
    LPeriodical& operator=(const LPeriodical&) = delete;

    virtual void SpendTime(const EventRecord& event) = 0;

    void StartIdling();
    void StopIdling();
    Boolean IsIdling() const;
    void StartRepeating();
    void StopRepeating();
    Boolean IsRepeating() const;

    static void DevoteTimeToIdlers(const EventRecord& event);
    static void DevoteTimeToRepeaters(const EventRecord& event);
};

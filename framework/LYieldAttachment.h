#pragma once
// Gives the cooperative threads their turn on every pass of the event loop.

#include "framework/LAttachment.h"

class LYieldAttachment : public LAttachment {
public:
    void Execute() override;
};

#pragma once
// Keeps the current port's text settings (font, size, face, mode) for a scope and
// puts them back at its end, also when an exception passes.

#include "platform/MacTypes.h"

class StTextStateQOR {
public:
    StTextStateQOR() { Save(); }
    ~StTextStateQOR() { Restore(); }
    StTextStateQOR(const StTextStateQOR&) = delete;
    StTextStateQOR& operator=(const StTextStateQOR&) = delete;

    void Save();
    void Restore();

private:
    SInt16 mFont = 0;
    SInt16 mSize = 0;
    SInt16 mFace = 0;
    SInt16 mMode = 0;
};

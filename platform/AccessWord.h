#pragma once
// The classic access word: byte 0 the owner, byte 1 the group, byte 2 everyone,
// each 0x01 = execute (search), 0x02 = read, 0x04 = write. It maps losslessly onto
// the nine permission bits of a Linux mode; set-uid, set-gid and sticky are not in it.

#include <sys/types.h>

#include "platform/MacTypes.h"

namespace AccessWord {

constexpr UInt32 kExecute = 0x01;
constexpr UInt32 kRead = 0x02;
constexpr UInt32 kWrite = 0x04;

// The nine permission bits that `word` selects; bits outside the three classes are ignored.
constexpr mode_t ToMode(UInt32 word)
{
    mode_t mode = 0;
    for (int shift = 0; shift < 3; ++shift) {
        const UInt32 rights = word >> (8 * shift);
        const int bits = 6 - 3 * shift; // owner 0700, group 0070, others 0007
        if (rights & kRead)
            mode |= mode_t(04) << bits;
        if (rights & kWrite)
            mode |= mode_t(02) << bits;
        if (rights & kExecute)
            mode |= mode_t(01) << bits;
    }
    return mode;
}

// The three class bytes of `mode`'s nine permission bits; byte 3 stays 0.
constexpr UInt32 FromMode(mode_t mode)
{
    UInt32 word = 0;
    for (int shift = 0; shift < 3; ++shift) {
        const int bits = 6 - 3 * shift;
        UInt32 rights = 0;
        if (mode & (mode_t(04) << bits))
            rights |= kRead;
        if (mode & (mode_t(02) << bits))
            rights |= kWrite;
        if (mode & (mode_t(01) << bits))
            rights |= kExecute;
        word |= rights << (8 * shift);
    }
    return word;
}

} // namespace AccessWord

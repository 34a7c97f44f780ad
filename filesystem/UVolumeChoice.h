#pragma once
// UVolumeChoice: which mounted volumes the application offers and how it writes their
// sizes. Shared by the main window and the command-line front end, so both list the
// same volumes with the same texts.

#include "platform/MacTypes.h"

class UVolumeChoice {
public:
    // False for "Network"; from a bootable disc also for "Volumes" and "dev".
    static Boolean IsVolumeAccepted(ConstStr255Param name, Boolean bootableCD);
    // Kilobytes as "KB", or megabytes and gigabytes with two decimals (string list 130).
    static void GetSize(unsigned long kilobytes, StringPtr text);
    // "<count> files, <size>" (string 7 of list 130).
    static void GetNumAndSize(long count, unsigned long kilobytes, StringPtr text);
};

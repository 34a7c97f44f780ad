#include "platform/PosixError.h"

#include <cerrno>

#include "platform/Files.h"

OSErr OSErrFromErrno(int error)
{
    switch (error) {
    case 0:
        return noErr;
    case ENOENT:
        return fnfErr;
    case ENOTDIR:
        return dirNFErr;
    case EEXIST:
        return dupFNErr;
    case ENOTEMPTY:
    case EBUSY:
    case ETXTBSY:
        return fBsyErr;
    case EACCES:
        return afpAccessDenied;
    case EPERM:
        return permErr;
    case EROFS:
        return vLckdErr;
    case ENOSPC:
    case EDQUOT:
        return dskFulErr;
    case ENAMETOOLONG:
        return bdNamErr;
    case EXDEV:
        return badMovErr;
    case EMFILE:
    case ENFILE:
        return tmfoErr;
    case ENOMEM:
        return memFullErr;
    case EINVAL:
        return paramErr;
    case ENOTSUP:
        return extFSErr; // the file system cannot do it
    default:
        return ioErr;
    }
}

#pragma once
// Who may act as root: root itself and the members of the administrators' group (the
// first of "sudo", "wheel", "admin" that the machine has). Judged on the process's
// own credentials, which is what the kernel trusts, not on the group database.

#include "platform/MacTypes.h"

Boolean CallerIsAdministrator();

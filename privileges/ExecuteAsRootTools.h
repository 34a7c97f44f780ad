#pragma once
// Finding the AuthorizationBundle in the application's Resources folder and installing
// the privileges client on it. The application object's InitExecuteAsRootTools calls
// this during start-up, before the privilege step that needs no window.

#include "platform/MacTypes.h"

// True when the bundle was found and URootPrivileges installed on it.
Boolean InitExecuteAsRootTools();

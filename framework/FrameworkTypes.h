#pragma once
// The framework's identifiers, and the messages and commands it knows by number.

#include "platform/LListener.h"
#include "platform/MacTypes.h"

using PaneIDT = SInt32;
using CommandT = SInt32;
using ClassIDT = FourCharCode;
using ResIDT = SInt16;

constexpr MessageT msg_Nothing = 0;
constexpr MessageT msg_OK = 900;
constexpr MessageT msg_Cancel = 901;

constexpr CommandT cmd_Nothing = 0;
constexpr CommandT cmd_About = 1;
constexpr CommandT cmd_Close = 4;
constexpr CommandT cmd_Quit = 10;
constexpr CommandT cmd_Clear = 15;
constexpr CommandT cmd_SelectAll = 16;

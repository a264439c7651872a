// pool-sim's command line, read once for its shot mode and its match mode.
#pragma once

#include <string>
#include <vector>

#include "app/command_line.h"

// Every option of both modes.
extern const std::vector<OptionSpec> POOL_SIM_OPTIONS;

// Whether the option is one only a match or a replay takes: any of them makes the command a
// match's.
bool isMatchOption(const OptionUse& use);

// A refused command line: the message and the pointer to --help; ends the run with status 2.
[[noreturn]] void refuseOption(const std::string& message);

// Input that cannot be played: the message alone; ends the run with status 2.
[[noreturn]] void fail(const std::string& message);

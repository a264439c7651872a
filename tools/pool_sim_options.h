// Command-line reading shared by pool-sim's shot mode and its match mode.
#pragma once

#include <initializer_list>
#include <string>

// The value of the option at argv[i], which must be one of `known` and be followed by a value;
// leaves i on the value. Otherwise hands the reason to `refuse`, which ends the program; the
// message for an unknown option ends with `unknownNote`.
inline const char* optionValue(int argc, char** argv, int& i,
                               std::initializer_list<const char*> known, const char* unknownNote,
                               void (*refuse)(const std::string&)) {
    const std::string option = argv[i];
    bool isKnown = false;
    for (const char* name : known) isKnown = isKnown || option == name;
    if (!isKnown) refuse("unknown option '" + option + "'" + unknownNote);
    if (i + 1 >= argc) refuse(option + " needs a value");
    return argv[++i];
}

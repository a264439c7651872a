// GNU command lines for pool and pool-sim: each option described once, read through
// getopt_long, refused with one message and a pointer to --help, and listed in the help.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

struct OptionSpec {
    const char* name;      // the long name, without "--"
    char shortName;        // every option has one
    const char* valueName; // nullptr for an option that takes no value; "[NAME]" for a value
                           // that may be left out
    const char* help;      // its text in the help; a '\n' starts a continued line
};

struct OptionUse {
    int index = 0;      // into the table
    std::string value;  // empty for an option that takes none
    bool given = false; // a value came with it (perhaps an empty one)
};

// The options of argv[1..argc) in the order given: `--name=VALUE`, `--name VALUE`, `-x VALUE`,
// `-xVALUE`, short options run together, unambiguous abbreviations of the long names, and `--`
// ending the options. A value that may be left out is `--name=VALUE`, `-xVALUE`, or the next
// argument when that does not start with '-'. `uses` holds every option before the first fault,
// which `error` names (empty when there is none); an argument that is no option is a fault, as
// neither program takes one.
void readOptions(int argc, char** argv, const std::vector<OptionSpec>& table,
                 std::vector<OptionUse>& uses, std::string& error);

// The help's lines for the table, "  -x, --name=VALUE  text", the texts in one column.
std::string optionList(const std::vector<OptionSpec>& table);

// The program's version, e.g. "1.0.0".
const char* programVersion();
// The version as GNU programs print it: "PROGRAM VERSION", the copyright, the licence, and
// the absence of warranty.
std::string versionText(const char* program);

// Writes `text` to `out`; returns the exit status: 0, or 1 (after a line on the error stream)
// when the output could not be written.
int printOutput(const char* program, const std::string& text, std::FILE* out);

// Prints "PROGRAM: ERROR" and the pointer to --help on the error stream; returns 2, the
// status of a refused command line.
int refuseCommandLine(const char* program, const std::string& error);

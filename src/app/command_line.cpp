// GNU command lines through getopt_long, shared by the game and pool-sim.
#include "app/command_line.h"

#include <getopt.h>

#include <algorithm>

namespace {
int indexOfCode(const std::vector<OptionSpec>& table, int code) {
    for (size_t i = 0; i < table.size(); ++i)
        if (table[i].shortName == code) return int(i);
    return -1;
}

// getopt_long says '?' alike for a long name that matches none and for one that matches
// several; the abbreviation's candidates tell them apart.
std::string unknownLongOption(const std::vector<OptionSpec>& table, const std::string& arg) {
    const std::string given = arg.substr(2, arg.find('=') - 2);
    std::string candidates;
    for (const OptionSpec& spec : table)
        if (std::string(spec.name).compare(0, given.size(), given) == 0)
            candidates += std::string(candidates.empty() ? "" : ", ") + "--" + spec.name;
    if (candidates.find(',') != std::string::npos)
        return "option '--" + given + "' is ambiguous: " + candidates;
    return "unknown option '--" + given + "'";
}

// The fault behind getopt_long's ':' or '?' for the argument it stopped at.
std::string fault(const std::vector<OptionSpec>& table, int code, const char* arg) {
    const int index = indexOfCode(table, optopt);
    if (code == ':') return std::string("--") + table[size_t(index)].name + " needs a value";
    if (index >= 0) return std::string("--") + table[size_t(index)].name + " takes no value";
    if (optopt != 0) return std::string("unknown option '-") + char(optopt) + "'";
    return unknownLongOption(table, arg);
}

bool optionalValue(const OptionSpec& spec) { return spec.valueName && spec.valueName[0] == '['; }

// An optional value may also come as the next argument, when that is no option.
void takeNextAsValue(int argc, char** args, const OptionSpec& spec, OptionUse& use) {
    if (optionalValue(spec) && !use.given && optind < argc && args[optind][0] != '-') {
        use.value = args[optind++];
        use.given = true;
    }
}
} // namespace

void readOptions(int argc, char** argv, const std::vector<OptionSpec>& table,
                 std::vector<OptionUse>& uses, std::string& error) {
    // In order ('+'), so that an optional value can be taken from the next argument; ':' tells a
    // missing value apart from an unknown option.
    std::string shorts = "+:";
    std::vector<option> longs;
    for (const OptionSpec& spec : table) {
        shorts += spec.shortName;
        if (spec.valueName) shorts += optionalValue(spec) ? "::" : ":";
        const int has = !spec.valueName       ? no_argument
                        : optionalValue(spec) ? optional_argument
                                              : required_argument;
        longs.push_back({spec.name, has, nullptr, spec.shortName});
    }
    longs.push_back({nullptr, 0, nullptr, 0});
    std::vector<char*> args(argv, argv + argc); // getopt_long reorders what it reads
    args.push_back(nullptr);
    optind = 0; // a fresh scan: each call reads another command line
    opterr = 0; // the caller words the message
    error.clear();
    for (int code;
         (code = getopt_long(argc, args.data(), shorts.c_str(), longs.data(), nullptr)) != -1;) {
        if (code == ':' || code == '?') {
            error = fault(table, code, args[size_t(optind - 1)]);
            return;
        }
        OptionUse use{indexOfCode(table, code), optarg ? optarg : "", optarg != nullptr};
        takeNextAsValue(argc, args.data(), table[size_t(use.index)], use);
        uses.push_back(use);
    }
    if (optind < argc) error = std::string("unexpected argument '") + args[size_t(optind)] + "'";
}

std::string optionList(const std::vector<OptionSpec>& table) {
    std::vector<std::string> heads;
    size_t width = 0;
    for (const OptionSpec& spec : table) {
        std::string head = std::string("  -") + spec.shortName + ", --" + spec.name;
        if (optionalValue(spec)) head += std::string("[=") + (spec.valueName + 1);
        else if (spec.valueName) head += std::string("=") + spec.valueName;
        width = std::max(width, head.size());
        heads.push_back(head);
    }
    std::string list;
    for (size_t i = 0; i < table.size(); ++i) {
        std::string text = table[i].help;
        for (size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += width + 3)
            text.insert(at + 1, width + 2, ' ');
        list += heads[i] + std::string(width + 2 - heads[i].size(), ' ') + text + "\n";
    }
    return list;
}

const char* programVersion() { return POOL_VERSION; }

std::string versionText(const char* program) {
    return std::string(program) + " " + POOL_VERSION +
           "\n"
           "Copyright (C) 2026 The pool developers\n"
           "License: MIT <https://opensource.org/licenses/MIT>\n"
           "This is free software: you are free to change and redistribute it.\n"
           "There is NO WARRANTY, to the extent permitted by law.\n";
}

int printOutput(const char* program, const std::string& text, std::FILE* out) {
    std::fputs(text.c_str(), out);
    if (std::fflush(out) == 0 && !std::ferror(out)) return 0;
    std::fprintf(stderr, "%s: cannot write the output\n", program);
    return 1;
}

int refuseCommandLine(const char* program, const std::string& error) {
    std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", program, error.c_str(),
                 program);
    return 2;
}

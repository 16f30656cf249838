#include "CommandLine.h"

#include "files/FileUrl.h"

#include <cstring>

namespace mirelo {

const char* CommandLine::usage()
{
    return "Usage: mirelo [OPTION]... [FILE|FOLDER]...\n"
           "Opens pictures and videos in Mirelo's viewer, or adds folders to its library.\n"
           "\n"
           "  -h, --help     show this help and exit\n"
           "  -v, --version  show the version and exit\n"
           "  --             end of options: every later argument is a file\n";
}

CommandLine::Action CommandLine::early(int argc, const char* const* argv)
{
    Action action = Action::run;
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--help") == 0) return Action::help;
        if (std::strcmp(argv[i], "-v") == 0 || std::strcmp(argv[i], "--version") == 0) action = Action::version;
    }
    return action;
}

CommandLine CommandLine::parse(int argc, const char* const* argv)
{
    CommandLine line;
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (options && std::strcmp(argument, "--") == 0) {
            options = false;
        } else if (options && argument[0] == '-' && argument[1] != '\0') {
            if (std::strcmp(argument, "-h") == 0 || std::strcmp(argument, "--help") == 0) {
                line.action = Action::help;
            } else if (std::strcmp(argument, "-v") == 0 || std::strcmp(argument, "--version") == 0) {
                if (line.action == Action::run) line.action = Action::version;
            } else {
                line.action = Action::usage;
                line.error = std::string("unknown option ") + argument;
                return line;
            }
        } else if (argument[0] != '\0') {
            line.paths.push_back(absoluteStandardisedPath(argument));
        }
    }
    return line;
}

} // namespace mirelo

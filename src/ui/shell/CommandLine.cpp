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
           "  -platform NAME, -display NAME\n"
           "                 the window system to use (as Qt programs take them)\n"
           "  --             end of options: every later argument is a file\n";
}

CommandLine CommandLine::parse(int argc, const char* const* argv)
{
    CommandLine line;
    bool options = true, help = false, version = false;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (options && std::strcmp(argument, "--") == 0) {
            options = false;
        } else if (options && argument[0] == '-' && argument[1] != '\0') {
            if (std::strcmp(argument, "-h") == 0 || std::strcmp(argument, "--help") == 0) {
                help = true;
            } else if (std::strcmp(argument, "-v") == 0 || std::strcmp(argument, "--version") == 0) {
                version = true;
            } else if ((std::strcmp(argument, "-platform") == 0 || std::strcmp(argument, "-display") == 0) &&
                       i + 1 < argc) {
                line.qtOptions.emplace_back(argument);
                line.qtOptions.emplace_back(argv[++i]);
            } else if (line.error.empty()) {
                line.error = std::string("unknown option ") + argument;
            }
        } else if (argument[0] != '\0') {
            line.paths.push_back(absoluteStandardisedPath(argument));
        }
    }
    // Help is given whatever else was asked; then a wrong option, then the version.
    line.action = help ? Action::help : !line.error.empty() ? Action::usage : version ? Action::version : Action::run;
    if (line.action == Action::usage) line.paths.clear();
    return line;
}

} // namespace mirelo

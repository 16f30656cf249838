#pragma once
// What `mirelo` was asked on its command line: files and folders to open,
// or --help or --version. Arguments are the file system's bytes, never
// decoded, so that any name reaches its file; "--" ends the options.

#include <string>
#include <vector>

namespace mirelo {

struct CommandLine {
    enum class Action { run, help, version, usage };
    Action action = Action::run;
    std::vector<std::string> paths; // absolute, standardised
    std::string error;              // for `usage`: what was wrong
    // The window system's options Mirelo passes on to Qt ("-platform NAME",
    // "-display NAME"), each before "--"; Qt never sees anything else, so
    // that no file name is ever taken for one of its options.
    std::vector<std::string> qtOptions;

    // The whole command line, read before the windowing system is reached:
    // help and version work without a display.
    static CommandLine parse(int argc, const char* const* argv);
    static const char* usage();
};

} // namespace mirelo

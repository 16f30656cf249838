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

    // The arguments after the program's name (Qt's own options already
    // taken out by QApplication).
    static CommandLine parse(int argc, const char* const* argv);
    // Help or version asked for anywhere among the options, read before
    // the windowing system is reached: both work without a display. Other
    // options wait for Qt to take its own.
    static Action early(int argc, const char* const* argv);
    static const char* usage();
};

} // namespace mirelo

#pragma once
// The user's own folders, found the freedesktop.org way ($HOME,
// $XDG_DATA_HOME). A relative value in the environment is ignored, so
// nothing ever depends on the current working folder.

#include <string>

namespace mirelo {

// $HOME when it is absolute, else the account's home folder; "" when neither.
std::string homeFolder();
// $XDG_DATA_HOME when it is absolute, else the home folder's ".local/share";
// "" when there is no home folder.
std::string dataHome();
// The folder directly in the home folder that Linux keeps for programs
// rather than for the user's files ("~/snap", where snaps keep their data);
// a scan of the home folder does not enter it, though chosen itself it is
// walked. Hidden folders ("~/.local", "~/.var") are skipped anyway.
std::string programsFolder();

} // namespace mirelo

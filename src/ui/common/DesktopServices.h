#pragma once
// The desktop's services for files: showing them in the file manager,
// attaching them to an e-mail, and opening one with an application the
// user picks. Each falls back to something plainer when the desktop lacks
// the service, and never blocks.

#include <functional>
#include <string>
#include <vector>

namespace mirelo::DesktopServices {

// Whether this session has a message bus to reach (its address is set, or
// its socket is where the desktop puts it); without one nothing tries.
bool hasSessionBus();

// The file manager's ShowItems over D-Bus, else the first file's folder.
void reveal(const std::vector<std::string>& paths);
// xdg-email with each file attached.
void email(const std::vector<std::string>& paths);
// The desktop portal's chooser for one file. Without one, the file opens
// in its default application and `unavailable` says so (with whether that
// worked), since the user asked to choose.
void openWith(const std::string& path, std::function<void(bool openedByDefault)> unavailable);

} // namespace mirelo::DesktopServices

#pragma once
// The system's open panels, provided by the user interface. The model says
// what to ask; the panel answers later, on the main thread, with the chosen
// paths (empty when the user cancelled).

#include <QString>
#include <QStringList>

#include <functional>
#include <string>
#include <vector>

namespace mirelo {

struct OpenPanelRequest {
    QString title;
    QString prompt;  // the confirm button
    QString message; // may be empty
    bool chooseFiles = false;
    bool chooseFolders = false;
    bool multipleSelection = true;
    // Name filters for files ("*.jpg"); empty allows everything.
    QStringList nameFilters;

    // One pattern per extension that a scan accepts, matching any letter case.
    static QStringList mediaNameFilters();
};

class OpenPanel {
public:
    virtual ~OpenPanel() = default;
    // Shows the panel without blocking.
    virtual void choose(const OpenPanelRequest& request,
                        std::function<void(std::vector<std::string> chosen)> completion) = 0;
};

} // namespace mirelo

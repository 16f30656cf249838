#pragma once
// What the information panel says about the item on display: its format,
// size, the frame's dimensions and camera details (not for a video, nor
// before the frame is ready), where the frame was reduced, the modification
// date and the folder; and the panel itself, ending in "Show in File Manager".

#include "library/MediaItem.h"
#include "ViewerFrame.h"

#include <QString>

#include <functional>
#include <utility>
#include <vector>

namespace mirelo {

class ViewerPopover;

class InformationPanel {
public:
    using Rows = std::vector<std::pair<QString, QString>>;

    static Rows rows(const MediaItem& item, const ViewerFrame* frame);
    // "4 KB · 4,096 bytes".
    static QString sizeText(const MediaItem& item);
    static void fill(ViewerPopover& popover, const MediaItem& item, const ViewerFrame* frame,
                     std::function<void()> reveal);
};

} // namespace mirelo

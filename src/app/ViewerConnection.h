#pragma once
// The viewer as the model sees it. The viewer window implements it; the
// model presents the current item through it and keeps its list in step.

#include "library/MediaItem.h"

namespace mirelo {

class ViewerConnection {
public:
    virtual ~ViewerConnection() = default;
    virtual void present(const MediaItem& item) = 0;
    virtual void dismiss() = 0;
    virtual bool isPresenting() const = 0;
    // The list the viewer moves through changed while it shows `current`;
    // the viewer also prefetches the new neighbours.
    virtual void setItems(const MediaItems& items, const MediaItem& current) = 0;
    // Asks in the viewer's own sheet whether to move `items` to the Trash;
    // on confirmation the viewer sets the model's pending items and calls
    // trashConfirmed(). False when the viewer is not showing: the model
    // then asks in the library window.
    virtual bool confirmTrash(const MediaItems& items) = 0;
};

} // namespace mirelo

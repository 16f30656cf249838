#include "QueryScheduler.h"

#include <QPointer>

namespace mirelo {

QueryScheduler::QueryScheduler(Post post, QObject* parent)
    : QObject(parent), post_(std::move(post)), queue_(std::make_unique<SerialQueue>("Mirelo library queries"))
{
}

QueryScheduler::~QueryScheduler()
{
    cancel();
    queue_.reset();
}

void QueryScheduler::cancel()
{
    if (token_) token_->cancel();
    queue_->cancelPending();
}

void QueryScheduler::request(std::function<void()> begin)
{
    cancel();
    const int generation = ++generation_;
    QMetaObject::invokeMethod(
        this,
        [this, generation, begin = std::move(begin)] {
            if (generation_ == generation) begin();
        },
        Qt::QueuedConnection);
}

void QueryScheduler::run(LibraryQueryInput input, const GridLocation& location, int itemGeneration,
                         std::function<void(LibraryQueryResult&)> apply)
{
    GridLocation unsearchedAt = location;
    unsearchedAt.search.clear();
    if (unsearched_ && unsearchedAt == unsearchedAt_ && itemGeneration == unsearchedItems_)
        input.unsearched = unsearched_;
    auto token = ScanToken::make();
    token_ = token;
    const int generation = generation_;
    queue_->async([this, input = std::move(input), token, generation, unsearchedAt, itemGeneration,
                   apply = std::move(apply)] {
        std::optional<LibraryQueryResult> result = LibraryQuery::run(input, *token);
        if (!result) return;
        auto shared = std::make_shared<LibraryQueryResult>(std::move(*result));
        // The scheduler outlives its thread, whose work it waits for, but
        // not necessarily the delivery.
        post_([self = QPointer<QueryScheduler>(this), generation, token, unsearchedAt, itemGeneration, shared, apply] {
            if (!self || token->isCancelled() || generation != self->generation_) return;
            if (shared->unsearched && !shared->scopeReused) {
                self->unsearched_ = shared->unsearched;
                self->unsearchedAt_ = unsearchedAt;
                self->unsearchedItems_ = itemGeneration;
            }
            apply(*shared);
        });
    });
}

void QueryScheduler::later(std::function<void()> work) { queue_->async(std::move(work)); }

} // namespace mirelo

#pragma once
// The grid's queries, one at a time on their own thread. A change asks for a
// query; several asked for in one turn of the event loop run once, for the
// state after the last of them; a newer query cancels the older one, and only
// the newest result is handed over. A query that differs from the last
// unsearched one only by its search filters that query's list instead of
// the whole library.

#include "GridLocation.h"
#include "library/LibraryQuery.h"
#include "work/ScanToken.h"
#include "work/SerialQueue.h"

#include <QObject>

#include <functional>
#include <memory>

namespace mirelo {

class QueryScheduler : public QObject {
    Q_OBJECT
public:
    // Hands a result to the main thread (the model's delivery).
    using Post = std::function<void(std::function<void()>)>;

    explicit QueryScheduler(Post post, QObject* parent = nullptr);
    // Cancels the running query and waits for the thread.
    ~QueryScheduler() override;

    // Cancels what is queued or running; `begin` runs on the next turn of
    // the event loop unless another request comes first.
    void request(std::function<void()> begin);
    // Runs the query on the query thread; `apply` gets its result on the
    // main thread unless a newer request came meanwhile. `itemGeneration`
    // names the items the input holds.
    void run(LibraryQueryInput input, const GridLocation& location, int itemGeneration,
             std::function<void(LibraryQueryResult&)> apply);
    // Lets `work` run on the query thread after the queries before it (big
    // lists are released there, away from the main thread).
    void later(std::function<void()> work);
    void cancel();
    // Counts requests; a result belongs to the one it was run for.
    int generation() const { return generation_; }

private:
    Post post_;
    std::unique_ptr<SerialQueue> queue_;
    std::shared_ptr<ScanToken> token_;
    int generation_ = 0;
    // The last query without a search, where it was made, and over which items.
    std::shared_ptr<const UnsearchedItems> unsearched_;
    GridLocation unsearchedAt_;
    int unsearchedItems_ = -1;
};

} // namespace mirelo

#pragma once
// A thread-safe cache bounded by the total cost of its entries and by their
// number; the least recently used entries leave first.

#include <cstdint>
#include <list>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

namespace mirelo {

template <class Value>
class CostCache {
public:
    CostCache(int64_t costLimit, size_t countLimit) : costLimit_(costLimit), countLimit_(countLimit) {}

    std::optional<Value> find(const std::string& key)
    {
        std::lock_guard lock(mutex_);
        auto found = index_.find(key);
        if (found == index_.end()) return std::nullopt;
        entries_.splice(entries_.begin(), entries_, found->second);
        return found->second->value;
    }

    // An entry costing more than the whole limit is not kept.
    void insert(const std::string& key, Value value, int64_t cost)
    {
        std::lock_guard lock(mutex_);
        if (auto found = index_.find(key); found != index_.end()) {
            totalCost_ -= found->second->cost;
            entries_.erase(found->second);
            index_.erase(found);
        }
        if (cost > costLimit_) return;
        entries_.push_front({key, std::move(value), cost});
        index_[key] = entries_.begin();
        totalCost_ += cost;
        while (totalCost_ > costLimit_ || entries_.size() > countLimit_) {
            totalCost_ -= entries_.back().cost;
            index_.erase(entries_.back().key);
            entries_.pop_back();
        }
    }

    void clear()
    {
        std::lock_guard lock(mutex_);
        entries_.clear();
        index_.clear();
        totalCost_ = 0;
    }
    int64_t totalCost()
    {
        std::lock_guard lock(mutex_);
        return totalCost_;
    }
    size_t count()
    {
        std::lock_guard lock(mutex_);
        return entries_.size();
    }

private:
    struct Entry {
        std::string key;
        Value value;
        int64_t cost;
    };
    std::mutex mutex_;
    std::list<Entry> entries_; // most recently used first
    std::unordered_map<std::string, typename std::list<Entry>::iterator> index_;
    int64_t totalCost_ = 0;
    int64_t costLimit_;
    size_t countLimit_;
};

} // namespace mirelo

// Fixed-capacity storage for one kind of pooled object. All objects are built
// together (dead) when the stage field is built. Objects in play sit in the
// active list in order of acquisition; free ones on a stack that hands out
// the last pushed first (initially the highest index).
//
// The active list is kept as index links over the array, so acquiring and
// releasing never allocate. Walks survive releases made while they run: an
// object's update may release others (or itself, or everything) and acquire
// new ones, which the same walk then reaches at the end of the list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

template <class T>
class ObjectPool {
 public:
  static constexpr int32_t kNone = -1;

  explicit ObjectPool(int32_t capacity)
      : objects(static_cast<size_t>(capacity)),
        capacity(capacity),
        next_(static_cast<size_t>(capacity), kNone),
        prev_(static_cast<size_t>(capacity), kNone),
        inPlay_(static_cast<size_t>(capacity), 0),
        generation_(static_cast<size_t>(capacity), 0) {
    freeStack_.reserve(static_cast<size_t>(capacity));
    for (int32_t i = 0; i < capacity; ++i) freeStack_.push_back(i);
  }

  std::vector<T> objects;
  int32_t capacity;

  // The top of the free stack, appended to the active list and alive; null
  // when the pool is full. The caller initialises it.
  T* acquire() {
    if (freeStack_.empty()) return nullptr;
    const int32_t i = freeStack_.back();
    freeStack_.pop_back();
    inPlay_[i] = 1;
    prev_[i] = tail_;
    next_[i] = kNone;
    if (tail_ != kNone) {
      next_[tail_] = i;
    } else {
      head_ = i;
    }
    tail_ = i;
    if (walking_ > 0 && cursor_ == kNone) cursor_ = i;
    ++count_;
    T& object = objects[i];
    object.dead = 0;
    return &object;
  }

  // Marks the object at index i dead, pushes it on the free stack and takes
  // it out of the active list. Returns the index that followed it. Releasing
  // an object that is not in play changes nothing.
  int32_t release(int32_t i) {
    if (i < 0 || i >= capacity || !inPlay_[i]) return kNone;
    const int32_t after = next_[i];
    objects[i].dead = 1;
    freeStack_.push_back(i);
    if (prev_[i] != kNone) {
      next_[prev_[i]] = after;
    } else {
      head_ = after;
    }
    if (after != kNone) {
      prev_[after] = prev_[i];
    } else {
      tail_ = prev_[i];
    }
    if (walking_ > 0 && cursor_ == i) cursor_ = after;
    inPlay_[i] = 0;
    ++generation_[i];
    next_[i] = prev_[i] = kNone;
    --count_;
    return after;
  }
  int32_t release(const T* object) { return release(indexOf(object)); }

  // Releases every object in play, first to last.
  void releaseAll() {
    while (head_ != kNone) release(head_);
  }

  // Visits the objects in play from first to last. The visitor gets the
  // object and its index and may return false to end the walk early.
  template <class F>
  void walk(F&& visit) {
    int32_t i = head_;
    const int32_t savedCursor = cursor_;
    ++walking_;
    while (i != kNone) {
      cursor_ = next_[i];
      const uint32_t generation = generation_[i];
      bool goOn = true;
      if constexpr (std::is_void_v<decltype(visit(objects[i], i))>) {
        visit(objects[i], i);
      } else {
        goOn = visit(objects[i], i);
      }
      if (!goOn) break;
      // Released (and maybe reused) during the visit: go on where the list
      // continued after it.
      i = (inPlay_[i] && generation_[i] == generation) ? next_[i] : cursor_;
    }
    --walking_;
    cursor_ = savedCursor;
  }

  int32_t indexOf(const T* object) const {
    return object ? static_cast<int32_t>(object - objects.data()) : kNone;
  }
  bool inPlay(int32_t i) const { return i >= 0 && i < capacity && inPlay_[i]; }
  int32_t first() const { return head_; }
  int32_t nextOf(int32_t i) const { return next_[i]; }
  int32_t activeCount() const { return count_; }
  int32_t freeCount() const { return static_cast<int32_t>(freeStack_.size()); }

  // Indices in play, first to last (for checks and tests).
  std::vector<int32_t> activeIndices() const {
    std::vector<int32_t> out;
    for (int32_t i = head_; i != kNone; i = next_[i]) out.push_back(i);
    return out;
  }

 private:
  std::vector<int32_t> freeStack_;
  std::vector<int32_t> next_;
  std::vector<int32_t> prev_;
  std::vector<uint8_t> inPlay_;
  std::vector<uint32_t> generation_;
  int32_t head_ = kNone;
  int32_t tail_ = kNone;
  int32_t count_ = 0;
  int32_t walking_ = 0;     // walks in progress
  int32_t cursor_ = kNone;  // where the innermost walk goes on
};

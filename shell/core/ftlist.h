// FElement, FTElement and FTList: the intrusive, optionally owning, sorted
// list used by the redraw list and the resource writer.
//
// An FElement carries its own links and two virtual operations (the
// destructor and sortKey). An FTList links elements without allocating; when
// it is owning, elements that are removed, truncated or cleared are deleted.
#pragma once

#include <cstdint>
#include <iterator>
#include <memory>

#include "shell/core/liveobjects.h"

class FElement : cLiveObject {
 public:
  FElement() = default;
  FElement(const FElement&) = delete;
  FElement& operator=(const FElement&) = delete;
  virtual ~FElement() = default;
  virtual int32_t sortKey() const { return 0; }

  FElement* previous = nullptr;
  FElement* next = nullptr;
};

template <class T>
class FTElement : public FElement {
 public:
  T* nextElement() const { return static_cast<T*>(next); }
  T* previousElement() const { return static_cast<T*>(previous); }
};

// The untyped list; FTList adds the element type.
class FList : cLiveObject {
 public:
  explicit FList(bool owning) : owning_(owning) {}
  FList(const FList&) = delete;
  FList& operator=(const FList&) = delete;
  ~FList() { clear(); }

  bool isOwning() const { return owning_; }
  bool isEmpty() const { return first_ == nullptr; }

  // Appends when before is null, else links the node in front of before.
  void insert(FElement* node, FElement* before);
  // In front of the first node whose key is greater: equal keys keep their order.
  void insertSorted(FElement* node);
  FElement* findByKey(int32_t key) const;
  bool contains(const FElement* node) const;
  int count() const;
  // Unlinks; deletes the node when owning. The cursor moves to the last node
  // when it was the removed one.
  void remove(FElement* node);
  // When node is in the list: deletes it and everything after it (when
  // owning; unlinks them otherwise); its predecessor becomes the last node.
  void truncateFrom(FElement* node);
  void clear();

 protected:
  FElement* first_ = nullptr;
  FElement* last_ = nullptr;
  FElement* cursor_ = nullptr;

 private:
  void unlink(FElement* node);
  bool owning_;
};

template <class T>
class FTList : public FList {
 public:
  explicit FTList(bool owning = true) : FList(owning) {}

  T* first() const { return static_cast<T*>(first_); }
  T* last() const { return static_cast<T*>(last_); }
  T* cursor() const { return static_cast<T*>(cursor_); }
  void setCursor(T* node) { cursor_ = node; }
  T* findByKey(int32_t key) const { return static_cast<T*>(FList::findByKey(key)); }

  // Owning lists take elements as unique_ptrs; the returned pointer stays
  // valid while the element is in the list.
  T* insert(std::unique_ptr<T> node, T* before = nullptr) {
    T* p = node.release();
    FList::insert(p, before);
    return p;
  }
  T* insertSorted(std::unique_ptr<T> node) {
    T* p = node.release();
    FList::insertSorted(p);
    return p;
  }
  template <class U = T, class... A>
  U* emplace(A&&... args) {
    return static_cast<U*>(insert(std::make_unique<U>(std::forward<A>(args)...)));
  }
  using FList::insert;
  using FList::insertSorted;

  struct iterator {
    using iterator_category = std::forward_iterator_tag;
    using value_type = T;
    using difference_type = std::ptrdiff_t;
    using pointer = T*;
    using reference = T&;
    FElement* n;
    T& operator*() const { return *static_cast<T*>(n); }
    T* operator->() const { return static_cast<T*>(n); }
    iterator& operator++() { n = n->next; return *this; }
    iterator operator++(int) { iterator t = *this; n = n->next; return t; }
    bool operator==(const iterator&) const = default;
  };
  iterator begin() const { return {first_}; }
  iterator end() const { return {nullptr}; }
};

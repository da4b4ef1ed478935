// cPtrList: the program's doubly linked list of pointers (head, tail and a
// 16-bit count; a node holds next, previous and the data pointer). It holds
// the worksheet's gadgets and wires and a wire's knots.
//
// The list owns its nodes. With Owning = true it also owns the data: data
// removed from the list or left in it when it is cleared is deleted.
#pragma once

#include <cstdint>
#include <iterator>
#include <memory>

#include "shell/core/liveobjects.h"

template <class T>
struct cPtrListNode : cLiveObject {
  cPtrListNode* next = nullptr;
  cPtrListNode* previous = nullptr;
  T* data = nullptr;
};

template <class T, bool Owning = false>
class cPtrList : cLiveObject {
 public:
  using Node = cPtrListNode<T>;
  static constexpr uint16_t kMaxCount = 0xFFFF;

  cPtrList() = default;
  cPtrList(const cPtrList&) = delete;
  cPtrList& operator=(const cPtrList&) = delete;
  ~cPtrList() { clear(); }

  Node* head() const { return head_; }
  Node* tail() const { return tail_; }
  uint16_t count() const { return count_; }
  bool isEmpty() const { return count_ == 0; }

  // Appends data at the tail; null when the list is full (the count is 16-bit).
  Node* append(T* data) { return insertBefore(nullptr, data); }
  Node* prepend(T* data) { return insertBefore(head_, data); }
  Node* append(std::unique_ptr<T> data) requires Owning {
    Node* n = append(data.get());
    if (n) data.release();
    return n;
  }

  // Links data in front of `before` (at the tail when before is null).
  Node* insertBefore(Node* before, T* data) {
    if (count_ == kMaxCount) return nullptr;
    Node* n = std::make_unique<Node>().release();
    n->data = data;
    link(n, before);
    return n;
  }

  Node* find(const T* data) const {
    for (Node* n = head_; n; n = n->next)
      if (n->data == data) return n;
    return nullptr;
  }
  bool contains(const T* data) const { return find(data) != nullptr; }

  // Unlinks and frees the node; the data is deleted when the list owns it.
  void remove(Node* n) {
    T* data = n->data;
    unlink(n);
    delete n;
    if constexpr (Owning) delete data;
  }
  bool removeData(const T* data) {
    Node* n = find(data);
    if (n) remove(n);
    return n != nullptr;
  }
  // Takes data out of an owning list without deleting it.
  std::unique_ptr<T> release(Node* n) requires Owning {
    T* data = n->data;
    unlink(n);
    delete n;
    return std::unique_ptr<T>(data);
  }

  void moveToTail(Node* n) {
    if (n == tail_) return;
    unlink(n);
    link(n, nullptr);
  }
  void moveToHead(Node* n) {
    if (n == head_) return;
    unlink(n);
    link(n, head_);
  }

  void clear() {
    while (head_) remove(head_);
  }

  struct iterator {
    using iterator_category = std::forward_iterator_tag;
    using value_type = T*;
    using difference_type = std::ptrdiff_t;
    using pointer = T**;
    using reference = T*;
    Node* n;
    T* operator*() const { return n->data; }
    iterator& operator++() { n = n->next; return *this; }
    iterator operator++(int) { iterator t = *this; n = n->next; return t; }
    bool operator==(const iterator&) const = default;
  };
  iterator begin() const { return {head_}; }
  iterator end() const { return {nullptr}; }

 private:
  void link(Node* n, Node* before) {
    n->next = before;
    n->previous = before ? before->previous : tail_;
    if (n->previous) n->previous->next = n; else head_ = n;
    if (before) before->previous = n; else tail_ = n;
    ++count_;
  }
  void unlink(Node* n) {
    if (n->previous) n->previous->next = n->next; else head_ = n->next;
    if (n->next) n->next->previous = n->previous; else tail_ = n->previous;
    n->next = n->previous = nullptr;
    --count_;
  }

  Node* head_ = nullptr;
  Node* tail_ = nullptr;
  uint16_t count_ = 0;
};

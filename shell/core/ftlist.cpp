#include "shell/core/ftlist.h"

void FList::insert(FElement* node, FElement* before) {
  node->next = before;
  node->previous = before ? before->previous : last_;
  if (node->previous) node->previous->next = node; else first_ = node;
  if (before) before->previous = node; else last_ = node;
}

void FList::insertSorted(FElement* node) {
  const int32_t key = node->sortKey();
  FElement* before = first_;
  while (before && before->sortKey() <= key) before = before->next;
  insert(node, before);
}

FElement* FList::findByKey(int32_t key) const {
  for (FElement* n = first_; n; n = n->next)
    if (n->sortKey() == key) return n;
  return nullptr;
}

bool FList::contains(const FElement* node) const {
  for (FElement* n = first_; n; n = n->next)
    if (n == node) return true;
  return false;
}

int FList::count() const {
  int c = 0;
  for (FElement* n = first_; n; n = n->next) ++c;
  return c;
}

void FList::unlink(FElement* node) {
  if (node->previous) node->previous->next = node->next; else first_ = node->next;
  if (node->next) node->next->previous = node->previous; else last_ = node->previous;
  node->previous = node->next = nullptr;
}

void FList::remove(FElement* node) {
  unlink(node);
  if (cursor_ == node) cursor_ = last_;
  if (owning_) delete node;
}

void FList::truncateFrom(FElement* node) {
  if (!contains(node)) return;
  FElement* keep = node->previous;
  for (FElement* n = node; n;) {
    FElement* next = n->next;
    if (cursor_ == n) cursor_ = keep;
    n->previous = n->next = nullptr;
    if (owning_) delete n;
    n = next;
  }
  last_ = keep;
  if (keep) keep->next = nullptr; else first_ = nullptr;
}

void FList::clear() {
  for (FElement* n = first_; n;) {
    FElement* next = n->next;
    n->previous = n->next = nullptr;
    if (owning_) delete n;
    n = next;
  }
  first_ = last_ = cursor_ = nullptr;
}

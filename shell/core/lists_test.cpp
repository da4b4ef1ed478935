#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/core/ftlist.h"
#include "shell/core/liveobjects.h"
#include "shell/core/ptrlist.h"

namespace {

struct cKeyed : FTElement<cKeyed> {
  cKeyed(int32_t k, char n, int* deaths = nullptr) : key(k), name(n), deaths_(deaths) {}
  ~cKeyed() override {
    if (deaths_) ++*deaths_;
  }
  int32_t sortKey() const override { return key; }
  int32_t key;
  char name;
  int* deaths_;
};

std::string names(const FTList<cKeyed>& list) {
  std::string s;
  for (const cKeyed& e : list) s += e.name;
  return s;
}

}  // namespace

TEST(FTListTest, SortedInsertKeepsInsertionOrderOfEqualKeys) {
  FTList<cKeyed> list;
  for (auto [k, n] : std::vector<std::pair<int, char>>{{5, 'a'}, {1, 'b'}, {5, 'c'}, {-3, 'd'}, {9, 'e'}, {5, 'f'}})
    list.insertSorted(std::make_unique<cKeyed>(k, n));
  EXPECT_EQ(names(list), "dbacfe");
  EXPECT_EQ(list.findByKey(5)->name, 'a');
  EXPECT_EQ(list.findByKey(7), nullptr);
  EXPECT_EQ(list.count(), 6);
}

TEST(FTListTest, InsertBeforeRemoveTruncateAndOwnership) {
  int deaths = 0;
  {
    FTList<cKeyed> list;  // owning by default
    cKeyed* a = list.insert(std::make_unique<cKeyed>(0, 'a', &deaths));
    cKeyed* c = list.insert(std::make_unique<cKeyed>(0, 'c', &deaths));
    list.insert(std::make_unique<cKeyed>(0, 'b', &deaths), c);
    list.insert(std::make_unique<cKeyed>(0, '0', &deaths), a);  // in front of the first
    cKeyed* d = list.insert(std::make_unique<cKeyed>(0, 'd', &deaths));
    EXPECT_EQ(names(list), "0abcd");
    EXPECT_EQ(list.first()->name, '0');

    list.setCursor(d);
    list.remove(d);  // removing the cursor moves it to the new last node
    EXPECT_EQ(deaths, 1);
    EXPECT_EQ(list.cursor(), c);
    EXPECT_EQ(list.last(), c);

    cKeyed* b = list.first()->nextElement()->nextElement();
    ASSERT_EQ(b->name, 'b');
    list.truncateFrom(b);
    EXPECT_EQ(names(list), "0a");
    EXPECT_EQ(list.last(), a);
    EXPECT_EQ(a->next, nullptr);
    EXPECT_EQ(deaths, 3);

    cKeyed stranger(0, 'x');
    list.truncateFrom(&stranger);  // not in the list: nothing happens
    EXPECT_EQ(names(list), "0a");
    EXPECT_FALSE(list.contains(&stranger));
    EXPECT_TRUE(list.contains(a));
  }
  EXPECT_EQ(deaths, 5);  // the destructor cleared the rest
}

TEST(FTListTest, NonOwningListLeavesElementsAlive) {
  int deaths = 0;
  cKeyed a(1, 'a', &deaths), b(2, 'b', &deaths);
  {
    FTList<cKeyed> list(false);
    list.insertSorted(&b);
    list.insertSorted(&a);
    EXPECT_EQ(names(list), "ab");
    list.remove(&a);
    list.clear();
  }
  EXPECT_EQ(deaths, 0);
  EXPECT_EQ(a.next, nullptr);
  EXPECT_EQ(b.previous, nullptr);
}

TEST(PtrListTest, LinksCountsAndMoves) {
  int v[4] = {0, 1, 2, 3};
  cPtrList<int> list;
  list.append(&v[1]);
  list.append(&v[2]);
  list.prepend(&v[0]);
  list.insertBefore(list.find(&v[2]), &v[3]);
  auto collect = [&] {
    std::vector<int> out;
    for (int* p : list) out.push_back(*p);
    return out;
  };
  EXPECT_EQ(collect(), (std::vector<int>{0, 1, 3, 2}));
  EXPECT_EQ(list.count(), 4);
  list.moveToTail(list.find(&v[0]));
  list.moveToHead(list.find(&v[2]));
  EXPECT_EQ(collect(), (std::vector<int>{2, 1, 3, 0}));
  EXPECT_TRUE(list.removeData(&v[3]));
  EXPECT_FALSE(list.removeData(&v[3]));
  EXPECT_EQ(list.head()->data, &v[2]);
  EXPECT_EQ(list.tail()->data, &v[0]);
  EXPECT_EQ(list.tail()->previous->data, &v[1]);
  EXPECT_EQ(list.count(), 3);
}

TEST(PtrListTest, OwningListDeletesDataAndTheCountHasALimit) {
  const int64_t before = liveObjectCount();
  {
    struct cThing : cLiveObject {};
    cPtrList<cThing, true> owned;
    owned.append(std::make_unique<cThing>());
    owned.append(std::make_unique<cThing>());
    auto kept = owned.release(owned.head());
    EXPECT_EQ(owned.count(), 1);
    EXPECT_NE(kept, nullptr);
  }
  EXPECT_EQ(liveObjectCount(), before);

  int x = 0;
  cPtrList<int> full;
  for (int i = 0; i < cPtrList<int>::kMaxCount; ++i) ASSERT_NE(full.append(&x), nullptr);
  EXPECT_EQ(full.append(&x), nullptr);  // a 16-bit count cannot grow further
  EXPECT_EQ(full.count(), cPtrList<int>::kMaxCount);
}

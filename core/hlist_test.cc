#include "core/hlist.h"

#include <gtest/gtest.h>

#include <thread>

#include <string>
#include <vector>

namespace {

std::vector<char> items(const HList<char>& list) {
  std::vector<char> out;
  for (char c : list) out.push_back(c);
  return out;
}

HList<char> listOf(const std::string& text) {
  HList<char> list;
  for (char c : text) list.insertTail(c);
  return list;
}

TEST(HListTest, StackAtTheEnd) {
  HList<char> list = listOf("abc");
  EXPECT_EQ(list.getLast(), 'c');
  EXPECT_EQ(list.removeHead(), 'c');
  EXPECT_EQ(items(list), (std::vector<char>{'a', 'b'}));
  EXPECT_EQ(list.removeHead(), 'b');
}

TEST(HListTest, InsertHeadAndRemove) {
  HList<char> list = listOf("ab");
  list.insertHead('x');
  EXPECT_EQ(items(list), (std::vector<char>{'x', 'a', 'b'}));
  HList<char> abc = listOf("abc");
  EXPECT_TRUE(abc.remove(1));
  EXPECT_EQ(items(abc), (std::vector<char>{'a', 'c'}));
  EXPECT_FALSE(abc.remove(2));
  EXPECT_EQ(abc.getCount(), 2);
}

TEST(HListTest, SearchFindsTheFirst) {
  HList<char> list = listOf("abcb");
  EXPECT_EQ(list.search('b'), 1);
  EXPECT_EQ(list.search('z'), -1);
}

TEST(HListTest, CopiesAreIndependent) {
  HList<char> list = listOf("ab");
  HList<char> copy = list;
  copy[0] = 'z';
  list = list;
  EXPECT_EQ(items(list), (std::vector<char>{'a', 'b'}));
  EXPECT_EQ(items(copy), (std::vector<char>{'z', 'b'}));
}

TEST(HListTest, PositionsStayRightAcrossEdits) {
  HList<int> list;
  for (int i = 0; i < 10; ++i) list.insertTail(i);
  EXPECT_EQ(list[7], 7);
  list.insertHead(-1);
  EXPECT_EQ(list[7], 6);
  list.remove(0);
  EXPECT_EQ(list[7], 7);
  EXPECT_EQ(list[2], 2);
  list.removeHead();
  EXPECT_EQ(list[8], 8);
  for (int i = 8; i >= 0; --i) EXPECT_EQ(list[i], i);
}

using HListDeathTest = ::testing::Test;

// Nodes freed on a thread that then ends serve the next thread that needs
// some, so threads started one after another do not grow memory each time.
TEST(HListTest, AnEndedThreadsNodesServeTheNext) {
  struct Cell {
    int value = 0;
  };
  auto firstElementAddress = [] {
    const void* address = nullptr;
    std::thread([&] {
      HList<Cell> list;
      list.insertTail(Cell{1});
      address = &list[0];
    }).join();
    return address;
  };
  const void* first = firstElementAddress();
  EXPECT_EQ(firstElementAddress(), first);
}

TEST_F(HListDeathTest, MisuseEndsTheProgramWithItsMessage) {
  EXPECT_EXIT(
      {
        HList<int> empty;
        empty[0];
      },
      ::testing::ExitedWithCode(kFatalExitStatus), "Errore nel metodo HList<T>::operator\\[\\]\\(T\\): indice fuori limite");
  EXPECT_EXIT(HList<int>().getLast(), ::testing::ExitedWithCode(kFatalExitStatus),
              "Errore nel metodo HList<T>::getLast\\(\\): List vuota");
  EXPECT_EXIT(HList<int>().removeHead(), ::testing::ExitedWithCode(kFatalExitStatus),
              "Errore nel metodo HList<T>::removeHead\\(\\): List vuota");
}

}  // namespace

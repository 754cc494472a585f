// The application table and the client list: storing, finding, and forgetting a
// window with the entries closing up in their order.
#include "delivery/app_table.h"

#include <gtest/gtest.h>

#include "delivery/client_list.h"

namespace astro {
namespace {

AppEntry Entry(WindowHandle window, std::uint32_t process, std::uint32_t thread) {
  AppEntry e;
  e.window = window;
  e.processId = process;
  e.threadId = thread;
  return e;
}

void ExpectSlot(const AppTable& table, int index, WindowHandle window, std::uint32_t process,
                std::uint32_t thread) {
  EXPECT_EQ(table.Slot(index).window, window) << "slot " << index;
  EXPECT_EQ(table.Slot(index).processId, process) << "slot " << index;
  EXPECT_EQ(table.Slot(index).threadId, thread) << "slot " << index;
}

TEST(AppTableTest, StoreReplacesTheMatchingEntryOrTakesTheFirstFreeSlot) {
  AppTable table;
  EXPECT_TRUE(table.StoreByThread(11, Entry(100, 1, 11)));
  EXPECT_TRUE(table.StoreByThread(22, Entry(200, 2, 22)));
  EXPECT_TRUE(table.StoreByThread(11, Entry(101, 1, 11)));  // same thread: replaced
  ExpectSlot(table, 0, 101, 1, 11);
  ExpectSlot(table, 1, 200, 2, 22);
  ExpectSlot(table, 2, 0, 0, 0);
  EXPECT_TRUE(table.StoreByProcess(2, Entry(201, 2, 23)));  // same process: replaced
  ExpectSlot(table, 1, 201, 2, 23);
  EXPECT_TRUE(table.HasProcess(2));
  EXPECT_TRUE(table.HasThread(23));
  EXPECT_FALSE(table.HasThread(22));
}

TEST(AppTableTest, FindCopiesTheFirstMatchIntoCurrentApp) {
  AppTable table;
  table.StoreByThread(11, Entry(100, 1, 11));
  table.StoreByThread(12, Entry(101, 1, 12));
  AppEntry current = Entry(9, 9, 9);
  EXPECT_TRUE(table.FindByProcess(1, current));
  EXPECT_EQ(current.window, 100u);
  EXPECT_TRUE(table.FindByThread(12, current));
  EXPECT_EQ(current.window, 101u);
  EXPECT_FALSE(table.FindByThread(13, current));
  EXPECT_EQ(current.window, 101u);  // unchanged when not found
  EXPECT_FALSE(table.FindByProcess(5, current));
}

TEST(AppTableTest, FullTableStoresNothingMore) {
  AppTable table;
  for (std::uint32_t i = 1; i <= 8; ++i) EXPECT_TRUE(table.StoreByThread(i, Entry(i, i, i)));
  EXPECT_FALSE(table.StoreByThread(9, Entry(9, 9, 9)));
  EXPECT_FALSE(table.StoreByProcess(9, Entry(9, 9, 9)));
  EXPECT_FALSE(table.HasThread(9));
  for (int i = 0; i < 8; ++i) ExpectSlot(table, i, i + 1, i + 1, i + 1);
}

TEST(AppTableTest, RemoveAppWindowClearsEveryEntryOfTheWindowAndClosesUp) {
  AppTable table;
  table.StoreByThread(1, Entry(100, 1, 1));
  table.StoreByThread(2, Entry(200, 2, 2));
  table.StoreByThread(3, Entry(100, 3, 3));  // one client bound to two applications
  table.StoreByThread(4, Entry(300, 4, 4));
  table.RemoveAppWindow(100);
  ExpectSlot(table, 0, 200, 2, 2);
  ExpectSlot(table, 1, 300, 4, 4);
  for (int i = 2; i < AppTable::kSlots; ++i) ExpectSlot(table, i, 0, 0, 0);
  EXPECT_FALSE(table.HasProcess(1));
  EXPECT_FALSE(table.HasThread(3));
  // The freed slots are used again.
  EXPECT_TRUE(table.StoreByThread(5, Entry(500, 5, 5)));
  ExpectSlot(table, 2, 500, 5, 5);
  table.RemoveAppWindow(999);  // not there: nothing changes
  ExpectSlot(table, 0, 200, 2, 2);
  ExpectSlot(table, 2, 500, 5, 5);
}

TEST(ClientListTest, AddsInOrderUpToEightAndClosesUp) {
  ClientList list;
  EXPECT_FALSE(list.Add(0));
  for (WindowHandle w = 10; w < 18; ++w) EXPECT_TRUE(list.Add(w));
  EXPECT_FALSE(list.Add(18));  // full
  EXPECT_FALSE(list.Contains(18));
  EXPECT_FALSE(list.Add(12));  // listed already
  list.ClearSlot(0);
  list.ClearSlot(3);
  list.CloseUp();
  const WindowHandle expected[8] = {11, 12, 14, 15, 16, 17, 0, 0};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(list.Slot(i), expected[i]) << i;
  EXPECT_TRUE(list.Add(18));
  EXPECT_EQ(list.Slot(6), 18u);
}

}  // namespace
}  // namespace astro

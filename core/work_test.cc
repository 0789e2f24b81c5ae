#include "core/work.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string messageOf(void (*work)()) {
  try {
    work();
  } catch (const WorkStopped& e) {
    EXPECT_FALSE(e.cancelled());
    return e.what();
  }
  return "";
}

TEST(WorkTest, LimitsOfTheInnermostScope) {
  WorkLimits outer;
  outer.states = 10;
  WorkScope first(outer);
  EXPECT_NO_THROW(noteStates("LR(1) collection", 10, 10));
  EXPECT_EQ(messageOf([] { noteStates("LR(1) collection", 11, 11); }),
            "The LR(1) collection has more than 10 states; that is the limit of one command.");
  {
    WorkLimits inner;
    inner.states = 100;
    inner.items = 50;
    WorkScope second(inner);
    EXPECT_NO_THROW(noteStates("LR(0) collection", 11, 11));
    EXPECT_EQ(messageOf([] { noteStates("LR(0) collection", 12, 51); }),
              "The LR(0) collection has more than 50 items; that is the limit of one command.");
  }
  EXPECT_EQ(currentLimits().states, 10);
}

TEST(WorkTest, RowsOfATrace) {
  WorkLimits limits;
  limits.rows = 3;
  WorkScope scope(limits);
  EXPECT_NO_THROW(noteRows(3));
  EXPECT_EQ(messageOf([] { noteRows(4); }), "The trace has more than 3 rows; that is the limit of one command.");
}

TEST(WorkTest, OutputOfACommand) {
  WorkLimits limits;
  limits.outputMiB = 1;
  WorkScope scope(limits);
  EXPECT_NO_THROW(noteOutput(1 << 20));
  EXPECT_EQ(messageOf([] { noteOutput((1 << 20) + 1); }), "The output has more than 1 MiB; that is the limit of one command.");
  EXPECT_EQ(messageOf([] { noteOutput(1 << 21, "The trace's text"); }),
            "The trace's text has more than 1 MiB; that is the limit of one command.");
}

// A client writing on its own thread, outside any scope, is never stopped.
TEST(WorkTest, OutputAndInputAreBoundedInsideAScopeOnly) {
  EXPECT_NO_THROW(noteOutput(long{1} << 40));
  EXPECT_NO_THROW(noteInput(long{1} << 40, "The grammar"));
  WorkLimits limits;
  limits.inputMiB = 2;
  WorkScope scope(limits);
  EXPECT_EQ(messageOf([] { noteInput((2 << 20) + 1, "The grammar"); }),
            "The grammar has more than 2 MiB; that is the limit of one command.");
}

TEST(WorkTest, CancelStopsTheNextNote) {
  std::atomic<bool> cancel{false};
  WorkScope scope({}, &cancel);
  EXPECT_NO_THROW(noteWork());
  cancel = true;
  try {
    noteWork();
    ADD_FAILURE() << "no stop";
  } catch (const WorkStopped& e) {
    EXPECT_TRUE(e.cancelled());
  }
}

// A long computation sees the memory limit without being asked: the notes
// look at the resident memory every few milliseconds.
TEST(WorkTest, MemoryLimitIsSeenByTheNotes) {
  WorkLimits limits;
  limits.memoryMiB = 1;
  WorkScope scope(limits);
  std::string message;
  try {
    for (long k = 0; k < 2'000'000'000L; ++k) noteWork();
  } catch (const WorkStopped& e) {
    message = e.what();
  }
  EXPECT_EQ(message, "The command needs more than 1 MiB of memory; that is the limit of one command.");
}

}  // namespace

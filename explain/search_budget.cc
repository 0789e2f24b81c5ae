#include "explain/search_budget.h"

#include "core/work.h"

bool SearchBudget::step() {
  if (end_ != End::kNone) return false;
  noteWork();
  if (++used_ > steps_) {
    end_ = End::kSteps;
    return false;
  }
  // The clock costs a call; every 64th step is often enough.
  if ((used_ & 63) == 0 && Clock::now() > deadline_) {
    end_ = End::kTime;
    return false;
  }
  return true;
}

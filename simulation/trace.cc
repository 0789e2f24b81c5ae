#include "simulation/trace.h"

Row emptyStep() {
  Row row;
  for (int j = 0; j < 3; ++j) row.insertTail(HString());
  return row;
}

Table finishTrace(Table steps) {
  steps.removeHead();
  Row header;
  header.insertTail("Stack");
  header.insertTail("Input");
  header.insertTail("Action");
  steps.insertHead(header);
  int k = 0;
  for (Row& row : steps) row.insertHead(k++ == 0 ? HString() : HString(k - 1));
  return steps;
}

const std::string& StackTexts::of(int top) {
  // The nodes above the deepest one the current path shares with top's.
  above_.clear();
  int k = top;
  while (k != -1) {
    size_t height = static_cast<size_t>(nodes_[static_cast<size_t>(k)].height);
    if (height <= path_.size() && path_[height - 1] == k) break;
    above_.push_back(k);
    k = nodes_[static_cast<size_t>(k)].parent;
  }
  size_t kept = k == -1 ? 0 : static_cast<size_t>(nodes_[static_cast<size_t>(k)].height);
  path_.resize(kept);
  ends_.resize(kept);
  text_.resize(kept == 0 ? 0 : ends_.back());
  for (auto node = above_.rbegin(); node != above_.rend(); ++node) {
    write_(context_, nodes_[static_cast<size_t>(*node)], text_);
    text_ += ' ';
    path_.push_back(*node);
    ends_.push_back(text_.size());
  }
  return text_;
}

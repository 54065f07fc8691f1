// What the flow wrote to the tests' log: the text added since a mark, and whether a series of
// markers appears in it in order.
#pragma once

#include <string>
#include <vector>

class LogTail {
  public:
    LogTail();
    std::string NewText() const;

  private:
    size_t offset_;
};

// Empty when every marker occurs in |text| after the previous one; otherwise the first that
// does not.
std::string FirstMissingInOrder(const std::string& text, const std::vector<std::string>& markers);

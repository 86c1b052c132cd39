#pragma once

#include <string>
#include <vector>

namespace platform {

// A window menu: separators and text items with command ids, in order.
class CMenu {
 public:
  struct Item {
    bool separator;
    unsigned id;
    std::string text;  // "&" marks the access key
  };

  void AppendSeparator() { m_items.push_back(Item{true, 0, {}}); }
  void AppendString(unsigned id, std::string text) { m_items.push_back(Item{false, id, std::move(text)}); }
  const std::vector<Item>& Items() const { return m_items; }

 private:
  std::vector<Item> m_items;
};

}  // namespace platform

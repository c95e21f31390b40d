// Nesting joins into a FROM list.
#include "queries/query_from_clause.h"

#include <algorithm>
#include <map>
#include <set>

namespace queries {

namespace {

// One item of the FROM list in the making: a lone table or a chain of joins.
struct JoinGroup {
  std::string text;
  bool isJoin = false;
  std::set<std::string> names;
  bool listed = false;
};

std::string effectiveName(const QueryTable& table) {
  return table.alias.empty() ? table.name : table.alias;
}

std::string tableText(const QueryTable& table) {
  if (table.name.empty() && !table.expression.empty()) return "(" + table.expression + ") As [" + table.alias + "]";
  std::string text = "[" + table.name + "]";
  if (!table.alias.empty()) text += " As [" + table.alias + "]";
  return text;
}

const char* joinWords(int type, bool flipped) {
  if (type == kJoinLeft) return flipped ? " RIGHT JOIN " : " LEFT JOIN ";
  if (type == kJoinRight) return flipped ? " LEFT JOIN " : " RIGHT JOIN ";
  return " INNER JOIN ";
}

// The stored conditions of one join, newest first, as Access lists them.
std::string onText(const std::vector<std::string>& conditions) {
  if (conditions.size() == 1) return conditions.front();
  std::string text;
  for (auto it = conditions.rbegin(); it != conditions.rend(); ++it) {
    if (!text.empty()) text += " AND ";
    text += "(" + *it + ")";
  }
  return text;
}

std::string operand(const JoinGroup& group) {
  return group.isJoin ? "(" + group.text + ")" : group.text;
}

class FromListBuilder {
 public:
  explicit FromListBuilder(const std::vector<QueryTable>& tables) {
    for (const auto& table : tables) textByName_.emplace(effectiveName(table), tableText(table));
  }

  void join(const QueryJoin& join) {
    int left = groupOf(join.left), right = groupOf(join.right);
    const std::string on = " ON " + onText(join.conditions);
    if (left < 0 && right < 0) {
      groups_.push_back(JoinGroup{nameText(join.left) + joinWords(join.type, false) + nameText(join.right) + on,
                                  true,
                                  {join.left, join.right}});
    } else if (left >= 0 && right < 0) {
      extend(groups_[left], join.right, join.type, false, on);
    } else if (right >= 0 && left < 0) {
      extend(groups_[right], join.left, join.type, true, on);
    } else if (left != right) {
      JoinGroup& into = groups_[left];
      JoinGroup& from = groups_[right];
      into.text = operand(into) + joinWords(join.type, false) + operand(from) + on;
      into.isJoin = true;
      into.names.insert(from.names.begin(), from.names.end());
      from.names.clear();
      from.text.clear();
    } else {
      // Both tables are joined already: the condition can only tighten the last join.
      groups_[left].text += " AND (" + onText(join.conditions) + ")";
    }
  }

  std::string list(const std::vector<QueryTable>& tables) {
    std::vector<std::string> items;
    for (const auto& table : tables) {
      const int group = groupOf(effectiveName(table));
      if (group < 0) {
        items.push_back(tableText(table));
      } else if (!groups_[group].listed) {
        items.push_back(groups_[group].text);
        groups_[group].listed = true;
      }
    }
    for (auto& group : groups_)  // joins of tables that no table row names
      if (!group.listed && !group.text.empty()) items.push_back(group.text);
    std::string text;
    for (const auto& item : items) text += (text.empty() ? "" : ",") + item + " ";
    return text;
  }

 private:
  int groupOf(const std::string& name) const {
    for (size_t i = 0; i < groups_.size(); ++i)
      if (groups_[i].names.count(name)) return static_cast<int>(i);
    return -1;
  }

  std::string nameText(const std::string& name) const {
    const auto found = textByName_.find(name);
    return found != textByName_.end() ? found->second : "[" + name + "]";
  }

  void extend(JoinGroup& group, const std::string& name, int type, bool flipped, const std::string& on) {
    group.text = operand(group) + joinWords(type, flipped) + nameText(name) + on;
    group.isJoin = true;
    group.names.insert(name);
  }

  std::map<std::string, std::string> textByName_;  // the first table row of each name wins
  std::vector<JoinGroup> groups_;
};

}  // namespace

std::string BuildFromList(const std::vector<QueryTable>& tables, const std::vector<QueryJoin>& joins) {
  FromListBuilder builder(tables);
  for (const auto& join : joins) builder.join(join);
  return builder.list(tables);
}

}  // namespace queries

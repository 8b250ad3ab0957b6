#include "option/skin/control_table.h"

#include <algorithm>

#include "option/skin/control_math.h"

namespace skin {
namespace {

// The rows with a tab place, in the walk's order.
std::vector<const ControlRow*> WalkRows(std::span<const ControlRow> table) {
    std::vector<const ControlRow*> rows;
    for (const ControlRow& row : table) {
        if (row.tab != kNoTab)
            rows.push_back(&row);
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const ControlRow* a, const ControlRow* b) { return a->tab < b->tab; });
    return rows;
}

}  // namespace

SkinKeys::SkinKeys(std::span<const ControlRow> table) {
    for (const ControlRow& row : table) {
        if (row.key == kNoSkinKey)
            continue;
        texts_.push_back(std::to_string(row.key));
        rows_.push_back(&row);
    }
    for (const std::string& text : texts_) pointers_.push_back(text.c_str());
}

std::vector<int> TabWalk(std::span<const ControlRow> table) {
    std::vector<int> walk;
    int group = 0;
    for (const ControlRow* row : WalkRows(table)) {
        if (row->group != group) {
            if (group != 0)
                walk.push_back(kGroupEnd);
            if (row->group != 0)
                walk.push_back(GroupStart(row->columns));
            group = row->group;
        }
        walk.push_back(row->id);
    }
    if (group != 0)
        walk.push_back(kGroupEnd);
    return walk;
}

TableFault CheckControlTable(std::span<const ControlRow> table) {
    for (std::size_t i = 0; i < table.size(); ++i) {
        for (std::size_t j = i + 1; j < table.size(); ++j) {
            if (table[i].id == table[j].id)
                return TableFault::RepeatedId;
            if (table[i].key == table[j].key && table[i].key != kNoSkinKey)
                return TableFault::RepeatedKey;
        }
    }
    const std::vector<const ControlRow*> walk = WalkRows(table);
    for (std::size_t i = 0; i < walk.size(); ++i) {
        if (walk[i]->tab != static_cast<int>(i) + 1)
            return TableFault::TabPlacesNotAPermutation;
    }
    // Each group is one run of the walk, and every member of it is walked.
    std::vector<int> closed;
    int group = 0;
    for (const ControlRow* row : walk) {
        if (row->group == group)
            continue;
        if (group != 0)
            closed.push_back(group);
        if (std::find(closed.begin(), closed.end(), row->group) != closed.end())
            return TableFault::GroupSplit;
        group = row->group;
    }
    for (const ControlRow& row : table) {
        if (row.group != 0 && row.tab == kNoTab)
            return TableFault::GroupSplit;
    }
    return TableFault::None;
}

}  // namespace skin

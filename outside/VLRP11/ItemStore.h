// The named items of a job (its variables, or its fields): value text, type code and, for icons,
// the job's own copy of the icon.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace rp {

class ItemStore {
public:
    struct Item {
        std::string value;
        int type = 0; // 0: text, else an RP_ITEM_ code
        HICON icon = nullptr;
    };

    ItemStore() = default;
    ~ItemStore() { Clear(); }
    ItemStore(const ItemStore&) = delete;
    ItemStore& operator=(const ItemStore&) = delete;

    void Clear();
    void Define(const std::string& name, const std::string& value, int type);
    // Keeps a copy of the icon; the caller's handle may be destroyed after the call.
    void DefineIcon(const std::string& name, HICON icon, int type);
    const Item* Find(const std::string& name) const;
    // The printed text of an item; empty for an unknown name.
    std::string Text(const std::string& name) const;
    size_t IconCount() const;
    // Names and types, sorted by name.
    std::vector<std::pair<std::string, int>> Names() const;

private:
    std::map<std::string, Item> m_items;
};

} // namespace rp

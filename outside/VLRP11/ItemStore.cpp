#include "ItemStore.h"

#include "ItemText.h"

namespace rp {

void ItemStore::Clear()
{
    for (auto& entry : m_items)
        if (entry.second.icon)
            DestroyIcon(entry.second.icon);
    m_items.clear();
}

void ItemStore::Define(const std::string& name, const std::string& value, int type)
{
    Item& item = m_items[name];
    if (item.icon) {
        DestroyIcon(item.icon);
        item.icon = nullptr;
    }
    item.value = value;
    item.type = type;
}

void ItemStore::DefineIcon(const std::string& name, HICON icon, int type)
{
    HICON copy = icon ? CopyIcon(icon) : nullptr;
    Define(name, std::string(), type);
    m_items[name].icon = copy;
}

const ItemStore::Item* ItemStore::Find(const std::string& name) const
{
    auto found = m_items.find(name);
    return found == m_items.end() ? nullptr : &found->second;
}

std::string ItemStore::Text(const std::string& name) const
{
    const Item* item = Find(name);
    return item ? DisplayText(item->value, item->type) : std::string();
}

size_t ItemStore::IconCount() const
{
    size_t count = 0;
    for (const auto& entry : m_items)
        count += entry.second.icon != nullptr;
    return count;
}

std::vector<std::pair<std::string, int>> ItemStore::Names() const
{
    std::vector<std::pair<std::string, int>> names;
    for (const auto& entry : m_items)
        names.emplace_back(entry.first, entry.second.type);
    return names;
}

} // namespace rp

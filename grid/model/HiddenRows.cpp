#include "grid/model/HiddenRows.h"

#include <algorithm>
#include <iterator>

#include "grid/model/CellGraphic.h"

TGridItem::TGridItem() : TCollectionItem(nullptr), FItems(std::make_unique<TStringList>()) {}

TGridItem::~TGridItem()
{
    for (int i = 0; i < FItems->Count(); ++i)
        delete AsCellGraphic(FItems->Objects(i));
}

void TGridItem::ReleaseObjects()
{
    for (int i = 0; i < FItems->Count(); ++i)
        FItems->SetObjects(i, nullptr);
}

TGridItem* THiddenRows::Find(int Real) const
{
    const auto it = FByIdx.find(Real);
    return it == FByIdx.end() ? nullptr : it->second;
}

bool THiddenRows::IsHidden(int Real) const { return std::binary_search(FSorted.begin(), FSorted.end(), Real); }

TGridItem& THiddenRows::Add(int Real)
{
    FItems.push_back(std::make_unique<TGridItem>());
    FItems.back()->Idx = Real;
    FSorted.insert(std::upper_bound(FSorted.begin(), FSorted.end(), Real), Real);
    FByIdx[Real] = FItems.back().get();
    return *FItems.back();
}

void THiddenRows::Remove(const std::vector<TGridItem*>& Items)
{
    if (Items.empty())
        return;
    std::unordered_map<const TGridItem*, int> going;
    for (const TGridItem* item : Items)
        going.emplace(item, item->Idx);
    for (const auto& [item, idx] : going)
        FByIdx.erase(idx);
    std::vector<int> idx;
    for (const auto& [item, i] : going)
        idx.push_back(i);
    std::sort(idx.begin(), idx.end());
    std::vector<int> kept;
    std::set_difference(FSorted.begin(), FSorted.end(), idx.begin(), idx.end(), std::back_inserter(kept));
    FSorted = std::move(kept);
    std::erase_if(FItems, [&](const auto& p) { return going.count(p.get()) != 0; });
}

void THiddenRows::Clear()
{
    FItems.clear();
    FSorted.clear();
    FByIdx.clear();
}

int THiddenRows::HiddenBelow(int Real) const
{
    return static_cast<int>(std::lower_bound(FSorted.begin(), FSorted.end(), Real) - FSorted.begin());
}

int THiddenRows::RealRow(int Display) const
{
    if (Display < 0)
        return -1;
    int real = Display;
    for (int hidden : FSorted) {
        if (hidden > real)
            break;
        ++real;
    }
    return real;
}

bool THiddenRows::CheckConsistency() const
{
    std::vector<int> idx;
    for (const auto& item : FItems)
        idx.push_back(item->Idx);
    std::sort(idx.begin(), idx.end());
    return idx == FSorted && std::adjacent_find(idx.begin(), idx.end()) == idx.end() && FByIdx.size() == FItems.size();
}

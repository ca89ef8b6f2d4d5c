#include "grid/model/HiddenRows.h"

#include <algorithm>

#include "grid/model/CellGraphic.h"

TGridItem::TGridItem() : FItems(std::make_unique<TStringList>()) {}

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
    for (auto it = FItems.rbegin(); it != FItems.rend(); ++it)
        if ((*it)->Idx == Real)
            return it->get();
    return nullptr;
}

bool THiddenRows::IsHidden(int Real) const { return std::binary_search(FSorted.begin(), FSorted.end(), Real); }

TGridItem& THiddenRows::Add(int Real)
{
    FItems.push_back(std::make_unique<TGridItem>());
    FItems.back()->Idx = Real;
    FSorted.insert(std::upper_bound(FSorted.begin(), FSorted.end(), Real), Real);
    return *FItems.back();
}

std::unique_ptr<TGridItem> THiddenRows::Extract(TGridItem* Item)
{
    const auto it = std::find_if(FItems.begin(), FItems.end(), [&](const auto& p) { return p.get() == Item; });
    if (it == FItems.end())
        return nullptr;
    std::unique_ptr<TGridItem> taken = std::move(*it);
    FItems.erase(it);
    FSorted.erase(std::lower_bound(FSorted.begin(), FSorted.end(), taken->Idx));
    return taken;
}

void THiddenRows::Clear()
{
    FItems.clear();
    FSorted.clear();
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
    return idx == FSorted && std::adjacent_find(idx.begin(), idx.end()) == idx.end();
}

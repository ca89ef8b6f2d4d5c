#include "platform/core/Component.h"

#include <algorithm>

#include "platform/core/List.h"

namespace {

bool IsIdentifier(std::string_view s)
{
    if (s.empty())
        return false;
    auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (!alpha(s[0]))
        return false;
    return std::all_of(s.begin() + 1, s.end(), [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); });
}

void EraseOne(std::vector<TComponent*>& v, TComponent* c)
{
    auto it = std::find(v.begin(), v.end(), c);
    if (it != v.end())
        v.erase(it);
}

}  // namespace

TComponent::TComponent(TComponent* AOwner)
{
    if (AOwner)
        AOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    Destroying();
    // Everyone holding a pointer to us drops it before anything of ours goes away. One link at
    // a time: a handler may add or drop links of its own.
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        EraseOne(other->freeNotifies_, this);
        other->Notification(this, opRemove);
    }
    DestroyComponents();
    if (owner_)
        owner_->RemoveComponent(this);
}

TComponent* TComponent::Components(int index) const
{
    if (index < 0 || index >= ComponentCount())
        TList::Error("List index out of bounds (%d)", index);
    return components_[static_cast<size_t>(index)];
}

int TComponent::ComponentIndex() const
{
    if (!owner_)
        return -1;
    auto& list = owner_->components_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(std::string_view name) const
{
    if (name.empty())
        return nullptr;
    for (TComponent* c : components_)
        if (SameText(c->name_, name))
            return c;
    return nullptr;
}

void TComponent::SetName(const AnsiString& newName)
{
    if (newName == name_)
        return;
    if (!newName.empty() && !IsIdentifier(newName))
        throw EComponentError("'" + newName + "' is not a valid component name");
    if (owner_ && !newName.empty()) {
        TComponent* other = owner_->FindComponent(newName);
        if (other && other != this)
            throw EComponentError("A component named " + newName + " already exists");
    }
    name_ = newName;
}

void TComponent::InsertComponent(TComponent* component)
{
    if (!component || component->owner_ == this)
        return;
    if (!component->name_.empty()) {
        TComponent* other = FindComponent(component->name_);
        if (other)
            throw EComponentError("A component named " + component->name_ + " already exists");
    }
    if (component->owner_)
        component->owner_->RemoveComponent(component);
    Insert(component);
    if (InState(csDesigning))
        component->SetDesigning(true);
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component)
{
    if (!component || component->owner_ != this)
        return;
    Remove(component);
    Notification(component, opRemove);
}

void TComponent::DestroyComponents()
{
    while (!components_.empty()) {
        TComponent* c = components_.back();
        c->Destroying();
        RemoveComponent(c);
        delete c;
    }
}

void TComponent::Insert(TComponent* component)
{
    components_.push_back(component);
    component->owner_ = this;
}

void TComponent::Remove(TComponent* component)
{
    EraseOne(components_, component);
    component->owner_ = nullptr;
}

void TComponent::FreeNotification(TComponent* component)
{
    if (!component || component == this)
        return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end()) {
        freeNotifies_.push_back(component);
        component->freeNotifies_.push_back(this);
    }
    state_ |= csFreeNotification;
}

void TComponent::RemoveFreeNotification(TComponent* component)
{
    if (!component)
        return;
    EraseOne(freeNotifies_, component);
    EraseOne(component->freeNotifies_, this);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove && AComponent)
        RemoveFreeNotification(AComponent);
    NotifyOwned(AComponent, Operation);
}

void TComponent::NotifyOwned(TComponent* AComponent, TOperation Operation)
{
    // By index, last first, re-checked each step: a handler may free or add components.
    for (size_t i = components_.size(); i > 0; --i) {
        if (i > components_.size())
            continue;
        TComponent* c = components_[i - 1];
        if (c != AComponent)
            c->Notification(AComponent, Operation);
    }
}

void TComponent::BeginLoading()
{
    state_ |= csLoading;
    for (TComponent* c : components_)
        c->BeginLoading();
}

void TComponent::EndLoading()
{
    if (InState(csLoading))
        Loaded();
    for (size_t i = 0; i < components_.size(); ++i)
        components_[i]->EndLoading();
}

void TComponent::Loaded() { state_ &= ~static_cast<unsigned>(csLoading); }

void TComponent::SetDesigning(bool value)
{
    if (value)
        state_ |= csDesigning;
    else
        state_ &= ~static_cast<unsigned>(csDesigning);
    for (TComponent* c : components_)
        c->SetDesigning(value);
}

void TComponent::Destroying()
{
    if (InState(csDestroying))
        return;
    state_ |= csDestroying;
    for (TComponent* c : components_)
        c->Destroying();
}

namespace {

std::vector<TFindGlobalComponent>& GlobalFinders()
{
    static std::vector<TFindGlobalComponent> finders;
    return finders;
}

}  // namespace

void RegisterFindGlobalComponentProc(TFindGlobalComponent finder)
{
    if (finder)
        GlobalFinders().push_back(finder);
}

void UnRegisterFindGlobalComponentProc(TFindGlobalComponent finder) { std::erase(GlobalFinders(), finder); }

TComponent* FindGlobalComponent(std::string_view name)
{
    for (TFindGlobalComponent finder : GlobalFinders())
        if (TComponent* found = finder(name))
            return found;
    return nullptr;
}

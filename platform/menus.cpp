#include "platform/forms.h"

namespace talvor::platform {

TMenuItem::TMenuItem(TComponent* owner, TMenuItem* parentItem)
    : TComponent(owner), m_parentItem(parentItem) {
  if (parentItem) parentItem->m_items.push_back(this);
}

TMainMenu::TMainMenu(TComponent* owner) : TComponent(owner) {}

TMenuItem* TMainMenu::AddItem(TMenuItem* parentItem, const std::string& name,
                              const std::string& caption, TShortCut shortCut, bool visible) {
  auto* item = new TMenuItem(Owner() ? Owner() : this, parentItem);
  item->Name = name;
  item->Caption = caption;
  item->ShortCut = shortCut;
  item->Visible = visible;
  if (!parentItem) m_items.push_back(item);
  return item;
}

namespace {

TMenuItem* FindIn(const std::vector<TMenuItem*>& items, TShortCut shortCut) {
  for (TMenuItem* item : items) {
    if (item->ShortCut == shortCut) return item;
    if (TMenuItem* found = FindIn(item->Items(), shortCut)) return found;
  }
  return nullptr;
}

}  // namespace

TMenuItem* TMainMenu::FindItem(TShortCut shortCut) const {
  if (shortCut == scNone) return nullptr;
  return FindIn(m_items, shortCut);
}

bool TMainMenu::IsShortCut(TShortCut shortCut) {
  TMenuItem* item = FindItem(shortCut);
  if (!item) return false;
  // Visibility plays no part; every item up the chain must be enabled.
  for (TMenuItem* up = item; up; up = up->ParentItem())
    if (!up->Enabled) return false;
  Application->Guard([&] { item->OnClick(item); });
  return true;
}

}  // namespace talvor::platform

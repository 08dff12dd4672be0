#include <algorithm>

#include "platform/classes.h"

namespace talvor::platform {

namespace detail {
TComponent* g_mainFormComponent = nullptr;
}

TComponent::TComponent(TComponent* owner) : m_owner(owner) {
  if (owner) owner->m_components.emplace_back(this);
}

TComponent::~TComponent() {
  if (detail::g_mainFormComponent == this) detail::g_mainFormComponent = nullptr;
  // Last created first, so that a control goes before its parent.
  while (!m_components.empty()) {
    std::unique_ptr<TComponent> last = std::move(m_components.back());
    m_components.pop_back();
    last->m_owner = nullptr;
    last.reset();
  }
  if (m_owner) {
    auto& siblings = m_owner->m_components;
    const auto it = std::find_if(siblings.begin(), siblings.end(),
                                 [this](const auto& c) { return c.get() == this; });
    if (it != siblings.end()) {
      (void)it->release();  // being destroyed already: the owner must not delete it again
      siblings.erase(it);
    }
  }
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  for (const auto& component : m_components)
    if (component->Name == name) return component.get();
  return nullptr;
}

}  // namespace talvor::platform

#include "platform/user/menus.h"

#include <cstring>
#include <map>
#include <memory>
#include <mutex>

#include "platform/user/window_state.h"
#include "platform/win32.h"

namespace morvex::user {
namespace {

struct Menu {
  std::vector<MenuItem> items;
};

std::mutex menuMutex;
std::map<HMENU, std::unique_ptr<Menu>> menus;
uintptr_t nextMenuHandle = 0x20010;

constexpr UINT kNotFound = static_cast<UINT>(-1);
constexpr UINT kStateBits = MF_CHECKED | MF_GRAYED | MF_DISABLED;

Menu* FindMenuLocked(HMENU handle) {
  auto it = menus.find(handle);
  return it == menus.end() ? nullptr : it->second.get();
}

HMENU NewMenuLocked() {
  HMENU handle = reinterpret_cast<HMENU>(nextMenuHandle);
  nextMenuHandle += 0x10;
  menus[handle] = std::make_unique<Menu>();
  return handle;
}

// The item `id` names: by position, or by command id searched depth-first through submenus.
MenuItem* FindItemLocked(HMENU handle, UINT id, UINT flags, int depth = 0) {
  Menu* menu = FindMenuLocked(handle);
  if (!menu || depth > 16) return nullptr;
  if (flags & MF_BYPOSITION) return id < menu->items.size() ? &menu->items[id] : nullptr;
  for (MenuItem& item : menu->items) {
    if (item.submenu) {
      if (MenuItem* found = FindItemLocked(item.submenu, id, flags, depth + 1)) return found;
    } else if (!(item.flags & MF_SEPARATOR) && item.id == id) {
      return &item;
    }
  }
  return nullptr;
}

void DestroyMenuLocked(HMENU handle, int depth = 0) {
  auto it = menus.find(handle);
  if (it == menus.end() || depth > 16) return;
  std::vector<HMENU> submenus;
  for (const MenuItem& item : it->second->items) {
    if (item.submenu) submenus.push_back(item.submenu);
  }
  menus.erase(it);
  for (HMENU submenu : submenus) DestroyMenuLocked(submenu, depth + 1);
}

// Sets the given state bits of an item; the previous state of those bits, or kNotFound.
UINT ChangeItemState(HMENU menu, UINT id, UINT flags, UINT mask) {
  std::lock_guard lock(menuMutex);
  MenuItem* item = FindItemLocked(menu, id, flags);
  if (!item) return kNotFound;
  const UINT previous = item->flags & mask;
  item->flags = (item->flags & ~mask) | (flags & mask);
  return previous;
}

}  // namespace

std::vector<MenuItem> MenuItems(HMENU handle) {
  std::lock_guard lock(menuMutex);
  Menu* menu = FindMenuLocked(handle);
  return menu ? menu->items : std::vector<MenuItem>{};
}

HMENU SystemMenuOf(HWND hwnd) {
  {
    std::lock_guard lock(State().mutex);
    Window* window = FindWindowLocked(hwnd);
    if (!window) return nullptr;
    if (window->systemMenu) return window->systemMenu;
  }
  HMENU created = CreatePopupMenu();
  AppendMenuA(created, MF_STRING, SC_CLOSE, "Close");
  std::lock_guard lock(State().mutex);
  Window* window = FindWindowLocked(hwnd);
  if (!window || window->systemMenu) {
    DestroyMenu(created);
    return window ? window->systemMenu : nullptr;
  }
  window->systemMenu = created;
  return created;
}

bool CloseDisabled(HWND hwnd) {
  HMENU systemMenu = nullptr;
  {
    std::lock_guard lock(State().mutex);
    Window* window = FindWindowLocked(hwnd);
    if (window) systemMenu = window->systemMenu;
  }
  if (!systemMenu) return false;
  const UINT state = GetMenuState(systemMenu, SC_CLOSE, MF_BYCOMMAND);
  return state != kNotFound && (state & (MF_GRAYED | MF_DISABLED));
}

}  // namespace morvex::user

using namespace morvex::user;

HMENU CreateMenu(void) {
  std::lock_guard lock(menuMutex);
  return NewMenuLocked();
}

HMENU CreatePopupMenu(void) { return CreateMenu(); }

BOOL DestroyMenu(HMENU menu) {
  std::lock_guard lock(menuMutex);
  if (!FindMenuLocked(menu)) return FALSE;
  DestroyMenuLocked(menu);
  return TRUE;
}

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR idNewItem, LPCSTR newItem) {
  std::lock_guard lock(menuMutex);
  Menu* target = FindMenuLocked(menu);
  if (!target) return FALSE;
  MenuItem item;
  item.flags = flags & (MF_SEPARATOR | MF_POPUP | kStateBits);
  item.id = idNewItem;
  if (flags & MF_POPUP) {
    item.submenu = reinterpret_cast<HMENU>(idNewItem);
    if (!FindMenuLocked(item.submenu) || item.submenu == menu) return FALSE;
  }
  if (!(flags & MF_SEPARATOR) && newItem) item.text = newItem;
  target->items.push_back(std::move(item));
  return TRUE;
}

DWORD CheckMenuItem(HMENU menu, UINT idCheckItem, UINT check) {
  return ChangeItemState(menu, idCheckItem, check, MF_CHECKED);
}

BOOL EnableMenuItem(HMENU menu, UINT idEnableItem, UINT enable) {
  return static_cast<BOOL>(ChangeItemState(menu, idEnableItem, enable, MF_GRAYED | MF_DISABLED));
}

UINT GetMenuState(HMENU menu, UINT id, UINT flags) {
  std::lock_guard lock(menuMutex);
  MenuItem* item = FindItemLocked(menu, id, flags);
  if (!item) return kNotFound;
  if (!item->submenu) return item->flags & (kStateBits | MF_SEPARATOR);
  Menu* submenu = FindMenuLocked(item->submenu);
  const UINT count = submenu ? static_cast<UINT>(submenu->items.size()) : 0;
  return (count << 8) | (item->flags & (kStateBits | MF_POPUP));
}

int GetMenuStringA(HMENU menu, UINT id, LPSTR text, int maxCount, UINT flags) {
  std::lock_guard lock(menuMutex);
  MenuItem* item = FindItemLocked(menu, id, flags);
  if (!item) return 0;
  if (!text || maxCount <= 0) return static_cast<int>(item->text.size());
  const size_t count = std::min(item->text.size(), static_cast<size_t>(maxCount - 1));
  std::memcpy(text, item->text.data(), count);
  text[count] = '\0';
  return static_cast<int>(count);
}

int GetMenuItemCount(HMENU menu) {
  std::lock_guard lock(menuMutex);
  Menu* target = FindMenuLocked(menu);
  return target ? static_cast<int>(target->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
  std::lock_guard lock(menuMutex);
  Menu* target = FindMenuLocked(menu);
  if (!target || position < 0 || static_cast<size_t>(position) >= target->items.size()) return kNotFound;
  const MenuItem& item = target->items[position];
  if (item.submenu) return kNotFound;
  return (item.flags & MF_SEPARATOR) ? 0 : static_cast<UINT>(item.id);
}

HMENU GetSubMenu(HMENU menu, int position) {
  std::lock_guard lock(menuMutex);
  Menu* target = FindMenuLocked(menu);
  if (!target || position < 0 || static_cast<size_t>(position) >= target->items.size()) return nullptr;
  return target->items[position].submenu;
}

HMENU GetSystemMenu(HWND hwnd, BOOL) { return SystemMenuOf(hwnd); }

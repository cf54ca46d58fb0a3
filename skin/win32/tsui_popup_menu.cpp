#include "skin/win32/tsui_popup_menu.h"

#include <oleacc.h>

#include <cctype>

#include "skin/mnemonic.h"
#include "skin/theme.h"
#include "skin/win32/dpi.h"
#include "skin/win32/gdi.h"

// MSAAMENUINFO must come first: screen readers read an owner-drawn item's name from it.
struct TsuiPopupMenu::TItem {
  MSAAMENUINFO accessible = {};
  std::wstring accessible_name;
  std::string caption;
  UINT command = 0;
  bool separator = false;
  TNotifyEvent on_click;
};

namespace {

constexpr UINT kFirstCommand = 1;

std::wstring Widened(const std::string& text) {
  std::wstring wide(text.size() + 1, L'\0');
  const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
  wide.resize(length > 0 ? length - 1 : 0);
  return wide;
}

}  // namespace

TsuiPopupMenu::TsuiPopupMenu() = default;

TsuiPopupMenu::~TsuiPopupMenu() {
  if (menu_) DestroyMenu(menu_);
}

bool TsuiPopupMenu::Create(HWND owner) {
  owner_ = owner;
  menu_ = CreatePopupMenu();
  if (!menu_) return false;
  MENUINFO info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIM_BACKGROUND;
  info.hbrBack = ThemeBrush(theme::kCard);
  SetMenuInfo(menu_, &info);
  return true;
}

void TsuiPopupMenu::AddItem(const std::string& caption, TNotifyEvent on_click) {
  auto item = std::make_unique<TItem>();
  item->separator = caption == "-";
  item->command = kFirstCommand + static_cast<UINT>(items_.size());
  item->on_click = std::move(on_click);
  item->caption = caption;
  item->accessible_name = Widened(caption);
  item->accessible.dwMSAASignature = MSAA_MENU_SIG;
  item->accessible.cchWText = static_cast<DWORD>(item->accessible_name.size());
  item->accessible.pszWText = &item->accessible_name[0];
  const UINT flags = MF_OWNERDRAW | (item->separator ? MF_SEPARATOR : 0);
  AppendMenuA(menu_, flags, item->command, reinterpret_cast<LPCSTR>(item.get()));
  items_.push_back(std::move(item));
}

void TsuiPopupMenu::SetItemCaption(int index, const std::string& caption) {
  if (index < 0 || index >= static_cast<int>(items_.size())) return;
  TItem& item = *items_[index];
  item.caption = caption;
  item.accessible_name = Widened(caption);
  item.accessible.cchWText = static_cast<DWORD>(item.accessible_name.size());
  item.accessible.pszWText = &item.accessible_name[0];
}

void TsuiPopupMenu::Popup(int x, int y) {
  if (!menu_ || open_) return;
  open_ = true;
  // Without the owner in the foreground the menu would not close when the user clicks
  // elsewhere.
  SetForegroundWindow(owner_);
  const UINT command = static_cast<UINT>(
      TrackPopupMenu(menu_, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, x, y, 0, owner_, nullptr));
  // And without a message after it, a second click on the tray icon would find the menu
  // closing at once.
  PostMessageA(owner_, WM_NULL, 0, 0);
  open_ = false;
  for (const auto& item : items_) {
    if (item->command == command && item->on_click) {
      item->on_click();
      break;
    }
  }
}

const TsuiPopupMenu::TItem* TsuiPopupMenu::ItemOf(ULONG_PTR data) const {
  for (const auto& item : items_) {
    if (reinterpret_cast<ULONG_PTR>(item.get()) == data) return item.get();
  }
  return nullptr;
}

bool TsuiPopupMenu::HandleMenuMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  if (message == WM_MEASUREITEM) {
    auto& measure = *reinterpret_cast<MEASUREITEMSTRUCT*>(lparam);
    if (measure.CtlType != ODT_MENU || !ItemOf(measure.itemData)) return false;
    Measure(measure);
    result = TRUE;
    return true;
  }
  if (message == WM_DRAWITEM) {
    const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
    if (draw.CtlType != ODT_MENU || !ItemOf(draw.itemData)) return false;
    Draw(draw);
    result = TRUE;
    return true;
  }
  if (message == WM_MENUCHAR && reinterpret_cast<HMENU>(lparam) == menu_) {
    result = MenuChar(wparam, lparam);
    return true;
  }
  return false;
}

void TsuiPopupMenu::Measure(MEASUREITEMSTRUCT& measure) const {
  const TItem& item = *ItemOf(measure.itemData);
  if (item.separator) {
    measure.itemWidth = 0;
    measure.itemHeight = Scale(theme::kMenuSeparatorHeight);
    return;
  }
  const SIZE text = MeasureThemeText(WithoutMnemonic(item.caption), TFontRole::Normal);
  measure.itemWidth = text.cx + 2 * Scale(theme::kMenuTextIndent) + Scale(24);
  measure.itemHeight = Scale(theme::kMenuItemHeight);
}

void TsuiPopupMenu::Draw(const DRAWITEMSTRUCT& draw) const {
  const TItem& item = *ItemOf(draw.itemData);
  TPaintBuffer buffer(draw.hDC, draw.rcItem);
  if (!buffer.Ready()) return;
  TPixelCanvas& canvas = buffer.Canvas();
  canvas.Fill(theme::kCard);
  const double w = draw.rcItem.right - draw.rcItem.left;
  const double h = draw.rcItem.bottom - draw.rcItem.top;
  if (item.separator) {
    const double margin = Scale(8);
    canvas.FillRoundRect({margin, h / 2, w - margin, h / 2 + 1}, 0, theme::kCardBorder);
    return;
  }
  const bool selected = (draw.itemState & ODS_SELECTED) != 0;
  const bool enabled = (draw.itemState & (ODS_DISABLED | ODS_GRAYED)) == 0;
  if (selected && enabled) {
    const double margin = Scale(4);
    canvas.FillRoundRect({margin, 1, w - margin, h - 1}, Scale(theme::kControlRadius), theme::kMenuHighlight);
  }
  RECT text = draw.rcItem;
  text.left += Scale(theme::kMenuTextIndent);
  // Access keys are underlined only when the keyboard opened the menu.
  const UINT hide_prefix = (draw.itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0;
  DrawThemeText(buffer.Dc(), item.caption, text, TFontRole::Normal, enabled ? theme::kText : theme::kTextDisabled,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | hide_prefix);
}

LRESULT TsuiPopupMenu::MenuChar(WPARAM wparam, LPARAM) const {
  // Owner-drawn items get no access keys from Windows: find the item ourselves.
  const char typed = static_cast<char>(tolower(static_cast<unsigned char>(LOWORD(wparam))));
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (!items_[i]->separator && MnemonicOf(items_[i]->caption) == typed) {
      return MAKELRESULT(static_cast<WORD>(i), MNC_EXECUTE);
    }
  }
  return MAKELRESULT(0, MNC_IGNORE);
}

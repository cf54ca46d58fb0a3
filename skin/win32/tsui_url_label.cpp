#include "skin/win32/tsui_url_label.h"

#include <commctrl.h>
#include <shellapi.h>

#include "skin/win32/gdi.h"

bool TsuiURLLabel::Create(HWND parent, int id, const TBounds& bounds, const std::string& caption,
                          const std::string& url) {
  url_ = url;
  if (!CreateControl({parent, id, bounds, "SysLink", "", WS_VISIBLE | WS_TABSTOP})) return false;
  // Given after the theme font, so the link is laid out in the font it is drawn in.
  const std::string markup = "<a>" + caption + "</a>";
  SetWindowTextA(Handle(), markup.c_str());
  return true;
}

bool TsuiURLLabel::HandleParentMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  if (message == WM_CTLCOLORSTATIC) {
    HDC dc = reinterpret_cast<HDC>(wparam);
    SetBkColor(dc, Background());
    SetTextColor(dc, theme::kText);
    result = reinterpret_cast<LRESULT>(ThemeBrush(Background()));
    return true;
  }
  if (message == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(lparam);
    if (header->code != NM_CLICK && header->code != NM_RETURN) return false;
    ShellExecuteA(GetAncestor(Handle(), GA_ROOT), "open", url_.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    result = 0;
    return true;
  }
  return false;
}

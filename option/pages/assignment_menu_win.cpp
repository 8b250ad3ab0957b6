#include "option/pages/assignment_menu_win.h"
#include "option/skin/skin_loader_win.h"

namespace option {
namespace {

constexpr COLORREF kMenuBack = 0x000000;
constexpr COLORREF kAccent = 0x956B06;
constexpr COLORREF kTopText = 0xFFFFFF;

}  // namespace

SkinnedAssignmentMenu::SkinnedAssignmentMenu(const AssignmentMenu& model,
                                             const StringSource& strings)
    : font_(CreateFontA(skin::SkinPixels(15), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        DEFAULT_PITCH | FF_DONTCARE, "Arial")) {
    top_ = Build(model.items, model.width, true, strings);
}

SkinnedAssignmentMenu::~SkinnedAssignmentMenu() {
    for (const auto& menu : menus_) {
        HMENU handle = menu->Handle();
        for (int i = GetMenuItemCount(handle) - 1; i >= 0; --i) {
            if (GetSubMenu(handle, i) != nullptr)
                RemoveMenu(handle, static_cast<UINT>(i), MF_BYPOSITION);
        }
    }
}

skin::CSkinMenu* SkinnedAssignmentMenu::Build(const std::vector<MenuItem>& items, int width,
                                              bool top, const StringSource& strings) {
    // Submenus are built (and owned) before the menu that holds them.
    std::vector<skin::CSkinMenu*> submenus;
    for (const MenuItem& item : items) {
        submenus.push_back(item.kind == MenuItem::Kind::Submenu
                               ? Build(item.items, item.width, false, strings)
                               : nullptr);
    }
    auto menu = std::make_unique<skin::CSkinMenu>(font_.Get());
    if (!menu->Attach())
        return nullptr;
    menu->SetColors(kMenuBack, kAccent);
    menu->SetSeparatorColors(kAccent, kAccent);
    if (top)
        menu->SetTextColors(kTopText, kTopText);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const MenuItem& item = items[i];
        const std::string text = item.textId != 0 ? strings.Text(item.textId) : item.text;
        switch (item.kind) {
            case MenuItem::Kind::Separator:
                menu->AppendItem(MF_SEPARATOR, "", 0);
                break;
            case MenuItem::Kind::Submenu:
                if (submenus[i] != nullptr)
                    menu->AppendItem(MF_POPUP, text, 0, submenus[i]->Handle());
                break;
            case MenuItem::Kind::Command: {
                const bool checked = item.checkable && item.checked;
                menu->AppendItem(checked ? MF_CHECKED : MF_UNCHECKED, text, item.command, nullptr,
                                 checked ? 1 : 0);
                if (item.checkable)
                    CheckMenuItem(menu->Handle(), item.command,
                                  MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
                break;
            }
        }
    }
    // The width is fixed after filling: appending widens a menu to its texts.
    menu->SetWidth(width);
    menus_.push_back(std::move(menu));
    return menus_.back().get();
}

void SkinnedAssignmentMenu::Track(HWND owner, POINT at) {
    if (top_ == nullptr)
        return;
    top_->Track(TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, owner);
}

void SetAssignmentMenuFrame() {
    skin::CCoolMenu::SetColors(kAccent, kAccent, 0, 0);
}

}  // namespace option

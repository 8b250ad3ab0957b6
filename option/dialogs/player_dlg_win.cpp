// Media player dialog: which player the mouse's media actions control,
// chosen from a skinned menu under the selector button.
#include <array>

#include "common/win/scoped_win.h"
#include "option/dialogs/dialog_parts_win.h"
#include "option/dialogs/modal_dialog_win.h"
#include "option/dialogs/option_dialogs_win.h"
#include "option/option_resource_ids.h"
#include "option/pages/model/dialog_values.h"
#include "option/skin/skin_button_win.h"
#include "option/skin/skin_loader_win.h"
#include "option/skin/skin_menu_win.h"

namespace option {
namespace {

constexpr const char* kSkinFile = "skin_select_player.ini";
constexpr const char* kTitle = "Media Player Dialog";
constexpr const char* const kKeys[] = {"1", "2", "3", "4"};
constexpr int kKeySelector = 1;
constexpr int kKeyOk = 2;
constexpr int kKeyCancel = 3;
constexpr int kKeyClose = 4;
// Menu commands: player index + kFirstPlayerCommand. Real Player (1003) can
// be shown but not chosen.
constexpr UINT kFirstPlayerCommand = 1001;
constexpr std::array<std::int32_t, 3> kOfferedPlayers = {0, 1, 3};
constexpr int kMenuWidth = 129;
constexpr COLORREF kMenuBack = RGB(32, 33, 35);
constexpr COLORREF kMenuSelected = RGB(84, 195, 66);

class CPlayerDlg : public win::WindowImpl<CPlayerDlg> {
  public:
    explicit CPlayerDlg(std::int32_t player) : player_(player) {}

    std::int32_t Player() const { return player_; }

    static std::span<const win::MessageRow<CPlayerDlg>> MessageMap() {
        static const win::MessageRow<CPlayerDlg> rows[] = {
            win::OnMessage<WM_INITDIALOG, &CPlayerDlg::OnInitDialog>(),
            win::OnMessage<WM_PAINT, &CPlayerDlg::OnPaint>(),
            win::OnMessage<WM_ERASEBKGND, &CPlayerDlg::OnEraseBkgnd>(),
            win::OnMessage<WM_LBUTTONDOWN, &CPlayerDlg::OnLButtonDown>(),
            win::OnMessage<WM_MEASUREITEM, &CPlayerDlg::OnMeasureItem>(),
            win::OnMessage<WM_DRAWITEM, &CPlayerDlg::OnDrawItem>(),
            // Enter and Esc never close the dialog.
            win::OnCommand<&CPlayerDlg::OnSwallowedKey>(IDOK),
            win::OnCommand<&CPlayerDlg::OnSwallowedKey>(IDCANCEL),
            win::OnControl<&CPlayerDlg::OnSelector>(BN_CLICKED, DialogButtonId(kKeySelector)),
            win::OnControl<&CPlayerDlg::OnOk>(BN_CLICKED, DialogButtonId(kKeyOk)),
            win::OnControl<&CPlayerDlg::OnCancel>(BN_CLICKED, DialogButtonId(kKeyCancel)),
            win::OnControl<&CPlayerDlg::OnCancel>(BN_CLICKED, DialogButtonId(kKeyClose)),
            win::OnCommandRange<&CPlayerDlg::OnPlayerChosen>(kFirstPlayerCommand,
                                                             kFirstPlayerCommand + 3),
        };
        return rows;
    }

  private:
    void Build(const char* keyText, const skin::ButtonPos& pos, const skin::SkinSheets& sheets) {
        const int key = std::atoi(keyText);
        skin::CSkinButton& button = buttons_[static_cast<std::size_t>(key)];
        button.CreateFromPos(Hwnd(), pos, DialogButtonId(key), sheets);
        button.SetTag(key);
    }

    skin::CSkinButton& Selector() { return buttons_[kKeySelector]; }

    void ShowPlayer() {
        const std::string name(PlayerName(player_));
        Selector().SetFaceText(name);
        if (Selector().Hwnd() != nullptr) {
            // Also the button's own text, for whatever reads windows' texts.
            SetWindowTextA(Selector().Hwnd(), name.c_str());
            InvalidateRect(Selector().Hwnd(), nullptr, FALSE);
            UpdateWindow(Selector().Hwnd());
        }
    }

    LRESULT OnInitDialog() {
        const LRESULT result = CallDefault();
        HWND self = Hwnd();
        SetWindowTextA(self, kTitle);
        surface_.InitSkin(self, kSkinFile, kKeys,
                          [this](std::size_t, const char* key, const skin::ButtonPos& pos,
                                 const skin::SkinSheets& sheets) { Build(key, pos, sheets); });
        surface_.ApplyShape(self);
        CentreWindow(self, GetWindow(self, GW_OWNER));
        ShowPlayer();
        return result;
    }

    LRESULT OnPaint() {
        surface_.Paint(Hwnd());
        return 0;
    }
    LRESULT OnEraseBkgnd() { return 1; }
    LRESULT OnLButtonDown(UINT, POINT at) {
        skin::DragByBody(Hwnd(), at, false);
        return CallDefault();
    }
    LRESULT OnMeasureItem(UINT, MEASUREITEMSTRUCT* item) {
        return skin::CSkinMenu::RouteOwnerDraw(item) ? TRUE : CallDefault();
    }
    LRESULT OnDrawItem(UINT, const DRAWITEMSTRUCT* item) {
        return skin::CSkinMenu::RouteOwnerDraw(item) ? TRUE : CallDefault();
    }

    void OnSwallowedKey() {}

    void OnSelector() {
        HWND selector = Selector().Hwnd();
        RECT r{};
        GetWindowRect(selector, &r);
        win::ScopedGdi<HFONT> font(CreateFontA(
            15, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Eurostile"));
        {
            skin::CSkinMenu menu(font.Get());
            menu.Attach();
            menu.SetColors(kMenuBack, kMenuSelected);
            menu.SetSeparatorColors(kMenuSelected, kMenuSelected);
            menu.SetTextColors(RGB(255, 255, 255), RGB(255, 255, 255));
            // As wide as the selector, so the list hangs from it like a drop-down.
            menu.SetWidth(std::max(kMenuWidth, static_cast<int>(r.right - r.left)));
            for (std::int32_t player : kOfferedPlayers) {
                menu.AppendItem(0, std::string(PlayerName(player)),
                                kFirstPlayerCommand + static_cast<UINT>(player));
            }
            menu.Track(TPM_LEFTALIGN | TPM_RIGHTBUTTON, r.left, r.bottom, Hwnd());
            PostMessageA(Hwnd(), WM_NULL, 0, 0);
            menu.Destroy();
        }
        Selector().SetHover(0);
        InvalidateRect(selector, nullptr, FALSE);
    }

    void OnPlayerChosen(UINT id) {
        player_ = static_cast<std::int32_t>(id - kFirstPlayerCommand);
        ShowPlayer();
    }

    void OnOk() { EndDialog(Hwnd(), IDOK); }
    void OnCancel() { EndDialog(Hwnd(), IDCANCEL); }

    std::int32_t player_;
    skin::SkinSurface surface_;
    std::array<skin::CSkinButton, kKeyClose + 1> buttons_;
};

}  // namespace

bool RunPlayerDialog(HWND owner, std::int32_t& player) {
    CPlayerDlg dialog(player);
    if (RunModalDialog(dialog, owner, IDD_SKIN_DIALOG) != IDOK)
        return false;
    player = dialog.Player();
    return true;
}

}  // namespace option

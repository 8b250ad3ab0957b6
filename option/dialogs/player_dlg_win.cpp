// Media player dialog: which player the mouse's media actions control,
// chosen from a skinned menu under the selector button.
#include <array>

#include "common/win/scoped_win.h"
#include "common/win/wide_text_win.h"
#include "option/dialogs/dialog_parts_win.h"
#include "option/dialogs/modal_dialog_win.h"
#include "option/dialogs/option_dialogs_win.h"
#include "option/dialogs/player_dlg_controls.h"
#include "option/dialogs/skin_dialog_win.h"
#include "option/model/dialogs/dialog_values.h"
#include "option/skin/skin_menu_win.h"
#include "option/skin/skin_loader_win.h"

namespace option {
namespace {

using namespace player_dialog;
constexpr DialogSkin kSkin{"Media Player Dialog", "skin_select_player.ini", kControls};
// Menu commands: player index + kFirstPlayerCommand. Real Player (1003) can
// be shown but not chosen.
constexpr UINT kFirstPlayerCommand = 1001;
constexpr std::array<std::int32_t, 3> kOfferedPlayers = {0, 1, 3};
constexpr int kMenuWidth = 129;
constexpr COLORREF kMenuBack = RGB(32, 33, 35);
constexpr COLORREF kMenuSelected = RGB(84, 195, 66);

class CPlayerDlg : public SkinDialog<CPlayerDlg> {
  public:
    explicit CPlayerDlg(std::int32_t player) : player_(player) {}

    std::int32_t Result() const { return player_; }

    static std::span<const Row> MessageMap() {
        static constexpr Row own[] = {
            win::OnMessage<WM_INITDIALOG, &CPlayerDlg::OnInitDialog>(),
            win::OnControl<&CPlayerDlg::OnSelector>(BN_CLICKED, DialogButtonId(kKeySelector)),
            win::OnCommandRange<&CPlayerDlg::OnPlayerChosen>(kFirstPlayerCommand,
                                                             kFirstPlayerCommand + 3),
        };
        static constexpr auto rows = Table(kKeyOk, kKeyCancel, kKeyClose, own);
        return rows;
    }

  private:
    friend class SkinDialog<CPlayerDlg>;

    skin::CSkinButton& Selector() { return buttons_[kKeySelector]; }

    void ShowPlayer() {
        const std::string name(PlayerName(player_));
        Selector().SetFaceText(name);
        if (Selector().Hwnd() != nullptr) {
            // Also the button's own text, for whatever reads windows' texts.
            win::SetWindowTextUtf8(Selector().Hwnd(), name);
            InvalidateRect(Selector().Hwnd(), nullptr, FALSE);
            UpdateWindow(Selector().Hwnd());
        }
    }

    void ShowValues() { ShowPlayer(); }

    LRESULT OnInitDialog() {
        const LRESULT result = OpenOnSkin(kSkin);
        ShowPlayer();
        return result;
    }

    void OnSelector() {
        HWND selector = Selector().Hwnd();
        RECT r{};
        GetWindowRect(selector, &r);
        win::ScopedGdi<HFONT> font(CreateFontA(skin::SkinPixels(15), 0, 0, 0, FW_NORMAL, FALSE,
                                               FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                               DEFAULT_PITCH | FF_DONTCARE, "Eurostile"));
        {
            skin::CSkinMenu menu(font.Get());
            menu.Attach();
            menu.SetColors(kMenuBack, kMenuSelected);
            menu.SetSeparatorColors(kMenuSelected, kMenuSelected);
            menu.SetTextColors(RGB(255, 255, 255), RGB(255, 255, 255));
            // As wide as the selector, so the list hangs from it like a drop-down.
            // (The menu keeps 100 % pixels; the selector is measured on the screen.)
            menu.SetWidth(std::max(
                kMenuWidth, MulDiv(static_cast<int>(r.right - r.left), 100, skin::SkinScale())));
            for (std::int32_t player : kOfferedPlayers) {
                menu.AppendItem(0, std::string(PlayerName(player)),
                                kFirstPlayerCommand + static_cast<UINT>(player));
            }
            menu.Track(TPM_LEFTALIGN | TPM_RIGHTBUTTON, r.left, r.bottom, Hwnd());
            PostMessageA(Hwnd(), WM_NULL, 0, 0);
            menu.Destroy();
        }
        Selector().SetHover(false);
        InvalidateRect(selector, nullptr, FALSE);
    }

    void OnPlayerChosen(UINT id) {
        player_ = static_cast<std::int32_t>(id - kFirstPlayerCommand);
        ShowPlayer();
    }

    std::int32_t player_;
    std::array<skin::CSkinButton, kKeyClose + 1> buttons_;
};

}  // namespace

bool RunPlayerDialog(HWND owner, std::int32_t& player) {
    return CPlayerDlg::Edit(owner, player);
}

}  // namespace option

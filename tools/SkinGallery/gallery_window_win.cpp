#include "tools/SkinGallery/gallery_window_win.h"

#include <cstdarg>

#include "common/text_format.h"
#include "common/win/scoped_win.h"
#include "option/skin/control_math.h"
#include "option/skin/skin_menu_win.h"
#include "option/skin/skin_messages.h"
#include "option/skin/skin_resource_ids.h"
#include "tools/SkinGallery/test_skin.h"

namespace gallery {
namespace {

constexpr win::RegisteredMessage kEditCommit(skin::kEditKillFocusName);

const char* const kKeys[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"};

// The names the control notices are noted under.
constexpr char kSlider[] = "slider";
constexpr char kFill[] = "fill";
constexpr char kSpin[] = "spin";
constexpr char kEnter[] = "enter";

constexpr RECT kLogArea{20, 200, 380, 312};
constexpr std::size_t kLogLinesShown = 8;

}  // namespace

std::span<const win::MessageRow<GalleryWindow>> GalleryWindow::MessageMap() {
    static constexpr win::MessageRow<GalleryWindow> own[] = {
        win::OnMessage<WM_LBUTTONDOWN, &GalleryWindow::OnLButtonDown>(),
        win::OnCommandRange<&GalleryWindow::OnCommand>(0, 0xFFFF),
        win::OnMessage<skin::kMsgSliderValue, &GalleryWindow::OnNumbers<kSlider>>(),
        win::OnMessage<skin::kMsgFillValue, &GalleryWindow::OnNumbers<kFill>>(),
        win::OnMessage<skin::kMsgSpinValue, &GalleryWindow::OnNumbers<kSpin>>(),
        win::OnMessage<skin::kMsgEditEnter, &GalleryWindow::OnNumbers<kEnter>>(),
        win::OnMessage<skin::kMsgColorPicked, &GalleryWindow::OnPicked>(),
        win::OnMessage<skin::kMsgButtonHover, &GalleryWindow::OnHover>(),
        win::OnMessage<skin::kMsgHint, &GalleryWindow::OnHint>(),
        win::OnRegistered<&GalleryWindow::OnEditCommit>(kEditCommit),
    };
    static constexpr auto rows =
        win::Checked(win::JoinRows(HostRows(), LifetimeRows(), PaintedRows(), std::to_array(own)));
    return rows;
}

GalleryWindow::~GalleryWindow() {
    DestroyWindowNow();
}

bool GalleryWindow::Create(const std::string& skinFile, const std::string& logPath) {
    skinFile_ = skinFile;
    logPath_ = logPath;
    win::WindowSpec spec;
    spec.className = "SkinGalleryWindow";
    spec.title = kGalleryTitle;
    spec.style = WS_POPUP | WS_CLIPCHILDREN;
    spec.x = 0;
    spec.y = 0;
    spec.width = 100;
    spec.height = 100;
    spec.cursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    return win::Window::Create(spec);
}

void GalleryWindow::Note(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string line = text::FormatArgs(format, args);
    va_end(args);
    log_.push_back(line);
    if (!logPath_.empty()) {
        if (FILE* f = std::fopen(logPath_.c_str(), "ab")) {
            std::fprintf(f, "%s\n", line.c_str());
            std::fclose(f);
        }
    }
    if (Hwnd() != nullptr)
        InvalidateRect(Hwnd(), &kLogArea, FALSE);
}

void GalleryWindow::MakeControl(std::size_t index, const skin::ButtonPos& pos,
                                const skin::SkinSheets& sheets) {
    const RECT r = skin::ToRect(pos.rect);
    HWND self = Hwnd();
    const UINT id = kIdPush + static_cast<UINT>(index);
    switch (id) {
        case kIdPush:
            push.CreateFromPos(self, pos, id, sheets);
            push.SetTag(1);
            break;
        case kIdLatch:
            latch.CreateFromPos(self, pos, id, sheets);
            latch.SetLatchingMode(true);
            latch.SetTag(2);
            break;
        case kIdSwatch:
            swatch.CreateFromPos(self, pos, id, sheets);
            swatch.SetLatchingMode(true);
            swatch.SetSwatchColor(RGB(255, 140, 0));
            swatch.SetTag(3);
            break;
        case kIdRgn:
            rgn.SetMaskFile(skin::SkinFolder() + "rgn_mask.bmp");
            rgn.CreateButton(pos.name, r, self, id);
            rgn.SetBitmaps(r, sheets);
            rgn.SetLatched(pos.state != 0);
            break;
        case kIdSlider:
            if (slider.Create(skin::SkinFolder() + "slider.bmp", r, self, id)) {
                slider.SetRange(0, 10);
                slider.SetPos(0);
                slider.SetTrackImage(r, sheets.Get(skin::ButtonImage::Over));
                slider.SetHint(pos.caption);
            }
            break;
        case kIdFill:
            fill.Create(r, self, id);
            fill.SetImages(r, sheets.Get(skin::ButtonImage::Normal),
                           sheets.Get(skin::ButtonImage::Over));
            fill.SetRange(0, 10);
            fill.SetHint(pos.caption);
            break;
        case kIdSpin:
            spin.Create(r, self, id);
            spin.SetBitmaps(r, sheets);
            spin.SetRange(-5, 5);
            spin.SetValue(0);
            spin.SetHint(pos.caption);
            break;
        case kIdEdit:
            edit.Create(WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, r, self, id);
            edit.SetNumeric(true);
            edit.ApplyFont();
            edit.SetHint(pos.caption);
            break;
        case kIdLabel:
            label.Create(r, self, id);
            label.SetBackColor(RGB(220, 220, 220));
            label.SetText("Skin label");
            label.SetHint(pos.caption);
            break;
        case kIdPicker:
            picker.Create(IDB_SKIN_COLOR_STRIP, self, r, id, IDB_SKIN_COLOR_MARKER);
            break;
        case kIdMenuButton:
            menuButton.CreateFromPos(self, pos, id, sheets);
            menuButton.SetFaceText("Menu");
            menuButton.SetTag(11);
            break;
        case kIdFace:
            face.CreateFromPos(self, pos, id, sheets);
            face.SetFaceText("Face text");
            face.SetTag(12);
            break;
        default:
            break;
    }
}

LRESULT GalleryWindow::OnCreate() {
    const LRESULT result = CallDefault();
    if (result == -1)
        return -1;
    surface_.InitSkin(Hwnd(), skinFile_, kKeys,
                      [this](std::size_t i, const char*, const skin::ButtonPos& pos,
                             const skin::SkinSheets& sheets) { MakeControl(i, pos, sheets); });
    surface_.ApplyShape(Hwnd());
    logFont_.Reset(CreateFontA(13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                               DEFAULT_PITCH | FF_DONTCARE, "Arial"));
    return 0;
}

LRESULT GalleryWindow::OnPaint() {
    surface_.Paint(Hwnd(), [this](HDC dc) {
        HGDIOBJ old = SelectObject(dc, logFont_.Get());
        SetTextColor(dc, RGB(230, 230, 230));
        const std::size_t first = log_.size() > kLogLinesShown ? log_.size() - kLogLinesShown : 0;
        int y = kLogArea.top;
        for (std::size_t i = first; i < log_.size(); ++i, y += 14)
            TextOutA(dc, kLogArea.left, y, log_[i].c_str(), static_cast<int>(log_[i].size()));
        SelectObject(dc, old);
    });
    return 0;
}

LRESULT GalleryWindow::OnLButtonDown(UINT, POINT at) {
    skin::DragByBody(Hwnd(), at, false);
    return CallDefault();
}

void GalleryWindow::ShowMenu() {
    skin::CCoolMenu::SetColors(RGB(6, 107, 149), RGB(6, 107, 149), RGB(0, 0, 0), RGB(0, 0, 0));
    const win::ScopedGdi<HFONT> ownedFont(CreateFontA(
        15, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Arial"));
    const HFONT font = ownedFont.Get();
    {
        skin::CSkinMenu sub(font);
        skin::CSkinMenu top(font);
        for (skin::CSkinMenu* m : {&sub, &top}) {
            m->Attach();
            m->SetColors(RGB(0, 0, 0), RGB(6, 107, 149));
            m->SetSeparatorColors(RGB(6, 107, 149), RGB(6, 107, 149));
            m->SetTextColors(RGB(255, 255, 255), RGB(255, 255, 255));
            m->SetWidth(133);
        }
        sub.AppendItem(0, "Sub item", kMenuSubItem);
        top.AppendItem(0, "Left", kMenuLeft, nullptr, 1);
        top.AppendItem(MF_SEPARATOR, "", 0);
        top.AppendItem(0, "Right", kMenuRight);
        top.AppendItem(MF_POPUP, "More", 0, sub.Handle());
        RECT r{};
        GetWindowRect(menuButton.Hwnd(), &r);
        top.Track(TPM_LEFTALIGN | TPM_RIGHTBUTTON, r.left, r.bottom, Hwnd());
        PostMessageA(Hwnd(), WM_NULL, 0, 0);
        // The submenu belongs to the top menu, which destroys it.
        RemoveMenu(top.Handle(), 3, MF_BYPOSITION);
        top.Destroy();
        sub.Destroy();
    }
    menuButton.SetHover(false);
    InvalidateRect(menuButton.Hwnd(), nullptr, FALSE);
    SetFocus(Hwnd());
}

LRESULT GalleryWindow::OnCommand(UINT id, UINT code) {
    Note("command %u %u", id, code);
    if (id == kIdMenuButton && code == BN_CLICKED)
        ShowMenu();
    return 0;
}

LRESULT GalleryWindow::OnPicked() {
    Note("picked %06lx", static_cast<unsigned long>(picker.GetColor()));
    return 0;
}

LRESULT GalleryWindow::OnHover(win::WParam<int> hover, win::LParam<int> tag) {
    Note("hover %d %d", hover.value, tag.value);
    return 0;
}

LRESULT GalleryWindow::OnHint(win::WParam<int> hover) {
    Note("hint %d %s", hover.value, skin::HintString().c_str());
    return 0;
}

LRESULT GalleryWindow::OnEditCommit() {
    Note("editcommit %s", edit.Text().c_str());
    return 0;
}

LRESULT GalleryWindow::OnDestroy() {
    return CallDefault();
}

}  // namespace gallery

// The macro manager's two lists: owner-drawn list boxes with a hover
// highlight, a picture in front of an item (the low word of its data names
// the bitmap resource), a right-click report and editing in place.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "common/win/scoped_win.h"
#include "common/win/window.h"

namespace option {

// The list's own messages, all of them.
enum MacroListMessage : UINT {
    // To the parent: an in-place edit was committed (wParam item, lParam list id).
    kMsgListEditCommitted = WM_USER + 500,
    // To the parent: a right-button press on the list (wParam 0), or the
    // context-menu keys (Shift+F10, the menu key) in it (wParam 1); lParam
    // list id.
    kMsgListRightClick = WM_USER + 700,
    // To the parent: the Delete key in the list (lParam list id).
    kMsgListDeleteKey = WM_USER + 701,
    // Private to the list: the in-place edit asks for its own end (wParam 1
    // commit, 0 cancel). Posted, because the edit cannot destroy itself while
    // it is still handling the key or the focus change.
    kMsgCloseEdit = WM_APP + 1,
};

class CMacroListBox;

// The edit control laid over an item while it is edited.
class CInPlaceEdit : public win::WindowImpl<CInPlaceEdit> {
  public:
    explicit CInPlaceEdit(CMacroListBox& list) : list_(list) {}
    static std::span<const win::MessageRow<CInPlaceEdit>> MessageMap();

  private:
    LRESULT OnKeyUp(UINT key, UINT keyData);
    LRESULT OnKillFocus();
    CMacroListBox& list_;
};

class CMacroListBox : public win::WindowImpl<CMacroListBox> {
  public:
    CMacroListBox();
    ~CMacroListBox() override;

    bool Create(HWND parent, const RECT& r, UINT id);
    UINT Id() const { return id_; }

    void Clear();
    int Add(const std::string& text, std::uint32_t data = 0);
    int Count() const;
    int Selection() const;
    void Select(int item);
    std::uint32_t Data(int item) const;
    std::string Text(int item) const;

    // Appends an empty item and edits it (at most `limit` characters).
    void EditNewItem(int limit);
    // Edits the selected item after its picture: digits only.
    void EditSelected(int limit);
    bool Editing() const { return edit_.Hwnd() != nullptr; }
    // The text of the last commit (what the user typed, even when empty).
    const std::string& CommittedText() const { return committed_; }

    // What a screen reader calls the list, and reads for an item (the
    // item's text when not given).
    void SetAccessibleName(const std::string& name) { accessibleName_ = name; }
    void SetSpokenItem(std::function<std::string(int item)> spoken) {
        spokenItem_ = std::move(spoken);
    }

    // Where a menu opened from the keyboard goes, in screen coordinates:
    // below the selected item when it is in view, else the list's top left.
    POINT KeyboardMenuPoint() const;

    // The parent's WM_MEASUREITEM and WM_DRAWITEM for this list.
    static void Measure(MEASUREITEMSTRUCT& item);
    void Draw(const DRAWITEMSTRUCT& item);
    // The parent's WM_CTLCOLORLISTBOX: the list's background.
    HBRUSH Background() const { return background_.Get(); }

    static constexpr COLORREF kBackColor = 0x00090909;
    static constexpr COLORREF kSelectedColor = 0x00956B06;
    static constexpr COLORREF kTextColor = 0x00FFFFFF;

    static std::span<const win::MessageRow<CMacroListBox>> MessageMap();

  private:
    friend class CInPlaceEdit;
    friend class win::WindowImpl<CMacroListBox>;  // the shared groups of rows
    enum class EditKind { NewItem, Selected };
    void OpenEdit(int item, EditKind kind, int limit);
    // Posted by the edit: commit (Enter, focus leaving) or cancel (Escape).
    void RequestClose(bool commit);
    void RedrawItem(int item);
    // The list box's items and `rows_` change together: `at` -1 appends.
    int Insert(int at, const std::string& text, std::uint32_t data);
    void Remove(int item);
    HBITMAP Picture(unsigned id);

    LRESULT OnMouseMove(UINT keys, POINT at);
    LRESULT OnMouseLeave();
    LRESULT OnRButtonDown(UINT keys, POINT at);
    LRESULT OnKeyDown(UINT key, UINT data);
    LRESULT OnSetFocus();
    LRESULT OnCloseEdit(win::WParam<bool> commit);
    LRESULT OnDestroy();
    LRESULT OnGetObject(WPARAM flags, LONG objectId);

    UINT id_ = 0;
    win::ScopedGdi<HFONT> font_;
    win::ScopedGdi<HBRUSH> background_;
    std::map<unsigned, win::ScopedGdi<HBITMAP>> pictures_;
    int hover_ = -1;
    bool tracking_ = false;
    CInPlaceEdit edit_{*this};
    int editItem_ = -1;
    EditKind editKind_ = EditKind::NewItem;
    std::string committed_;
    std::string accessibleName_;
    std::function<std::string(int item)> spokenItem_;
    // The items' words, UTF-8, as the list box holds them in UTF-16.
    std::vector<std::string> rows_;
};

}  // namespace option

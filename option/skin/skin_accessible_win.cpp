#include "option/skin/skin_accessible_win.h"

#include <oleacc.h>

#include <utility>

#include "common/win/late_function_win.h"
#include "option/skin/accessible_text.h"

namespace skin {
namespace {

// Interface ids are written __uuidof(I), constants compiled in here, never
// IID_I: the 64-bit oleacc import library exports IID_IAccessible as a
// function, and a program linking it ahead of libuuid gets the address of an
// import thunk as the id, whose bytes name an interface nobody has.

BSTR ToBstr(const std::string& text) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    if (length <= 0)
        return nullptr;
    // Looked up late like the rest of the accessibility support.
    static auto* const allocate =
        win::LateFunction<decltype(::SysAllocStringLen)>("oleaut32.dll", "SysAllocStringLen");
    BSTR out = allocate != nullptr ? allocate(nullptr, static_cast<UINT>(length - 1)) : nullptr;
    if (out != nullptr)
        MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, out, length);
    return out;
}

bool IsSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// The child id of a list box's selected item, CHILDID_SELF for none.
long SelectedChild(HWND list) {
    const LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
    return selected == LB_ERR ? CHILDID_SELF : static_cast<long>(selected) + 1;
}

void GiveChild(long id, VARIANT* out) {
    out->vt = id == CHILDID_SELF ? VT_EMPTY : VT_I4;
    out->lVal = id;
}

HRESULT GiveText(const std::string& text, BSTR* out) {
    if (out == nullptr)
        return E_INVALIDARG;
    *out = nullptr;
    if (text.empty())
        return S_FALSE;
    *out = ToBstr(text);
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

// Our facts over the system's standard client object of the window, which
// keeps answering what it knows well (location, parent, navigation, hit
// testing, the focus).
class SkinAccessible final : public IAccessible {
  public:
    SkinAccessible(HWND control, AccessibleFacts facts, IAccessible* standard)
        : control_(control), facts_(std::move(facts)), standard_(standard) {}
    SkinAccessible(const SkinAccessible&) = delete;
    SkinAccessible& operator=(const SkinAccessible&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr)
            return E_POINTER;
        if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(IDispatch)) ||
            IsEqualIID(iid, __uuidof(IAccessible))) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const long left = --references_;
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    // IDispatch: screen readers call the interface directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count != nullptr)
            *count = static_cast<long>(facts_.items.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // What this object tells itself.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (IsItem(child))
            return GiveText(facts_.items[static_cast<std::size_t>(child.lVal - 1)], name);
        return IsSelf(child) ? GiveText(facts_.name, name) : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        if (IsItem(child))
            return GiveText("", value);
        return IsSelf(child) ? GiveText(facts_.value, value) : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        if (IsItem(child))
            return GiveText("", text);
        return IsSelf(child) ? GiveText(facts_.description, text) : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (role == nullptr || (!IsSelf(child) && !IsItem(child)))
            return E_INVALIDARG;
        role->vt = VT_I4;
        role->lVal = IsItem(child) ? ROLE_SYSTEM_LISTITEM : facts_.role;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (state == nullptr || (!IsSelf(child) && !IsItem(child)))
            return E_INVALIDARG;
        const bool focused = GetFocus() == control_;
        long bits = facts_.state | STATE_SYSTEM_FOCUSABLE;
        if (IsItem(child)) {
            bits = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
            if (SelectedChild(control_) == child.lVal)
                bits |= STATE_SYSTEM_SELECTED | (focused ? STATE_SYSTEM_FOCUSED : 0);
        } else if (focused) {
            bits |= STATE_SYSTEM_FOCUSED;
        }
        if (!IsWindowEnabled(control_))
            bits |= STATE_SYSTEM_UNAVAILABLE;
        if (!IsWindowVisible(control_))
            bits |= STATE_SYSTEM_INVISIBLE;
        state->vt = VT_I4;
        state->lVal = bits;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (IsItem(child))
            return GiveText("", action);
        if (!IsSelf(child))
            return E_INVALIDARG;
        const bool pressable = facts_.role == ROLE_SYSTEM_PUSHBUTTON ||
                               facts_.role == ROLE_SYSTEM_CHECKBUTTON ||
                               facts_.role == ROLE_SYSTEM_PAGETAB;
        return GiveText(pressable ? "Press" : "", action);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (!IsSelf(child))
            return E_INVALIDARG;
        // The keys a user would press: the control acts as on Space.
        PostMessageA(control_, WM_KEYDOWN, VK_SPACE, 0);
        return S_OK;
    }

    // What the standard object knows better.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return standard_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (count == nullptr)
            return E_POINTER;
        *count = static_cast<long>(facts_.items.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** child) override {
        if (child != nullptr)
            *child = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override {
        return GiveText("", help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
        if (topic != nullptr)
            *topic = 0;
        return GiveText("", file);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* keys) override {
        return GiveText("", keys);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (facts_.items.empty() || focus == nullptr || GetFocus() != control_)
            return standard_->get_accFocus(focus);
        GiveChild(SelectedChild(control_), focus);
        if (focus->vt == VT_EMPTY) {
            focus->vt = VT_I4;  // the list itself
            focus->lVal = CHILDID_SELF;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (facts_.items.empty() || selection == nullptr)
            return standard_->get_accSelection(selection);
        GiveChild(SelectedChild(control_), selection);
        return selection->vt == VT_EMPTY ? S_FALSE : S_OK;
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        if (!IsItem(child))
            return standard_->accLocation(left, top, width, height, child);
        RECT r{};
        if (left == nullptr || top == nullptr || width == nullptr || height == nullptr ||
            SendMessageA(control_, LB_GETITEMRECT, static_cast<WPARAM>(child.lVal - 1),
                         reinterpret_cast<LPARAM>(&r)) == LB_ERR)
            return E_INVALIDARG;
        MapWindowPoints(control_, nullptr, reinterpret_cast<POINT*>(&r), 2);
        *left = r.left;
        *top = r.top;
        *width = r.right - r.left;
        *height = r.bottom - r.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        return standard_->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

  private:
    ~SkinAccessible() { standard_->Release(); }

    bool IsItem(const VARIANT& child) const {
        return child.vt == VT_I4 && child.lVal >= 1 &&
               child.lVal <= static_cast<long>(facts_.items.size());
    }

    HWND control_;
    AccessibleFacts facts_;
    IAccessible* standard_;
    long references_ = 1;
};

}  // namespace

LRESULT AnswerAccessible(HWND control, WPARAM flags, const AccessibleFacts& facts) {
    // Looked up at the first question: only a screen reader or another
    // accessibility client asks, and loading the library at start costs
    // every user a part of Option's start.
    using CreateStandard = HRESULT WINAPI(HWND, LONG, REFIID, void**);
    using FromObject = LRESULT WINAPI(REFIID, WPARAM, LPUNKNOWN);
    static CreateStandard* const createStandard =
        win::LateFunction<CreateStandard>("oleacc.dll", "CreateStdAccessibleObject");
    static FromObject* const fromObject =
        win::LateFunction<FromObject>("oleacc.dll", "LresultFromObject");
    if (createStandard == nullptr || fromObject == nullptr)
        return 0;
    win::NeedOle();
    IAccessible* standard = nullptr;
    if (FAILED(createStandard(control, OBJID_CLIENT, __uuidof(IAccessible),
                              reinterpret_cast<void**>(&standard))) ||
        standard == nullptr)
        return 0;
    auto* object = new SkinAccessible(control, facts, standard);
    const LRESULT answer = fromObject(__uuidof(IAccessible), flags, object);
    object->Release();
    return answer;
}

AccessibleFacts ColorSpectrumFacts(const std::string& name, std::uint32_t color) {
    AccessibleFacts facts;
    facts.name = name;
    facts.role = ROLE_SYSTEM_SLIDER;
    facts.value = ColorText(color);
    return facts;
}

void NotifyValueChanged(HWND control) {
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, control, OBJID_CLIENT, CHILDID_SELF);
}

void NotifyStateChanged(HWND control) {
    NotifyWinEvent(EVENT_OBJECT_STATECHANGE, control, OBJID_CLIENT, CHILDID_SELF);
}

AccessibleFacts SliderFacts(const std::string& name, int position, int minimum, int maximum,
                            const ValueUnit& unit) {
    AccessibleFacts facts;
    facts.name = name;
    facts.role = ROLE_SYSTEM_SLIDER;
    facts.value = ValueText(position, unit);
    facts.description = RangeText(minimum, maximum, unit);
    return facts;
}

}  // namespace skin

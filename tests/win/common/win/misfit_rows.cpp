// Rows that must not compile, one per MISFIT case (see CMakeLists.txt);
// MISFIT 0 keeps only fitting rows, so that the file itself is known good.
#include "common/win/window.h"

namespace {

constexpr win::RegisteredMessage kRegistered("MisfitRows_Registered");
constexpr UINT kOurs = WM_USER + 5;

struct Stranger {
    void Command() {}
};

class Misfit : public win::WindowImpl<Misfit> {
  public:
    static std::span<const win::MessageRow<Misfit>> MessageMap() {
        static constexpr win::MessageRow<Misfit> rows[] = {
            win::OnMessage<WM_ERASEBKGND, &Misfit::EraseWithDc>(),
            win::OnMessage<kOurs, &Misfit::Named>(),
            win::OnRegistered<&Misfit::Named>(kRegistered),
            win::OnCommand<&Misfit::Command>(100),
#if MISFIT == 1
            // The DC of WM_ERASEBKGND taken for a window.
            win::OnMessage<WM_ERASEBKGND, &Misfit::EraseWithWindow>(),
#elif MISFIT == 2
            // WM_MOVE has no cracker.
            win::OnMessage<WM_MOVE, &Misfit::Nothing>(),
#elif MISFIT == 3
            // Raw parameters for a message of our own.
            win::OnMessage<kOurs, &Misfit::Raw>(),
#elif MISFIT == 4
            win::OnRegistered<&Misfit::Raw>(kRegistered),
#elif MISFIT == 5
            // A pointer is not a command id.
            win::OnCommand<&Misfit::PointerCommand>(101),
#elif MISFIT == 6
            // A handler of a class the window does not derive from.
            win::OnCommand<&Stranger::Command, Misfit>(102),
#elif MISFIT == 7
            // A second row for command 100, which the first one always takes.
            win::OnControl<&Misfit::Command>(BN_CLICKED, 100),
#endif
        };
        static_assert(win::NoRowShadowed(rows),
                      "a row of this table is shadowed by an earlier one");
        return rows;
    }

    void EraseWithDc(HDC) {}
    void EraseWithWindow(HWND) {}
    void Nothing() {}
    void Named(win::WParam<int>, win::LParam<const char*>) {}
    void Raw(WPARAM, LPARAM) {}
    void Command(UINT, UINT) {}
    void PointerCommand(const NMHDR*) {}
};

}  // namespace

// Instantiates the table.
std::size_t MisfitRowCount() {
    return Misfit::MessageMap().size();
}

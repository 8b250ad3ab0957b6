#include "monitor/runtime/tilt_scroll.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/unit/monitor/runtime/runtime_fakes.h"

namespace runtime::test {
namespace {

constexpr WindowHandle kDesktop = 1;

// A window tree: children in z-order, screen rectangles, styles.
class FakeWindows : public WindowSystem {
  public:
    struct Node {
        std::string cls;
        WindowHandle parent = 0;
        ScreenRect rect;
        std::uint32_t style = 0;
        std::vector<WindowHandle> children;
    };

    WindowHandle Add(WindowHandle h, const std::string& cls, WindowHandle parent, ScreenRect r,
                     std::uint32_t style = 0) {
        nodes[h] = {cls, parent, r, style, {}};
        if (parent != 0)
            nodes[parent].children.push_back(h);
        return h;
    }

    ScreenPoint CursorPos() override { return cursor; }
    void SetCursorPos(ScreenPoint p) override {
        cursor = p;
        moves.push_back(std::to_string(p.x) + "," + std::to_string(p.y));
    }
    WindowHandle WindowFromPoint(ScreenPoint) override { return under; }
    WindowHandle ChildFromPoint(WindowHandle parent, ScreenPoint p) override {
        if (!Inside(nodes[parent].rect, p))
            return 0;
        for (WindowHandle c : nodes[parent].children) {
            if (Inside(nodes[c].rect, p))
                return c;
        }
        return parent;
    }
    std::string ClassName(WindowHandle w) override { return nodes.count(w) ? nodes[w].cls : ""; }
    WindowHandle Parent(WindowHandle w) override { return nodes.count(w) ? nodes[w].parent : 0; }
    WindowHandle FirstChild(WindowHandle w) override {
        return nodes[w].children.empty() ? 0 : nodes[w].children.front();
    }
    WindowHandle NextSibling(WindowHandle w) override { return Sibling(w, +1); }
    WindowHandle PreviousSibling(WindowHandle w) override { return Sibling(w, -1); }
    ScreenRect WindowRect(WindowHandle w) override { return nodes[w].rect; }
    std::uint32_t Style(WindowHandle w) override { return nodes[w].style; }
    WindowHandle Desktop() override { return kDesktop; }
    std::vector<WindowHandle> Descendants(WindowHandle w) override {
        std::vector<WindowHandle> out;
        for (WindowHandle c : nodes[w].children) {
            out.push_back(c);
            for (WindowHandle d : Descendants(c)) out.push_back(d);
        }
        return out;
    }
    void Post(WindowHandle w, unsigned m, std::uintptr_t wp, std::intptr_t lp) override {
        char text[64];
        std::snprintf(text, sizeof text, "%u %X %u %X", static_cast<unsigned>(w), m,
                      static_cast<unsigned>(wp), static_cast<unsigned>(lp));
        posts.emplace_back(text);
    }
    bool ButtonsSwapped() override { return swapped; }

    std::map<WindowHandle, Node> nodes;
    WindowHandle under = 0;
    ScreenPoint cursor{100, 100};
    bool swapped = false;
    std::vector<std::string> posts;
    std::vector<std::string> moves;

  private:
    static bool Inside(const ScreenRect& r, ScreenPoint p) {
        return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
    }
    WindowHandle Sibling(WindowHandle w, int step) {
        const auto& list = nodes[nodes[w].parent].children;
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (list[i] != w)
                continue;
            const std::ptrdiff_t j = static_cast<std::ptrdiff_t>(i) + step;
            if (j < 0 || j >= static_cast<std::ptrdiff_t>(list.size()))
                return 0;
            return list[j];
        }
        return 0;
    }
};

class TiltTest : public ::testing::Test {
  protected:
    TiltTest() { windows.Add(kDesktop, "#32769", 0, {0, 0, 1280, 1024}); }
    FakeClock clock;
    RecordingInput input{clock};
    FakeWindows windows;
    TiltScroller tilt{windows, input};
};

TEST_F(TiltTest, DesktopAndDesktopIconsAreNotScrolled) {
    windows.under = kDesktop;
    tilt.ScrollNotch(true, 3);
    windows.Add(10, "Progman", 0, {0, 0, 1280, 1024});
    windows.Add(11, "SHELLDLL_DefView", 10, {0, 0, 1280, 1024});
    windows.Add(12, "SysListView32", 11, {0, 0, 1280, 1024}, kStyleHScroll);
    windows.under = 12;
    tilt.ScrollNotch(true, 3);
    windows.under = 0;
    tilt.ScrollNotch(true, 3);
    EXPECT_TRUE(windows.posts.empty());
    // The same list view elsewhere is an ordinary window.
    windows.Add(20, "ExploreWClass", 0, {0, 0, 500, 500});
    windows.Add(21, "SysListView32", 20, {0, 0, 500, 500}, kStyleHScroll);
    windows.under = 21;
    tilt.ScrollNotch(false, 1);
    EXPECT_EQ(windows.posts.size(), 1u);
}

TEST_F(TiltTest, PlainWindowWithHorizontalBarGetsTiltSpeedScrollMessages) {
    windows.Add(30, "Notepad", 0, {0, 0, 400, 400}, kStyleHScroll);
    windows.under = 30;
    tilt.ScrollNotch(true, 3);
    const std::vector<std::string> expected(3, "30 114 1 0");
    EXPECT_EQ(windows.posts, expected);
    windows.posts.clear();
    tilt.ScrollNotch(false, 1);
    EXPECT_EQ(windows.posts, std::vector<std::string>{"30 114 0 0"});
}

TEST_F(TiltTest, NoScrollBarNearbyOrNoSpeedDoesNothing) {
    windows.Add(40, "Plain", 0, {0, 0, 400, 400});
    windows.Add(41, "Child", 40, {0, 0, 400, 400});
    windows.under = 40;
    tilt.ScrollNotch(true, 3);
    windows.Add(42, "Notepad", 0, {0, 0, 400, 400}, kStyleHScroll);
    windows.under = 42;
    tilt.ScrollNotch(true, 0);
    tilt.ScrollNotch(true, -2);
    EXPECT_TRUE(windows.posts.empty());
}

TEST_F(TiltTest, DocumentModeDrivesTheSiblingScrollBarThroughItsParent) {
    windows.Add(50, "OpusApp", 0, {0, 0, 800, 600});
    windows.Add(51, "_WwG", 50, {0, 0, 800, 560});
    windows.Add(52, "ScrollBar", 50, {0, 560, 780, 580});  // horizontal
    windows.under = 51;
    tilt.ScrollNotch(false, 2);
    const std::vector<std::string> expected(2, "50 114 0 34");  // lParam = bar 52
    EXPECT_EQ(windows.posts, expected);
}

TEST_F(TiltTest, ScrollBarTestNeedsAWideBarLeftOfThePointer) {
    windows.Add(60, "Frame", 0, {0, 0, 800, 600});
    windows.Add(61, "ScrollBar", 60, {0, 560, 50, 580});   // ends left of P.x = 100
    windows.Add(62, "ScrollBar", 60, {780, 0, 800, 560});  // vertical
    windows.Add(63, "_WwG", 60, {60, 0, 700, 550});
    windows.under = 63;
    EXPECT_FALSE(tilt.PassesHorizontalTest(61, {100, 100}));
    EXPECT_FALSE(tilt.PassesHorizontalTest(62, {100, 100}));
    EXPECT_TRUE(tilt.PassesHorizontalTest(61, {10, 100}));
    tilt.ScrollNotch(true, 1);
    EXPECT_TRUE(windows.posts.empty());
}

TEST_F(TiltTest, SpreadsheetModeClicksTheBarEndAndPutsThePointerBack) {
    windows.Add(70, "XLDESK", 0, {0, 0, 800, 600});
    windows.Add(71, "EXCEL7", 70, {0, 0, 800, 560});
    windows.Add(72, "ScrollBar", 70, {10, 560, 700, 580});
    windows.under = 71;
    tilt.ScrollNotch(true, 3);
    EXPECT_EQ(windows.moves, (std::vector<std::string>{"695,565", "100,100"}));
    EXPECT_EQ(input.Keys(), "mouse:2 mouse:4 mouse:2 mouse:4 mouse:2 mouse:4");
    EXPECT_TRUE(windows.posts.empty());

    windows.moves.clear();
    input.events.clear();
    windows.swapped = true;
    tilt.ScrollNotch(false, 1);
    EXPECT_EQ(windows.moves, (std::vector<std::string>{"15,565", "100,100"}));
    EXPECT_EQ(input.Keys(), "mouse:8 mouse:16");
}

TEST_F(TiltTest, BrowserWindowGetsArrowKeysAtItsParent) {
    windows.Add(80, "MozillaWindowClass", 0, {0, 0, 800, 600});
    windows.Add(81, "MozillaWindowClass", 80, {0, 0, 800, 600});
    windows.under = 80;
    tilt.ScrollNotch(true, 2);
    const std::vector<std::string> expected = {"80 100 39 14D0001", "80 101 39 C14D0001",
                                               "80 100 39 14D0001", "80 101 39 C14D0001"};
    EXPECT_EQ(windows.posts, expected);
    windows.posts.clear();
    tilt.ScrollNotch(false, 1);
    EXPECT_EQ(windows.posts, (std::vector<std::string>{"80 100 37 14B0001", "80 101 37 C14B0001"}));
}

TEST_F(TiltTest, ProximitySearchFindsAScrollBarBesideAPane) {
    windows.Add(90, "Frame", 0, {0, 0, 800, 600});
    windows.Add(91, "Holder", 90, {0, 0, 800, 600});
    windows.Add(92, "paneClassDC", 91, {50, 0, 700, 500});
    windows.Add(93, "Other", 90, {0, 500, 800, 600});
    windows.Add(94, "ScrollBar", 93, {30, 520, 720, 540});  // within 25 px on both sides
    windows.under = 92;
    WindowHandle c = 0;
    // The bar is not a sibling of the pane: only the search of the parent's
    // descendants finds it.
    windows.nodes[91].children = {92, 93};
    windows.nodes[93].parent = 91;
    windows.nodes[90].children = {91};
    EXPECT_EQ(tilt.FindHorizontalBar(92, {100, 100}, c), 94u);
    EXPECT_EQ(c, 92u);
    windows.nodes[94].rect = {20, 520, 720, 540};  // 30 px left of the pane
    EXPECT_EQ(tilt.FindHorizontalBar(92, {100, 100}, c), 0u);
}

TEST_F(TiltTest, ReaderScrollBarInsideItsContainerAndAfxChildren) {
    windows.Add(100, "Frame", 0, {0, 0, 800, 600});
    windows.Add(101, "AVL_AVView", 100, {0, 0, 800, 550});
    windows.Add(102, "AVL_AVScrollBar", 100, {0, 550, 800, 570});
    windows.Add(103, "ScrollBar", 102, {0, 550, 800, 570}, 0x0);
    EXPECT_EQ(tilt.SiblingSearch(101, {100, 100}), 103u);
    windows.nodes[103].style = 0x1;  // vertical
    EXPECT_EQ(tilt.SiblingSearch(101, {100, 100}), 0u);

    windows.Add(110, "Frame", 0, {0, 0, 800, 600});
    windows.Add(111, "AfxWnd42", 110, {0, 550, 800, 580});
    windows.Add(112, "ScrollBar", 111, {0, 550, 800, 570});
    windows.Add(113, "View", 110, {0, 0, 800, 550});
    EXPECT_EQ(tilt.SiblingSearch(113, {100, 100}), 112u);
}

TEST(TiltModeTest, ClassNamesAreExactAndCaseSensitive) {
    EXPECT_EQ(TiltModeForClass("EXCEL7").mode, 2);
    EXPECT_EQ(TiltModeForClass("excel7").mode, 0);
    EXPECT_EQ(TiltModeForClass("OPrtPrevPage").mode, 6);
    EXPECT_EQ(TiltModeForClass("FrontPageEditorDocumentView").mode, 5);
    EXPECT_EQ(TiltModeForClass("EditControl").mode, 4);
    EXPECT_EQ(TiltModeForClass("paneClassDC").mode, 3);
    EXPECT_TRUE(TiltModeForClass("MozillaWindowClass").keyPress);
    EXPECT_FALSE(TiltModeForClass("Notepad").keyPress);
}

}  // namespace
}  // namespace runtime::test

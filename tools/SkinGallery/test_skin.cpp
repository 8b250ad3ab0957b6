#include "tools/SkinGallery/test_skin.h"

#include <cstdio>
#include <cstring>
#include <fstream>

namespace gallery {
namespace {

void Put16(std::vector<std::uint8_t>& b, std::uint16_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

struct Rect {
    int left, top, right, bottom;
};

bool InMaskHole(int x, int y) {
    return x >= kHoleLeft && x < kHoleRight && y >= kHoleTop && y < kHoleBottom;
}

}  // namespace

bool WriteBmp24Rows(const std::string& path, int width, int height,
                    const std::vector<std::uint8_t>& rgb) {
    if (width <= 0 || height <= 0 ||
        rgb.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3) {
        return false;
    }
    const std::uint32_t stride = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
    const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(height);
    std::vector<std::uint8_t> out;
    out.reserve(54 + imageSize);
    out.push_back('B');
    out.push_back('M');
    Put32(out, 54 + imageSize);
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);
    Put32(out, imageSize);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = height - 1; y >= 0; --y) {
        const std::uint8_t* row = &rgb[static_cast<std::size_t>(y) * width * 3];
        for (int x = 0; x < width; ++x) {
            out.push_back(row[x * 3 + 2]);
            out.push_back(row[x * 3 + 1]);
            out.push_back(row[x * 3 + 0]);
        }
        for (std::uint32_t pad = static_cast<std::uint32_t>(width) * 3; pad < stride; ++pad)
            out.push_back(0);
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file)
        return false;
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return static_cast<bool>(file);
}

bool WriteBmp24(const std::string& path, int width, int height,
                const std::function<Color(int x, int y)>& pixel) {
    if (width <= 0 || height <= 0)
        return false;
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Color c = pixel(x, y);
            std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
            p[0] = c.r;
            p[1] = c.g;
            p[2] = c.b;
        }
    }
    return WriteBmp24Rows(path, width, height, rgb);
}

const std::vector<TestControl>& TestControls() {
    static const std::vector<TestControl> controls = {
        {"1", "push,20,50,80,24,Push hint"},      {"2", "latch,110,50,80,24,Latch hint"},
        {"3", "swatch,200,50,80,24,Swatch hint"}, {"4", "rgn,290,50,60,40,Shaped hint"},
        {"5", "track,20,100,200,20,Slider hint"}, {"6", "fill,240,100,140,16,Fill hint"},
        {"7", "spin,20,135,60,20,Spin hint"},     {"8", "edit,100,135,80,18,Edit hint"},
        {"9", "label,200,135,120,18,Label hint"}, {"10", "picker,20,165,203,27,"},
        {"11", "menu,240,165,60,20,Menu hint"},   {"12", "face,310,165,70,24,Face hint"},
    };
    return controls;
}

bool WriteTestSkin(const std::string& folder, const TestSkinLayout& layout) {
    const int w = layout.width;
    const int h = layout.height;
    bool ok = true;
    // White outside: a cut top-left corner and a hole near the top right.
    ok &= WriteBmp24(folder + "gallery_mask.bmp", w, h, [&](int x, int y) {
        if (x + y < 24 || InMaskHole(x, y))
            return Color{255, 255, 255};
        if (x == w / 2 && y == h / 2)
            return Color{255, 255, 254};  // near-white is inside
        return Color{0, 0, 0};
    });
    // Control rectangles of the placements, to draw them on the sheets.
    std::vector<Rect> boxes;
    for (const auto& c : TestControls()) {
        int x = 0, y = 0, cw = 0, ch = 0;
        const char* comma = std::strchr(c.value, ',');
        if (comma != nullptr && std::sscanf(comma + 1, "%d,%d,%d,%d", &x, &y, &cw, &ch) == 4)
            boxes.push_back(Rect{x, y, x + cw, y + ch});
    }
    auto sheet = [&](const char* name, Color c) {
        const Color inner = ControlColor(c);
        ok &= WriteBmp24(folder + name, w, h, [&](int x, int y) {
            // A light frame marks the window edge and each control's edge.
            if (x < 2 || y < 2 || x >= w - 2 || y >= h - 2)
                return Color{200, 200, 200};
            for (const Rect& b : boxes) {
                if (x < b.left || x >= b.right || y < b.top || y >= b.bottom)
                    continue;
                if (x == b.left || y == b.top || x == b.right - 1 || y == b.bottom - 1)
                    return Color{220, 220, 220};
                return inner;
            }
            return c;
        });
    };
    sheet("gallery_normal.bmp", kNormalColor);
    sheet("gallery_over.bmp", kOverColor);
    sheet("gallery_down.bmp", kDownColor);
    sheet("gallery_disable.bmp", kDisableColor);
    ok &= WriteBmp24(folder + "slider.bmp", 10, 16, [](int x, int y) {
        if (x == 0 || x == 9 || y == 0 || y == 15)
            return Color{255, 0, 255};
        return Color{230, 230, 230};
    });
    ok &= WriteBmp24(folder + "rgn_mask.bmp", 60, 40, [](int x, int y) {
        const int dx = x - 30, dy = y - 20;
        return dx * dx * 400 + dy * dy * 900 <= 360000 ? Color{0, 0, 0} : Color{255, 255, 255};
    });

    std::string ini =
        "[SCREEN]\r\nMask=gallery_mask.bmp\r\nNormal=gallery_normal.bmp\r\n"
        "Over=gallery_over.bmp\r\nDown=gallery_down.bmp\r\n"
        "Disable=gallery_disable.bmp\r\n[BUTTONPOS]\r\n";
    for (const auto& c : TestControls()) ini += std::string(c.key) + "=" + c.value + "\r\n";
    std::ofstream file(folder + "gallery.ini", std::ios::binary | std::ios::trunc);
    file << ini;
    return ok && static_cast<bool>(file);
}

}  // namespace gallery
